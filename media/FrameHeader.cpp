#include "media/FrameHeader.h"

namespace media {

namespace {

constexpr int kMpeg1Bitrates[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, -1};
constexpr int kMpeg2Bitrates[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, -1};
constexpr int kMpeg1Rates[4] = {44100, 48000, 32000, -1};

}  // namespace

std::optional<FrameHeader> FrameHeader::Parse(const std::uint8_t* bytes) noexcept {
    if (bytes[0] != 0xFF || (bytes[1] & 0xE0) != 0xE0) return std::nullopt;
    int versionBits = (bytes[1] >> 3) & 3;
    int layerBits = (bytes[1] >> 1) & 3;
    int bitrateIndex = bytes[2] >> 4;
    int rateIndex = (bytes[2] >> 2) & 3;
    int emphasis = bytes[3] & 3;
    if (versionBits == 1 || layerBits != 1 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3 ||
        emphasis == 2)
        return std::nullopt;

    FrameHeader header;
    header.version = versionBits == 3   ? MpegVersion::Mpeg1
                     : versionBits == 2 ? MpegVersion::Mpeg2
                                        : MpegVersion::Mpeg25;
    bool mpeg1 = header.version == MpegVersion::Mpeg1;
    header.bitrate = (mpeg1 ? kMpeg1Bitrates : kMpeg2Bitrates)[bitrateIndex] * 1000;
    int divisor = mpeg1 ? 1 : header.version == MpegVersion::Mpeg2 ? 2 : 4;
    header.sampleRate = kMpeg1Rates[rateIndex] / divisor;
    header.hasCrc = (bytes[1] & 1) == 0;
    header.padded = (bytes[2] & 2) != 0;
    header.channels = (bytes[3] >> 6) == 3 ? 1 : 2;
    int coefficient = mpeg1 ? 144 : 72;
    header.frameSize = coefficient * header.bitrate / header.sampleRate + (header.padded ? 1 : 0);
    return header;
}

int FrameHeader::SideInfoSize() const noexcept {
    if (version == MpegVersion::Mpeg1) return channels == 1 ? 17 : 32;
    return channels == 1 ? 9 : 17;
}

int FrameHeader::MainDataBegin(const std::uint8_t* frame) const noexcept {
    const std::uint8_t* side = frame + kSize + (hasCrc ? 2 : 0);
    if (version == MpegVersion::Mpeg1) return (side[0] << 1) | (side[1] >> 7);
    return side[0];
}

std::optional<std::array<std::uint8_t, FrameHeader::kSize>> FrameHeader::ForMainData(const std::uint8_t* model,
                                                                                     int mainDataBytes) noexcept {
    std::array<std::uint8_t, kSize> bytes{model[0], static_cast<std::uint8_t>(model[1] | 1),
                                          static_cast<std::uint8_t>(model[2] & ~2), model[3]};
    for (int index = model[2] >> 4; index < 15; ++index) {
        bytes[2] = static_cast<std::uint8_t>((bytes[2] & 0x0F) | (index << 4));
        auto header = Parse(bytes.data());
        if (header && header->MainDataSize() >= mainDataBytes) return bytes;
    }
    return std::nullopt;
}

}  // namespace media
