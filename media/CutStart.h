#pragma once
// The start of a copy of a source's frames that begins somewhere in the middle:
// the first frame's audio begins in main data of the frames before it (the bit
// reservoir), which the copy does not hold. The exact cut and the seam writer
// both begin their copies so.
#include <cstdint>
#include <optional>
#include <vector>

#include "media/FrameHeader.h"
#include "media/MediaFile.h"
#include "media/Mp3Index.h"

namespace media {

struct SourceFrame {
    FrameHeader header;
    std::vector<std::uint8_t> bytes;
};

// The whole frame at `offset`, or nothing where none is there.
std::optional<SourceFrame> ReadSourceFrame(const MediaFile& file, std::uint64_t offset);

// The last `needed` bytes of main data before frame `first`, from the frames of
// its stream that lie unbroken before it; nothing when the file does not have them.
std::vector<std::uint8_t> Reservoir(const MediaFile& file, const Mp3Index& index, std::size_t first, int needed);

// The frames written ahead of those copied as they are, for a copy of frames
// `first` to `last` (which ends at `end` in the file): a silent frame that
// carries the main data the first frame reads from before it, then frames up to
// where no frame can reach before the copy any more, those that would read main
// data the file does not hold made silent.
struct CutStart {
    std::vector<std::uint8_t> head;
    bool silentFrame = false;  // whether the head begins with that silent frame
    std::size_t copied = 0;    // the first frame copied as it is
};

// Nothing where the frames are damaged or one of them is protected and would have to be silenced.
std::optional<CutStart> PlanCutStart(const MediaFile& source, const Mp3Index& index, std::size_t first,
                                     std::size_t last, std::uint64_t end);

}  // namespace media
