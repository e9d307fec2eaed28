#pragma once
// Fades and a change of level made without decoding: each granule's global gain
// moves by whole steps of 1.5 dB. A plan says by how much for every granule of a
// selection; applying it rewrites the frames' gain fields (and the checksum of a
// protected frame) and nothing else.
#include <cstdint>
#include <limits>
#include <memory>
#include <span>
#include <string>

#include "media/ExactCut.h"
#include "media/FrameHeader.h"
#include "media/LevelChange.h"
#include "media/Mp3Index.h"

namespace media {

class Waveform;
struct Peak;

class GainPlan {
public:
    // The change of a granule that is to be as quiet as a gain can make it.
    static constexpr int kSilent = std::numeric_limits<int>::min();
    // A fade's curve below this gives a granule the lowest gain there is.
    static constexpr double kSilenceDb = -90;

    // For the selection `range` (samples as the reader counts them) at `rate` samples a second.
    GainPlan(const LevelChange& change, SampleRange range, int rate) noexcept;

    const LevelChange& Change() const noexcept { return change_; }
    SampleRange Range() const noexcept { return range_; }

    // The change in steps of a granule whose 576 samples start at `start`
    // (negative within the encoder's delay): the fades' curve, linear in
    // amplitude, at its highest among the samples the granule is heard in (from
    // 529 before its start to 1,135 after) and rounded to the nearest step, plus
    // the level; kSilent where the curve is below kSilenceDb. Outside a fade the
    // curve is silence on its far side and full on the other. So no sample is
    // made quieter than the curve asks, and the audio is back at its level where
    // a fade ends, even a fade shorter than a granule.
    int ChangeOfGranule(std::int64_t start) const noexcept;

    // The fades' curve at a sample, 0 to 1 in amplitude.
    double Curve(double sample) const noexcept;

    // Applies the plan to the whole frames laid end to end in `frames` (bytes
    // after the last whole one are left alone), of the stream `format`, the first
    // of which starts at sample `firstSample` (the reader's count less the
    // encoder's delay, negative within it).
    GainReport Apply(std::span<std::uint8_t> frames, const FrameHeader& format, std::int64_t firstSample) const;

private:
    LevelChange change_;
    SampleRange range_;
    double fadeInSamples_;
    double fadeOutSamples_;
    double peak_;  // a sample where the curve is at its highest
};

// What applying `plan` to the file `path` that `index` describes would report,
// without writing anything; throws MediaError where the file cannot be read.
GainReport TryGainPlan(const std::wstring& path, const Mp3Index& index, const GainPlan& plan);

// The selection's lowest and highest decoded sample: the waveform's stored peaks
// where they are ready, the rest decoded. Empty for an empty selection.
Peak LoudestSample(Waveform& waveform, SampleRange range);

// The largest change in whole steps that keeps a selection of this peak at or
// below full scale (32767 above zero, -32768 below); 0 for silence.
int NormalizingSteps(Peak peak) noexcept;

// By how many dB a change of `steps` would take a selection of this peak over
// full scale; 0 or less where it would not.
double ClippingDb(Peak peak, int steps) noexcept;

}  // namespace media
