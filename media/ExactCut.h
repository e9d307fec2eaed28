#pragma once
// Makes a stream copy of a selection hold exactly the selected samples. A
// stream copy starts and ends on whole frames and leaves out the bit reservoir
// that its first frame reads from the frames before it. This rewrites the copy's
// audio from the source's own frames: from the frame whose second granule comes
// before the selection (after one silent frame that carries its reservoir) to
// the frame holding the selection's last sample, under an information frame
// whose LAME tag tells gapless players the delay and padding to drop. The tags
// the copy begins and ends with stay as they are.
#include <cstdint>
#include <optional>
#include <string>

namespace media {

struct Mp3Index;

// Samples of the reader's time line (0 is the first sample of the audio itself).
struct SampleRange {
    std::uint64_t first = 0;
    std::uint64_t end = 0;  // one past the last
};

// The samples of a selection given in seconds, at `rate` samples a second:
// each time to its nearest sample, halves to even.
SampleRange SelectionSamples(double start, double length, int rate) noexcept;

// Rewrites `copy`, a frame-snapped stream copy of a selection of `source`, so
// that its audio is exactly that selection (its end clamped to the end of the
// audio). Returns the seconds the copy then plays for, or nothing, with `copy`
// left as it was, when the source cannot be cut exactly: no frame index, frames
// damaged or missing in the range, or no sample of the source selected.
// `sourceIndex`, an index made of `source` earlier (a player's), spares reading
// the whole file again while the file keeps its size.
std::optional<double> MakeCutExact(const std::wstring& source, const std::wstring& copy, double start, double length,
                                   const Mp3Index* sourceIndex = nullptr) noexcept;

}  // namespace media
