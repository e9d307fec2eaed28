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

// How much is read at a time; the first frame is looked for within the first block.
constexpr std::size_t kBlockLength = 256 * 1024;
constexpr std::size_t kId3HeaderSize = 10;

struct FrameHeader {
    std::size_t length = 0;
    std::size_t sideInfo = 0;  // bytes of layer III side information after the header
    int samples = 0;
    int sampleRate = 0;
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
    header.sampleRate = sampleRate;
    header.samples = layer == 1 ? 384 : (layer == 3 && !version1) ? 576 : 1152;
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

// The stream's frame count, where its information frame gives one.
std::optional<std::uint32_t> CountedFrames(const std::uint8_t* frame, const FrameHeader& header) {
    auto number = [&](std::size_t at) -> std::optional<std::uint32_t> {
        if (at + 4 > header.length) return std::nullopt;
        return (std::uint32_t{frame[at]} << 24) | (std::uint32_t{frame[at + 1]} << 16) |
               (std::uint32_t{frame[at + 2]} << 8) | frame[at + 3];
    };
    const std::size_t xing = 4 + header.sideInfo;
    if (xing + 8 <= header.length &&
        (std::memcmp(frame + xing, "Xing", 4) == 0 || std::memcmp(frame + xing, "Info", 4) == 0)) {
        std::optional<std::uint32_t> flags = number(xing + 4);
        if (flags && (*flags & 1)) return number(xing + 8);
        return std::nullopt;
    }
    if (header.length >= 50 && std::memcmp(frame + 36, "VBRI", 4) == 0) return number(36 + 14);
    return std::nullopt;
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

// The first frame that the next one follows (or the data ends after): a
// chance pattern in other data is rarely followed by a second frame.
std::optional<FrameHeader> FirstFrame(const std::vector<std::uint8_t>& bytes, std::size_t& at) {
    for (at = 0; at + 4 <= bytes.size(); ++at) {
        std::optional<FrameHeader> header = ParseHeader(&bytes[at]);
        if (!header || at + header->length > bytes.size()) continue;
        const std::size_t next = at + header->length;
        if (next + 4 > bytes.size() || ParseHeader(&bytes[next]) || std::memcmp(&bytes[next], "TAG", 3) == 0 ||
            std::memcmp(&bytes[next], "APET", 4) == 0)
            return header;
    }
    return std::nullopt;
}

}  // namespace

double AudioSeconds(const std::wstring& path) {
    forms::KernelHandle file(::CreateFileW(ExtendedLengthPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                           OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return 0;
    std::uint64_t offset = AudioStart(file.Get());
    std::vector<std::uint8_t> bytes = ReadAt(file.Get(), offset, kBlockLength);
    std::size_t at = 0;
    std::optional<FrameHeader> header = FirstFrame(bytes, at);
    if (!header) return 0;
    const double frameSeconds = static_cast<double>(header->samples) / header->sampleRate;
    if (std::optional<std::uint32_t> frames = CountedFrames(&bytes[at], *header)) return *frames * frameSeconds;
    // No count given: walk the frames to the end of the file.
    double seconds = 0;
    for (;;) {
        while (at + 4 <= bytes.size()) {
            std::optional<FrameHeader> frame = ParseHeader(&bytes[at]);
            if (!frame || at + frame->length > bytes.size()) break;
            if (!IsInformationFrame(&bytes[at], *frame))
                seconds += static_cast<double>(frame->samples) / frame->sampleRate;
            at += frame->length;
        }
        if (bytes.size() < kBlockLength) return seconds;
        offset += at;
        bytes = ReadAt(file.Get(), offset, kBlockLength);
        at = 0;
        if (bytes.size() < 4 || !ParseHeader(bytes.data())) return seconds;
    }
}

}  // namespace app
