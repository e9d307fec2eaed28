#pragma once
// The per-sample half of a loudness measurement as ITU-R BS.1770-4 makes it: the
// K-weighting filter at the stream's own sample rate and the true peak by 4x
// oversampling, summed up per stored block of samples. The gating over 400 ms
// blocks is done later from those sums (Loudness.h), for any stretch.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/Loudness.h"

namespace media {

class LoudnessMeter {
public:
    LoudnessMeter(int sampleRate, int channels, std::size_t blockSamples);

    // Samples the filters need before a stretch to stand as after one pass from the
    // file's start (their memory has then died away below a double's precision).
    std::size_t LeadSamples() const noexcept { return lead_; }

    // Forgets all samples seen: the next ones are taken as the stream's start.
    void Reset() noexcept;
    // Feeds `count` samples (interleaved by channel) that lie before the next stretch
    // measured, so that the filters stand as they would there.
    void Feed(const std::int16_t* pcm, std::size_t count);
    // Measures `count` samples (interleaved by channel) that start a stored block, into
    // one LoudnessBlock per block begun.
    void Measure(const std::int16_t* pcm, std::size_t count, LoudnessBlock* blocks);

private:
    static constexpr std::size_t kTaps = 12;    // of each oversampling phase
    static constexpr std::size_t kPhases = 4;   // the true peak's oversampling
    static constexpr std::size_t kHistory = kTaps - 1;
    static constexpr std::size_t kHalf = kTaps / 2;
    static constexpr std::size_t kStretch = 16;  // values interpolated at once

    struct Biquad {
        double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    };
    struct ChannelState {
        // The last two inputs and outputs of each biquad (the high pass's inputs are the
        // shelf's outputs).
        double x1 = 0, x2 = 0, y1 = 0, y2 = 0, z1 = 0, z2 = 0;
        std::array<float, kHistory> history{};  // the last samples, for the oversampling
    };

    // Runs the samples through the filters: the K-weighted squares summed per block
    // and the largest oversampled magnitude per block, where asked.
    void Run(const std::int16_t* pcm, std::size_t count, double* energies, float* peaks);
    template <std::size_t Channels>
    void Weigh(const std::int16_t* pcm, std::size_t count, double* energies, std::size_t first = 0);
    void Oversample(const float* history, std::size_t count, float* peaks) const;

    std::size_t channels_;
    std::size_t blockSamples_;
    std::size_t lead_;
    Biquad stages_[2];
    // The interpolation's phases 1 to 3 (phase 0 is the sample itself) folded on their
    // symmetry: phase 2 is its own mirror and phase 3 phase 1's, so each tap k below
    // weighs the k-th oldest and k-th newest sample together. Half the sum and half the
    // difference of phases 1 and 3, whose larger magnitude is the sum of theirs.
    float outerSum_[kHalf], outerDifference_[kHalf];
    float middle_[kHalf];  // phase 2
    float tapSum_ = 0;  // the largest sum of one phase's taps' magnitudes
    std::vector<ChannelState> state_;
    std::vector<float> scratch_;
    std::vector<double> energies_;
    std::vector<float> peaks_;
};

}  // namespace media
