#include "media/CutStart.h"

#include <cstring>

namespace media {

namespace {

// The furthest back a frame's main data can begin (MPEG-1; MPEG-2 reaches half as far).
constexpr std::uint64_t kMaxMainDataBegin = 511;

}  // namespace

std::optional<SourceFrame> ReadSourceFrame(const MediaFile& file, std::uint64_t offset) {
    std::uint8_t start[FrameHeader::kSize];
    if (file.ReadAt(offset, start, sizeof start) < sizeof start) return std::nullopt;
    auto header = FrameHeader::Parse(start);
    if (!header) return std::nullopt;
    SourceFrame frame{*header, std::vector<std::uint8_t>(static_cast<std::size_t>(header->frameSize))};
    if (file.ReadAt(offset, frame.bytes.data(), frame.bytes.size()) < frame.bytes.size()) return std::nullopt;
    return frame;
}

std::vector<std::uint8_t> Reservoir(const MediaFile& file, const Mp3Index& index, std::size_t first, int needed) {
    std::vector<std::uint8_t> bytes;
    const int channels = index.ChannelsOf(first);
    for (std::size_t frame = first; frame > 0 && static_cast<int>(bytes.size()) < needed; --frame) {
        auto before = ReadSourceFrame(file, index.frameOffsets[frame - 1]);
        if (!before || index.frameOffsets[frame - 1] + before->header.frameSize != index.frameOffsets[frame] ||
            before->header.channels != channels)
            break;
        bytes.insert(bytes.begin(), before->bytes.begin() + before->header.MainDataOffset(), before->bytes.end());
    }
    if (static_cast<int>(bytes.size()) < needed) return {};
    bytes.erase(bytes.begin(), bytes.end() - needed);
    return bytes;
}

std::optional<CutStart> PlanCutStart(const MediaFile& source, const Mp3Index& index, std::size_t first,
                                     std::size_t last, std::uint64_t end) {
    const auto& offsets = index.frameOffsets;
    auto opening = ReadSourceFrame(source, offsets[first]);
    if (!opening) return std::nullopt;
    CutStart start;
    // Main data before the next frame's own that holds what the source has there.
    std::uint64_t genuine = 0;
    const int needed = opening->header.MainDataBegin(opening->bytes.data());
    const std::vector<std::uint8_t> reservoir =
        needed > 0 ? Reservoir(source, index, first, needed) : std::vector<std::uint8_t>{};
    if (!reservoir.empty()) {
        auto header = FrameHeader::ForMainData(opening->bytes.data(), needed);
        if (!header) return std::nullopt;
        start.head.resize(static_cast<std::size_t>(FrameHeader::Parse(header->data())->frameSize));
        std::memcpy(start.head.data(), header->data(), header->size());
        std::memcpy(start.head.data() + start.head.size() - reservoir.size(), reservoir.data(), reservoir.size());
        genuine = reservoir.size();
        start.silentFrame = true;
    }
    start.copied = first;
    for (; start.copied <= last && genuine < kMaxMainDataBegin; ++start.copied) {
        auto frame = ReadSourceFrame(source, offsets[start.copied]);
        if (!frame || !frame->header.SameStreamAs(opening->header)) return std::nullopt;
        const std::uint64_t next = offsets[start.copied] + frame->header.frameSize;
        if (next != (start.copied < last ? offsets[start.copied + 1] : end)) return std::nullopt;
        if (static_cast<std::uint64_t>(frame->header.MainDataBegin(frame->bytes.data())) > genuine) {
            // Its audio begins in main data this file does not hold: silence beats noise.
            // (The checksum of a protected frame would no longer hold.)
            if (frame->header.hasCrc) return std::nullopt;
            std::memset(frame->bytes.data() + FrameHeader::kSize, 0,
                        static_cast<std::size_t>(frame->header.SideInfoSize()));
        }
        start.head.insert(start.head.end(), frame->bytes.begin(), frame->bytes.end());
        genuine += static_cast<std::uint64_t>(frame->header.MainDataSize());
    }
    return start;
}

}  // namespace media
