#include "media/InfoFrame.h"

#include <algorithm>
#include <cstring>

#include "media/LameCrc16.h"

namespace media {

namespace {

// The fields after the "Xing" or "Info" signature: frames, bytes, seek table, quality.
constexpr std::uint32_t kAllFields = 0x0F;
// Places in the LAME tag.
constexpr int kCounts = 21;
constexpr int kMusicLength = 28;
constexpr int kMusicCrc = 32;
constexpr int kTagCrc = 34;

void PutBigEndian(std::uint8_t* at, std::uint32_t value, int bytes) noexcept {
    for (int i = bytes - 1; i >= 0; --i, value >>= 8) at[i] = static_cast<std::uint8_t>(value);
}

}  // namespace

std::vector<std::uint8_t> InfoFrame::Bytes() const {
    auto layout = FrameHeader::Parse(header.data());
    if (!layout) return {};
    std::vector<std::uint8_t> frame(static_cast<std::size_t>(layout->frameSize), 0);
    std::memcpy(frame.data(), header.data(), header.size());
    std::uint8_t* xing = frame.data() + layout->MainDataOffset();
    std::memcpy(xing, constantBitrate ? "Info" : "Xing", 4);
    PutBigEndian(xing + 4, kAllFields, 4);
    PutBigEndian(xing + 8, frames, 4);
    PutBigEndian(xing + 12, bytes, 4);
    std::memcpy(xing + 16, seekTable.data(), seekTable.size());
    // The quality field (xing + 116) stays 0: unknown.
    std::uint8_t* lame = xing + 120;
    std::memcpy(lame, lameTag.data(), lameTag.size());
    PutBigEndian(lame + kCounts, (static_cast<std::uint32_t>(delay) << 12) | static_cast<std::uint32_t>(padding), 3);
    PutBigEndian(lame + kMusicLength, bytes, 4);
    PutBigEndian(lame + kMusicCrc, musicCrc, 2);
    const auto covered = static_cast<std::size_t>(lame + kTagCrc - frame.data());
    PutBigEndian(lame + kTagCrc, LameCrc16(frame.data(), covered), 2);
    return frame;
}

std::array<std::uint8_t, 100> InfoFrame::SeekTable(const std::vector<std::uint32_t>& frameSizes,
                                                   std::uint32_t infoSize) {
    std::uint64_t total = infoSize;
    for (std::uint32_t size : frameSizes) total += size;
    std::array<std::uint8_t, 100> table{};
    std::uint64_t position = infoSize;
    std::size_t frame = 0;
    for (std::size_t entry = 0; entry < table.size(); ++entry) {
        const std::size_t target = entry * frameSizes.size() / table.size();
        for (; frame < target; ++frame) position += frameSizes[frame];
        table[entry] = static_cast<std::uint8_t>(std::min<std::uint64_t>(255, position * 256 / total));
    }
    return table;
}

}  // namespace media
