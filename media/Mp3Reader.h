#pragma once
// Reads an MP3 file once from start to end and indexes its audio frames: ID3v2
// tags at the start (and between frames) and ID3v1/APE tags at the end are
// skipped, an information frame is read and left out, and damaged or foreign
// data is skipped up to the next frame that the stream confirms. A file made of
// files joined end to end reads as one: the tags and information frames where a
// part starts are skipped, a part with another channel count is taken, and parts
// at another sample rate than the first are left out. All reading
// goes through one buffer, and the search for the first frame is bounded, so a
// file without audio where it must begin is answered at once whatever its size.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "media/FrameHeader.h"
#include "media/Id3v2Tag.h"
#include "media/MediaFile.h"
#include "media/Mp3Index.h"

namespace media {

class Mp3Reader {
public:
    explicit Mp3Reader(const MediaFile& file);
    Mp3Reader(const Mp3Reader&) = delete;
    Mp3Reader& operator=(const Mp3Reader&) = delete;

    // Throws MediaError when the file holds no playable audio or cannot be read.
    Mp3Index Read();

private:
    // The bytes in memory from `pos` on, at least `count` (up to the buffer's
    // size) of them unless the file ends first.
    std::span<const std::uint8_t> At(std::uint64_t pos, std::size_t count);
    std::uint64_t SkipLeadingTags(std::wstring& title);
    std::wstring TitleOf(const Id3v2Tag& tag, std::uint64_t pos);
    std::uint64_t LeadingTagEnd(const Id3v2Tag& tag, std::uint64_t pos);
    std::uint64_t SkipPadding(std::uint64_t pos);
    bool AudioOrTagAt(std::uint64_t pos);
    std::optional<std::uint64_t> TagBetweenFramesEnd(std::uint64_t pos);
    void IndexFrames(std::uint64_t pos, Mp3Index& index);
    bool Followed(const FrameHeader& header, std::uint32_t word, std::uint64_t pos, int hops);
    bool Continued(const FrameHeader& header, std::uint32_t word, std::uint64_t pos);
    std::uint64_t NextSync(std::uint64_t pos, std::uint64_t end);

    const MediaFile& file_;
    std::uint64_t limit_ = 0;
    std::vector<std::uint8_t> buffer_;
    std::uint64_t bufferStart_ = 0;
    std::size_t bufferLength_ = 0;
};

// The index made earlier of `file` while the file is as it was then, otherwise a new
// reading of it: a tag editor rewrites a file in place, often to the same size, and
// moves its frames. Throws as Read does.
std::shared_ptr<const Mp3Index> CurrentIndex(const MediaFile& file, std::shared_ptr<const Mp3Index> earlier);

}  // namespace media
