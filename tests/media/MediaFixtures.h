#pragma once
// The MP3 files that tests/fixtures/media.sh makes, and scratch files made from them.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/Mp3Index.h"
#include "support/BadMp3.h"

namespace media_test {

// One file of every kind of stream: CBR and VBR, with and without an information
// frame, MPEG-1, 2 and 2.5, stereo and mono, and two files joined end to end.
inline constexpr const wchar_t* kStreams[] = {L"cbr128_info.mp3", L"cbr128_noinfo.mp3",  L"vbr_xing.mp3",
                                              L"vbr_noxing.mp3",  L"cbr192_48k.mp3",     L"mpeg2_22k_mono.mp3",
                                              L"mpeg2_8kbps.mp3", L"mpeg25_8k_mono.mp3", L"joined.mp3"};

// <folder of the test program>\..\fixtures\media\<name>
std::wstring Fixture(const std::wstring& name);

inline std::vector<std::uint8_t> ReadBytes(const std::wstring& path) { return testing_support::ReadFileBytes(path); }

// What the engine's reader finds in a file.
media::Mp3Index ReadIndex(const std::wstring& path);
// The same, shared as a recording and the player hold it, of a fixture by name.
inline std::shared_ptr<const media::Mp3Index> SharedIndex(const std::wstring& name) {
    return std::make_shared<const media::Mp3Index>(ReadIndex(Fixture(name)));
}

// Samples [first, first + count) as a straight decode from the start gives them
// (a seek primes the codec with fewer frames, which may change the last bits).
std::vector<std::int16_t> Samples(const std::wstring& path, std::uint64_t first, std::uint64_t count);

// A file in a fresh folder of its own under the temporary folder, removed with the object.
class ScratchFile {
public:
    ScratchFile(const std::wstring& name, const std::vector<std::uint8_t>& bytes);
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    ~ScratchFile();
    const std::wstring& Path() const { return path_; }

private:
    std::wstring folder_;
    std::wstring path_;
};

}  // namespace media_test
