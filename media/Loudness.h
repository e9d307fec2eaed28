#pragma once
// Loudness as broadcasters measure it (ITU-R BS.1770-4, EBU R128 and Tech 3342):
// the integrated loudness over 400 ms blocks overlapping by 75 %, gated absolutely
// at -70 LUFS and relatively at -10 LU; the loudness range over 3 s blocks; the
// peaks. Worked out for any stretch from sums kept per stored block of samples.
#include <cstddef>
#include <cstdint>

namespace media {

// One stored block of samples as the loudness meter sums it up.
struct LoudnessBlock {
    float energy = 0;    // the K-weighted squares of every channel, full scale 1
    float truePeak = 0;  // the largest magnitude of the 4x oversampled samples, full scale 1
};

struct Loudness {
    // False where the stretch is shorter than one 400 ms block or too quiet to pass the
    // absolute gate: then no figure below stands for anything.
    bool measured = false;
    double integrated = 0;  // LUFS
    double range = 0;       // LU
    double truePeak = 0;    // dBTP
    double samplePeak = 0;  // dBFS
};

// The loudness of samples [first, end) of a stream of `length` samples at
// `sampleRate`, from `blocks` of `blockSamples` samples each (the last may be short),
// the first block at sample 0. Its 400 ms blocks start at `first`; a stored block
// part of which lies in a gating block counts by its share of samples.
Loudness LoudnessOf(const LoudnessBlock* blocks, std::uint64_t length, std::size_t blockSamples, int sampleRate,
                    std::uint64_t first, std::uint64_t end);

// -infinity for 0.
double LoudnessUnitsOf(double meanSquare) noexcept;

}  // namespace media
