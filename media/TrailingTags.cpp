#include "media/TrailingTags.h"

#include <cstring>

namespace media {

namespace {

constexpr std::uint64_t kId3v1Size = 128;
constexpr std::uint64_t kApeFooterSize = 32;

std::uint32_t LittleEndian(const std::uint8_t* b) noexcept {
    return std::uint32_t{b[0]} | (std::uint32_t{b[1]} << 8) | (std::uint32_t{b[2]} << 16) | (std::uint32_t{b[3]} << 24);
}

}  // namespace

std::uint64_t AudioEndBeforeTrailingTags(const MediaFile& file, std::uint64_t audioStart, std::uint64_t end) {
    if (end >= audioStart + kId3v1Size) {
        std::uint8_t tag[3];
        if (file.ReadAt(end - kId3v1Size, tag, sizeof tag) == sizeof tag && std::memcmp(tag, "TAG", 3) == 0)
            end -= kId3v1Size;
    }
    if (end >= audioStart + kApeFooterSize) {
        std::uint8_t footer[kApeFooterSize];
        if (file.ReadAt(end - kApeFooterSize, footer, sizeof footer) == sizeof footer &&
            std::memcmp(footer, "APETAGEX", 8) == 0) {
            // The size counts the items and the footer; a header, when flagged, comes on top.
            std::uint64_t size = LittleEndian(footer + 12);
            if (LittleEndian(footer + 20) & 0x80000000u) size += kApeFooterSize;
            if (size >= kApeFooterSize && size <= end - audioStart) end -= size;
        }
    }
    return end;
}

}  // namespace media
