#pragma once
// Where to split a recording into pieces: at the pauses found in its audio, or
// every so many minutes; each split point at a quiet spot. Both read the levels of
// a file's Waveform (waiting for it to finish) and decode only around the points.
#include <cstdint>
#include <vector>

#include "media/Waveform.h"

namespace media {

struct PauseSettings {
    double thresholdDb = -45;     // a pause is quieter than this, in dB below full scale,
    double minPauseSeconds = 1.0;  // for at least this long
    double minPieceSeconds = 5.0;  // and no piece it leaves is shorter than this
};

// A stretch of a file's samples [first, end) quiet enough and long enough to be a
// pause between two pieces, and the sample it splits the file at.
struct Pause {
    std::uint64_t first = 0;
    std::uint64_t end = 0;
    std::uint64_t split = 0;
};

// The pauses of the file that split it, in order. A pause is a run of the levels'
// blocks (Waveform::kBlockSamples each) in which every channel's RMS stays below
// the threshold, at least the minimum long; quiet before the first sound or after
// the last is no pause. Each splits at the quietest spot of its middle (the
// quiet-spot search, kQuietStretchSeconds). Where two pauses would leave a piece
// shorter than the minimum, the longer pause is kept. Waits for `levels` to finish.
std::vector<Pause> FindPauses(const Waveform& levels, const PauseSettings& settings);

// Split points every `everySeconds` from the file's start, each moved to the
// quietest spot within `reachSeconds` of its time (0 keeps the exact times); a last
// piece shorter than half the interval is joined to the one before it. Waits for
// `levels` to finish where it moves the points.
std::vector<std::uint64_t> SplitEvery(const Waveform& levels, double everySeconds, double reachSeconds);

}  // namespace media
