#include "media/LoudnessMeter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace media {

namespace {

constexpr double kFullScale = 32768;

// The largest magnitude of `count` values, kept in eight lanes so that the compiler
// vectorises it (a single running maximum is an order it must keep).
float Largest(const float* values, std::size_t count) {
    constexpr std::size_t kLanes = 8;
    float lanes[kLanes] = {};
    std::size_t i = 0;
    for (; i + kLanes <= count; i += kLanes)
        for (std::size_t j = 0; j < kLanes; ++j) lanes[j] = std::max(lanes[j], std::abs(values[i + j]));
    for (; i < count; ++i) lanes[0] = std::max(lanes[0], std::abs(values[i]));
    return *std::max_element(lanes, lanes + kLanes);
}

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
    double taps[kPhases][kTaps];
    for (std::size_t p = 1; p < kPhases; ++p) {
        double sum = 0;
        for (std::size_t k = 0; k < kTaps; ++k) {
            const double t = static_cast<double>(k) - (kHalfSpan - 1) - static_cast<double>(p) / kPhases;
            const double sinc = std::sin(std::numbers::pi * t) / (std::numbers::pi * t);
            const double window = 0.42 + 0.5 * std::cos(std::numbers::pi * t / kHalfSpan) +
                                  0.08 * std::cos(2 * std::numbers::pi * t / kHalfSpan);
            taps[p][k] = sinc * window;
            sum += taps[p][k];
        }
        double magnitudes = 0;
        for (std::size_t k = 0; k < kTaps; ++k) {
            taps[p][k] /= sum;
            magnitudes += std::abs(taps[p][k]);
        }
        tapSum_ = std::max(tapSum_, static_cast<float>(magnitudes * 1.001));  // and the floats' rounding
    }
    for (std::size_t k = 0; k < kHalf; ++k) {
        const std::size_t mirror = kTaps - 1 - k;
        outerSum_[k] = static_cast<float>((taps[1][k] + taps[3][k]) / 2);
        outerDifference_[k] = static_cast<float>((taps[1][k] - taps[3][k]) / 2);
        middle_[k] = static_cast<float>((taps[2][k] + taps[2][mirror]) / 2);
    }
}

void LoudnessMeter::Reset() noexcept { std::fill(state_.begin(), state_.end(), ChannelState{}); }

void LoudnessMeter::Feed(const std::int16_t* pcm, std::size_t count) { Run(pcm, count, nullptr, nullptr); }

void LoudnessMeter::Measure(const std::int16_t* pcm, std::size_t count, LoudnessBlock* blocks) {
    const std::size_t blockCount = (count + blockSamples_ - 1) / blockSamples_;
    energies_.assign(blockCount, 0);
    peaks_.assign(blockCount, 0);
    Run(pcm, count, energies_.data(), peaks_.data());
    for (std::size_t b = 0; b < blockCount; ++b) blocks[b] = {static_cast<float>(energies_[b]), peaks_[b]};
}

void LoudnessMeter::Run(const std::int16_t* pcm, std::size_t count, double* energies, float* peaks) {
    // Each channel's samples after its history, and room for a whole stretch past them.
    const std::size_t stride = kHistory + count + kStretch;
    scratch_.resize(channels_ * stride);
    for (std::size_t c = 0; c < channels_; ++c) {
        float* channel = scratch_.data() + c * stride;
        std::copy(state_[c].history.begin(), state_[c].history.end(), channel);
        std::fill(channel + kHistory + count, channel + stride, 0.0f);
    }
    // Both channels of a stereo stream in one loop, so that their filters' chains of
    // dependent steps run side by side.
    if (channels_ == 2)
        Weigh<2>(pcm, count, energies);
    else
        for (std::size_t c = 0; c < channels_; ++c) Weigh<1>(pcm + c, count, energies, c);
    for (std::size_t c = 0; c < channels_; ++c) {
        const float* samples = scratch_.data() + c * stride;
        if (peaks) Oversample(samples, count, peaks);
        std::copy(samples + count, samples + count + kHistory, state_[c].history.begin());
    }
}

// K-weights `Channels` channels from `first` on (of channels_ interleaved), summing the
// squares per block where asked, and keeps the samples for the oversampling. Each
// biquad in its direct form, so that an output waits on the last one through only a
// multiplication and a subtraction; each channel sums its own squares.
template <std::size_t Channels>
void LoudnessMeter::Weigh(const std::int16_t* pcm, std::size_t count, double* energies, std::size_t first) {
    const Biquad& shelf = stages_[0];
    const Biquad& pass = stages_[1];
    ChannelState filters[Channels];
    float* samples[Channels];
    for (std::size_t c = 0; c < Channels; ++c) {
        filters[c] = state_[first + c];
        samples[c] = scratch_.data() + (first + c) * (kHistory + count + kStretch) + kHistory;
    }
    for (std::size_t start = 0; start < count; start += blockSamples_) {
        const std::size_t end = std::min(count, start + blockSamples_);
        double energy[Channels] = {};
        for (std::size_t i = start; i < end; ++i) {
            for (std::size_t c = 0; c < Channels; ++c) {
                ChannelState& f = filters[c];
                const double x = pcm[i * channels_ + c] / kFullScale;
                samples[c][i] = static_cast<float>(x);
                const double y = (shelf.b0 * x + shelf.b1 * f.x1 + shelf.b2 * f.x2 - shelf.a2 * f.y2) - shelf.a1 * f.y1;
                const double z = (y + pass.b1 * f.y1 + f.y2 - pass.a2 * f.z2) - pass.a1 * f.z1;  // b0 = b2 = 1
                f.x2 = f.x1, f.x1 = x, f.y2 = f.y1, f.y1 = y, f.z2 = f.z1, f.z1 = z;
                energy[c] += z * z;
            }
        }
        if (energies)
            for (std::size_t c = 0; c < Channels; ++c) energies[start / blockSamples_] += energy[c];
    }
    for (std::size_t c = 0; c < Channels; ++c) {
        const std::array<float, kHistory> history = state_[first + c].history;
        state_[first + c] = filters[c];
        state_[first + c].history = history;
    }
}

// The largest magnitude of each block's samples and of the values between them.
// The values of a stretch of samples are bounded by its largest sample times the
// sum of a phase's taps' magnitudes, so stretches that cannot pass the block's
// largest sample are not interpolated. A stretch is always interpolated whole (the
// samples end in zeros) so that the loops have fixed lengths the compiler unrolls.
void LoudnessMeter::Oversample(const float* history, std::size_t count, float* peaks) const {
    const float* samples = history + kHistory;
    for (std::size_t start = 0; start < count; start += blockSamples_) {
        const std::size_t end = std::min(count, start + blockSamples_);
        float& peak = peaks[start / blockSamples_];
        peak = std::max(peak, Largest(samples + start, end - start));
        for (std::size_t from = start; from < end; from += kStretch) {
            const std::size_t n = std::min(kStretch, end - from);
            // Each value counts in the block of the newest sample it reads.
            const float* window = history + from;
            if (Largest(window, n + kHistory) * tapSum_ <= peak) continue;
            float sum[kStretch] = {}, difference[kStretch] = {}, middle[kStretch] = {};
            for (std::size_t k = 0; k < kHalf; ++k)
                for (std::size_t i = 0; i < kStretch; ++i) {
                    const float older = window[i + k], newer = window[i + kHistory - k];
                    sum[i] += outerSum_[k] * (older + newer);
                    difference[i] += outerDifference_[k] * (older - newer);
                    middle[i] += middle_[k] * (older + newer);
                }
            float values[kStretch];
            for (std::size_t i = 0; i < kStretch; ++i)
                values[i] = std::max(std::abs(sum[i]) + std::abs(difference[i]), std::abs(middle[i]));
            peak = std::max(peak, Largest(values, n));
        }
    }
}

}  // namespace media
