#pragma once
// Damaged and extreme MP3 files made from good ones, as the bad-input runs found
// them: damaged frame headers, ID3 tags between frames or with wrong sizes, zero
// padding, and huge sparse files that cost no disk.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadFileBytes(const std::wstring& path);

// An ID3v2 header; `size` is the body's size, written syncsafe or (`plain`) as a plain number.
Bytes Id3Header(std::uint32_t size, bool plain = false);

// Where the leading ID3 tag of an MP3 file ends, and where each frame after it
// starts (the information frame included), following the frames' own sizes.
// Worked out here from the formats' own tables rather than by the code under
// test, so that tests can hold that code's reading of a file against them.
std::size_t LeadingTagSize(const Bytes& mp3);
std::vector<std::size_t> FrameStarts(const Bytes& mp3);

// Every other frame header broken, from the first one on (the undamaged half stays playable).
Bytes EveryOtherHeaderDamaged(const Bytes& mp3);
// An empty ID3v2 header between every two frames.
Bytes TagBetweenEveryTwoFrames(const Bytes& mp3);
// An ID3v2 header whose size is `bodySize` put before frame `frame`.
Bytes BogusTagBefore(const Bytes& mp3, std::size_t frame, std::uint32_t bodySize);
// The audio (without its own tag) after a leading tag with a title and a picture
// of `pictureSize` noise bytes, whose header declares `declaredBodySize` (plain
// or syncsafe), followed by `padding` zero bytes.
Bytes AfterPictureTag(const Bytes& mp3, std::size_t pictureSize, std::uint32_t declaredBodySize, bool plain,
                      std::size_t padding = 0);
// The size a picture tag's body really has for a picture of `pictureSize` bytes.
std::uint32_t PictureTagBodySize(std::size_t pictureSize);
// An APEv2 footer, without a header, put after the audio: its size field claims
// the last `claimed` bytes of the file and the footer as the tag's.
Bytes WithApeFooterClaiming(const Bytes& mp3, std::uint32_t claimed);
// `count` bytes of noise; without 0xFF bytes (which could start a frame) where `noSync`.
Bytes Noise(std::size_t count, bool noSync = false);

// A file of `size` bytes that holds `head` at its start and `tail` at its end and
// zeros in between, stored sparse; removed with the object.
class SparseFile {
public:
    SparseFile(const std::wstring& name, const Bytes& head, std::uint64_t size, const Bytes& tail = {});
    SparseFile(const SparseFile&) = delete;
    SparseFile& operator=(const SparseFile&) = delete;
    ~SparseFile();
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
};

}  // namespace testing_support
