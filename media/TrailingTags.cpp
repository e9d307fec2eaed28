#include "media/TrailingTags.h"

#include <algorithm>
#include <cstring>

namespace media {

namespace {

constexpr std::uint64_t kId3v1Size = 128;
constexpr std::uint64_t kApeFooterSize = 32;

std::uint32_t LittleEndian(const std::uint8_t* b) noexcept {
    return std::uint32_t{b[0]} | (std::uint32_t{b[1]} << 8) | (std::uint32_t{b[2]} << 16) | (std::uint32_t{b[3]} << 24);
}

// Whether the `count` items of an APE tag fill exactly the bytes from `itemsAt` to
// its footer at `footerAt`: each a value size, flags, a key of printable ASCII
// ended by a zero byte, and the value.
bool ApeItemsFill(const MediaFile& file, std::uint64_t itemsAt, std::uint64_t footerAt, std::uint32_t count) {
    constexpr std::size_t kItemHead = 8;
    constexpr std::size_t kMaxKey = 255;
    std::uint64_t pos = itemsAt;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint8_t item[kItemHead + kMaxKey + 1];
        std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(sizeof item, footerAt - pos));
        if (wanted <= kItemHead || file.ReadAt(pos, item, wanted) < wanted) return false;
        std::size_t keyEnd = kItemHead;
        while (keyEnd < wanted && item[keyEnd] >= 0x20 && item[keyEnd] < 0x7F) ++keyEnd;
        if (keyEnd == kItemHead || keyEnd == wanted || item[keyEnd] != 0) return false;
        pos += keyEnd + 1;
        std::uint32_t valueSize = LittleEndian(item);
        if (valueSize > footerAt - pos) return false;
        pos += valueSize;
    }
    return pos == footerAt;
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
            const bool header = (LittleEndian(footer + 20) & 0x80000000u) != 0;
            if (header) size += kApeFooterSize;
            // A wrong size would take audio frames with it: the tag goes only where its items fill it.
            if (size >= kApeFooterSize && size <= end - audioStart &&
                ApeItemsFill(file, end - size + (header ? kApeFooterSize : 0), end - kApeFooterSize,
                             LittleEndian(footer + 16)))
                end -= size;
        }
    }
    return end;
}

}  // namespace media
