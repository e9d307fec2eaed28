#include "media/VbrHeader.h"

#include <cstring>

namespace media {

namespace {

constexpr int kVbriOffset = FrameHeader::kSize + 32;

std::uint32_t BigEndian32(const std::uint8_t* b) noexcept {
    return (std::uint32_t{b[0]} << 24) | (std::uint32_t{b[1]} << 16) | (std::uint32_t{b[2]} << 8) | b[3];
}

// Where the "Xing" or "Info" signature is, or -1: after the side information, and
// in a protected frame also where it would be without the checksum, as LAME puts it.
int XingOffset(const FrameHeader& header, const std::uint8_t* frame) noexcept {
    for (int pos : {header.MainDataOffset(), header.hasCrc ? header.MainDataOffset() - 2 : -1}) {
        if (pos < 0 || pos + 8 > header.frameSize) continue;
        if (std::memcmp(frame + pos, "Xing", 4) == 0 || std::memcmp(frame + pos, "Info", 4) == 0) return pos;
    }
    return -1;
}

bool XingMarked(const FrameHeader& header, const std::uint8_t* frame) noexcept {
    return XingOffset(header, frame) >= 0;
}

bool VbriMarked(const FrameHeader& header, const std::uint8_t* frame) noexcept {
    return kVbriOffset + 18 <= header.frameSize && std::memcmp(frame + kVbriOffset, "VBRI", 4) == 0;
}

std::optional<VbrHeader> ReadXing(const FrameHeader& header, const std::uint8_t* frame) noexcept {
    const int pos = XingOffset(header, frame);
    if (pos < 0) return std::nullopt;
    const std::uint8_t* xing = frame + pos;
    std::uint32_t flags = BigEndian32(xing + 4);
    VbrHeader result;
    int field = pos + 8;
    if (flags & 1) {
        if (field + 4 > header.frameSize) return result;
        result.frames = BigEndian32(frame + field);
        field += 4;
    }
    if (flags & 2) field += 4;    // byte count
    if (flags & 4) field += 100;  // seek table
    if (flags & 8) field += 4;    // quality
    // The LAME tag: a nine-byte encoder name, then at byte 21 two 12-bit counts.
    if (field + 24 <= header.frameSize) {
        const std::uint8_t* lame = frame + field;
        bool named = true;
        for (int i = 0; i < 4; ++i) named = named && lame[i] >= 0x20 && lame[i] < 0x7F;
        if (named) {
            result.lameTag = field;
            result.encoderDelay = (lame[21] << 4) | (lame[22] >> 4);
            result.encoderPadding = ((lame[22] & 0x0F) << 8) | lame[23];
        }
    }
    return result;
}

std::optional<VbrHeader> ReadVbri(const FrameHeader& header, const std::uint8_t* frame) noexcept {
    if (!VbriMarked(header, frame)) return std::nullopt;
    VbrHeader result;
    result.frames = BigEndian32(frame + kVbriOffset + 14);
    return result;
}

}  // namespace

std::optional<VbrHeader> VbrHeader::Read(const FrameHeader& header, const std::uint8_t* frame) noexcept {
    if (auto xing = ReadXing(header, frame)) return xing;
    return ReadVbri(header, frame);
}

bool VbrHeader::Marked(const FrameHeader& header, const std::uint8_t* frame) noexcept {
    return XingMarked(header, frame) || VbriMarked(header, frame);
}

}  // namespace media
