#include "media/LoudnessMeter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace media {

namespace {

constexpr double kFullScale = 32768;

}  // namespace

// The K-weighting's two stages (a high shelf and a high pass) come from their analogue
// prototypes by the bilinear transform at the stream's rate, as BS.1770 gives them for
// 48 kHz; the oversampling is a Blackman-windowed sinc, 12 taps a phase.
LoudnessMeter::LoudnessMeter(int sampleRate, int channels, std::size_t blockSamples)
    : channels_(static_cast<std::size_t>(channels)),
      blockSamples_(blockSamples),
      lead_(static_cast<std::size_t>(sampleRate) / 4),
      state_(static_cast<std::size_t>(channels)) {
    const double rate = sampleRate;
    {
        const double f0 = 1681.974450955533, gain = 3.999843853973347, q = 0.7071752369554196;
        const double k = std::tan(std::numbers::pi * f0 / rate);
        const double vh = std::pow(10.0, gain / 20), vb = std::pow(vh, 0.4996667741545416);
        const double a0 = 1 + k / q + k * k;
        stages_[0] = {(vh + vb * k / q + k * k) / a0, 2 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0,
                      2 * (k * k - 1) / a0, (1 - k / q + k * k) / a0};
    }
    {
        const double f0 = 38.13547087602444, q = 0.5003270373238773;
        const double k = std::tan(std::numbers::pi * f0 / rate);
        const double a0 = 1 + k / q + k * k;
        stages_[1] = {1, -2, 1, 2 * (k * k - 1) / a0, (1 - k / q + k * k) / a0};
    }
    // Phase p lies p/4 of a sample after the sixth-newest of the 12 samples it reads.
    constexpr double kHalfSpan = kTaps / 2;
    for (std::size_t p = 1; p < kPhases; ++p) {
        double sum = 0;
        double taps[kTaps];
        for (std::size_t k = 0; k < kTaps; ++k) {
            const double t = static_cast<double>(k) - (kHalfSpan - 1) - static_cast<double>(p) / kPhases;
            const double sinc = std::sin(std::numbers::pi * t) / (std::numbers::pi * t);
            const double window = 0.42 + 0.5 * std::cos(std::numbers::pi * t / kHalfSpan) +
                                  0.08 * std::cos(2 * std::numbers::pi * t / kHalfSpan);
            taps[k] = sinc * window;
            sum += taps[k];
        }
        for (std::size_t k = 0; k < kTaps; ++k) taps_[p - 1][k] = static_cast<float>(taps[k] / sum);
    }
}

void LoudnessMeter::Reset() noexcept { std::fill(state_.begin(), state_.end(), ChannelState{}); }

void LoudnessMeter::Feed(const std::int16_t* pcm, std::size_t count) {
    for (std::size_t c = 0; c < channels_; ++c) Run(pcm, count, c, nullptr, nullptr);
}

void LoudnessMeter::Measure(const std::int16_t* pcm, std::size_t count, LoudnessBlock* blocks) {
    const std::size_t blockCount = (count + blockSamples_ - 1) / blockSamples_;
    energies_.assign(blockCount, 0);
    peaks_.assign(blockCount, 0);
    for (std::size_t c = 0; c < channels_; ++c) Run(pcm, count, c, energies_.data(), peaks_.data());
    for (std::size_t b = 0; b < blockCount; ++b) blocks[b] = {static_cast<float>(energies_[b]), peaks_[b]};
}

void LoudnessMeter::Run(const std::int16_t* pcm, std::size_t count, std::size_t channel, double* energies,
                        float* peaks) {
    ChannelState& state = state_[channel];
    const Biquad& shelf = stages_[0];
    const Biquad& pass = stages_[1];
    constexpr std::size_t kHistory = kTaps - 1;
    scratch_.resize(kHistory + count);
    std::copy(state.history.begin(), state.history.end(), scratch_.begin());
    float* samples = scratch_.data() + kHistory;

    double s1 = state.s1[0], s2 = state.s2[0], t1 = state.s1[1], t2 = state.s2[1];
    for (std::size_t start = 0; start < count; start += blockSamples_) {
        const std::size_t end = std::min(count, start + blockSamples_);
        double energy = 0;
        for (std::size_t i = start; i < end; ++i) {
            const double x = pcm[i * channels_ + channel] / kFullScale;
            samples[i] = static_cast<float>(x);
            const double y = shelf.b0 * x + s1;
            s1 = shelf.b1 * x - shelf.a1 * y + s2;
            s2 = shelf.b2 * x - shelf.a2 * y;
            const double z = y + t1;  // the high pass's b0 is 1
            t1 = pass.b1 * y - pass.a1 * z + t2;
            t2 = y - pass.a2 * z;
            energy += z * z;
        }
        if (!energies) continue;
        energies[start / blockSamples_] += energy;

        // Each interpolated value counts in the block of the newest sample it reads.
        float peak = peaks[start / blockSamples_];
        for (std::size_t i = start; i < end; ++i) peak = std::max(peak, std::abs(samples[i]));
        const float* window = scratch_.data() + start;  // the oldest sample the first value reads
        float interpolated[512];
        for (std::size_t from = 0; from < end - start; from += std::size(interpolated)) {
            const std::size_t n = std::min(std::size(interpolated), end - start - from);
            for (std::size_t p = 0; p + 1 < kPhases; ++p) {
                std::fill_n(interpolated, n, 0.0f);
                for (std::size_t k = 0; k < kTaps; ++k) {
                    const float tap = taps_[p][k];
                    const float* in = window + from + k;
                    for (std::size_t i = 0; i < n; ++i) interpolated[i] += tap * in[i];
                }
                for (std::size_t i = 0; i < n; ++i) peak = std::max(peak, std::abs(interpolated[i]));
            }
        }
        peaks[start / blockSamples_] = peak;
    }
    state.s1[0] = s1;
    state.s2[0] = s2;
    state.s1[1] = t1;
    state.s2[1] = t2;
    std::copy(scratch_.end() - kHistory, scratch_.end(), state.history.begin());
}

}  // namespace media
