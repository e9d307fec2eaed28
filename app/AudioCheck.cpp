#include "app/AudioCheck.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "app/Files.h"
#include "forms/Handles.h"

namespace app {

namespace {

// How far past the tags a first frame is looked for.
constexpr std::size_t kSearchLength = 64 * 1024;
constexpr std::size_t kId3HeaderSize = 10;

struct FrameHeader {
    std::size_t length = 0;
    std::size_t sideInfo = 0;  // bytes of layer III side information after the header
};

// Kilobits per second by [version is 1][layer 1..3][index].
constexpr std::array<std::array<std::array<int, 16>, 3>, 2> kBitrates{{
    {{{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
      {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
      {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}}},
    {{{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
      {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
      {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0}}},
}};
constexpr std::array<int, 3> kSampleRates{44100, 48000, 32000};

std::optional<FrameHeader> ParseHeader(const std::uint8_t* b) {
    if (b[0] != 0xFF || (b[1] & 0xE0) != 0xE0) return std::nullopt;
    const int versionBits = (b[1] >> 3) & 3;  // 0: 2.5, 2: 2, 3: 1
    const int layerBits = (b[1] >> 1) & 3;    // 1: III, 2: II, 3: I
    const int bitrateIndex = b[2] >> 4;
    const int rateIndex = (b[2] >> 2) & 3;
    if (versionBits == 1 || layerBits == 0 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3)
        return std::nullopt;
    const bool version1 = versionBits == 3;
    const int layer = 4 - layerBits;
    const int bitrate = kBitrates[version1][layer - 1][bitrateIndex] * 1000;
    const int sampleRate = kSampleRates[rateIndex] >> (version1 ? 0 : versionBits == 2 ? 1 : 2);
    const int padding = (b[2] >> 1) & 1;
    const bool mono = (b[3] >> 6) == 3;
    FrameHeader header;
    if (layer == 1)
        header.length = static_cast<std::size_t>((12 * bitrate / sampleRate + padding) * 4);
    else if (layer == 3 && !version1)
        header.length = static_cast<std::size_t>(72 * bitrate / sampleRate + padding);
    else
        header.length = static_cast<std::size_t>(144 * bitrate / sampleRate + padding);
    if (layer == 3) header.sideInfo = version1 ? (mono ? 17 : 32) : (mono ? 9 : 17);
    return header;
}

// The encoder's first frame may carry only information about the stream.
bool IsInformationFrame(const std::uint8_t* frame, const FrameHeader& header) {
    auto holds = [&](std::size_t at, const char* tag) {
        return at + 4 <= header.length && std::memcmp(frame + at, tag, 4) == 0;
    };
    const std::size_t xing = 4 + header.sideInfo;
    return holds(xing, "Xing") || holds(xing, "Info") || holds(36, "VBRI");
}

std::vector<std::uint8_t> ReadAt(HANDLE file, std::uint64_t offset, std::size_t length) {
    std::vector<std::uint8_t> bytes(length);
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(offset);
    DWORD read = 0;
    if (!::SetFilePointerEx(file, position, nullptr, FILE_BEGIN) ||
        !::ReadFile(file, bytes.data(), static_cast<DWORD>(length), &read, nullptr))
        read = 0;
    bytes.resize(read);
    return bytes;
}

// Where the audio starts: after an ID3v2 tag, if there is one.
std::uint64_t AudioStart(HANDLE file) {
    std::vector<std::uint8_t> tag = ReadAt(file, 0, kId3HeaderSize);
    if (tag.size() < kId3HeaderSize || std::memcmp(tag.data(), "ID3", 3) != 0) return 0;
    std::uint64_t size = 0;
    for (int i = 6; i < 10; ++i) size = (size << 7) | (tag[static_cast<std::size_t>(i)] & 0x7F);
    const bool footer = (tag[5] & 0x10) != 0;
    return kId3HeaderSize + size + (footer ? kId3HeaderSize : 0);
}

}  // namespace

bool HoldsAudio(const std::wstring& path) {
    forms::KernelHandle file(::CreateFileW(ExtendedLengthPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                           OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return false;
    std::vector<std::uint8_t> bytes = ReadAt(file.Get(), AudioStart(file.Get()), kSearchLength);
    for (std::size_t at = 0; at + 4 <= bytes.size();) {
        std::optional<FrameHeader> header = ParseHeader(&bytes[at]);
        if (!header || at + header->length > bytes.size()) {
            ++at;
            continue;
        }
        // A frame counts when the next one follows right after it, or the data ends there.
        const std::size_t next = at + header->length;
        const bool followed = next + 4 > bytes.size() || ParseHeader(&bytes[next]).has_value() ||
                              std::memcmp(&bytes[next], "TAG", 3) == 0 || std::memcmp(&bytes[next], "APET", 4) == 0;
        if (!followed) {
            ++at;
            continue;
        }
        if (!IsInformationFrame(&bytes[at], *header)) return true;
        at = next;
    }
    return false;
}

}  // namespace app
