#pragma once
// Where a stream's samples lie among its frames. Samples are counted as the
// reader counts them: 0 is the first sample of the audio itself, which the
// encoder put `delay` samples after the start of the first frame. A frame codes
// SamplesPerFrame() samples in two granules (one for MPEG-2 and 2.5), and a
// decoder gives each sample out kDecoderDelay samples after the frame that codes it.
#include <cstdint>

#include "media/FrameHeader.h"

namespace media {

struct Mp3Index;

class FrameGrid {
public:
    static constexpr int kGranule = 576;

    FrameGrid(int samplesPerFrame, int delay) noexcept : samplesPerFrame_(samplesPerFrame), delay_(delay) {}
    static FrameGrid Of(const Mp3Index& index) noexcept;

    int SamplesPerFrame() const noexcept { return samplesPerFrame_; }
    int Delay() const noexcept { return delay_; }

    // Where `frame` starts (negative within the encoder's delay).
    std::int64_t FrameStart(std::uint64_t frame) const noexcept {
        return static_cast<std::int64_t>(frame) * samplesPerFrame_ - delay_;
    }
    // The frame that codes `sample`.
    std::uint64_t FrameOf(std::uint64_t sample) const noexcept { return (sample + Lead()) / Spf(); }
    // How far into its frame `sample` lies.
    std::uint64_t IntoFrame(std::uint64_t sample) const noexcept { return (sample + Lead()) % Spf(); }
    // The first frame a decode must start from for `sample` to come out as a
    // decode from the start gives it (reservoir aside): a frame's first granule
    // lacks the overlap of the frame before, so it lies wholly before the sample.
    std::uint64_t PrimingFrame(std::uint64_t sample) const noexcept {
        const std::uint64_t at = sample + Lead();
        return at >= kGranule ? (at - kGranule) / Spf() : 0;
    }
    // The frame whose decoding gives `sample` out.
    std::uint64_t DecodedIn(std::uint64_t sample) const noexcept {
        return (sample + Lead() + FrameHeader::kDecoderDelay) / Spf();
    }
    // Samples a decoder gives out from the start of `frame` before `sample` (at or after the frame's start).
    std::uint64_t OutputBefore(std::uint64_t frame, std::uint64_t sample) const noexcept {
        return sample + Lead() - frame * Spf() + FrameHeader::kDecoderDelay;
    }

private:
    std::uint64_t Spf() const noexcept { return static_cast<std::uint64_t>(samplesPerFrame_); }
    std::uint64_t Lead() const noexcept { return static_cast<std::uint64_t>(delay_); }

    int samplesPerFrame_;
    int delay_;
};

}  // namespace media
