#include "media/GainPlan.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "media/FrameGrid.h"
#include "media/GranuleGains.h"
#include "media/MediaFile.h"
#include "media/Waveform.h"

namespace media {

namespace {

constexpr std::int64_t kGranule = FrameGrid::kGranule;
// A granule's samples are heard, through the overlap of the transform and the
// synthesis filter, from the decoder's delay before its start to this after it.
constexpr std::int64_t kHeardBefore = FrameHeader::kDecoderDelay;
constexpr std::int64_t kHeardAfter = 2 * kGranule + 512 - kHeardBefore;
// Full scale on either side of zero.
constexpr double kHighestSample = 32767;
constexpr double kLowestSample = -32768;
// Frames read at a time when a plan is tried on a file.
constexpr std::size_t kFramesAtOnce = 1024;
// Samples decoded at a time for the loudest sample.
constexpr std::size_t kDecodeAtOnce = 1 << 16;

// How far the peak may be raised before one side reaches its full scale (infinite for silence).
double Headroom(Peak peak) noexcept {
    double headroom = HUGE_VAL;
    if (peak.Empty()) return headroom;
    if (peak.high > 0) headroom = kHighestSample / peak.high;
    if (peak.low < 0) headroom = std::min(headroom, kLowestSample / peak.low);
    return headroom;
}

}  // namespace

GainPlan::GainPlan(const LevelChange& change, SampleRange range, int rate) noexcept
    : change_(change),
      range_(range),
      fadeInSamples_(std::max(0.0, change.fadeIn) * rate),
      fadeOutSamples_(std::max(0.0, change.fadeOut) * rate),
      // Where the lines of the two fades meet: on the flat between them when they do not overlap.
      peak_(fadeInSamples_ + fadeOutSamples_ > 0
                ? (static_cast<double>(range.first) * fadeOutSamples_ + static_cast<double>(range.end) * fadeInSamples_) /
                      (fadeInSamples_ + fadeOutSamples_)
                : static_cast<double>(range.first)) {}

double GainPlan::Curve(double sample) const noexcept {
    double amplitude = 1;
    if (fadeInSamples_ > 0)
        amplitude = std::clamp((sample - static_cast<double>(range_.first)) / fadeInSamples_, 0.0, 1.0);
    if (fadeOutSamples_ > 0)
        amplitude = std::min(amplitude, std::clamp((static_cast<double>(range_.end) - sample) / fadeOutSamples_, 0.0, 1.0));
    return amplitude;
}

int GainPlan::ChangeOfGranule(std::int64_t start) const noexcept {
    // The curve rises to its peak and falls after it, so its highest among the
    // samples heard is at the heard sample nearest the peak.
    const auto heardFirst = static_cast<double>(start - kHeardBefore);
    const auto heardLast = static_cast<double>(start + kHeardAfter - 1);
    const double amplitude = Curve(std::clamp(peak_, heardFirst, heardLast));
    if (amplitude >= 1) return change_.steps;  // most granules: no fade reaches them
    if (amplitude <= 0) return kSilent;
    if (20 * std::log10(amplitude) < kSilenceDb) return kSilent;
    // A step is a factor of 2^(1/4), a little over 1.5 dB.
    return static_cast<int>(std::lround(4 * std::log2(amplitude))) + change_.steps;
}

GainReport GainPlan::Apply(std::span<std::uint8_t> frames, const FrameHeader& format, std::int64_t firstSample) const {
    GainReport report;
    std::int64_t sample = firstSample;
    for (std::size_t at = 0; at + FrameHeader::kSize <= frames.size();) {
        std::uint8_t* bytes = frames.data() + at;
        const auto header = FrameHeader::Parse(bytes);
        if (!header || at + static_cast<std::size_t>(header->frameSize) > frames.size()) break;
        at += static_cast<std::size_t>(header->frameSize);
        const std::int64_t frameStart = sample;
        sample += header->SamplesPerFrame();

        GranuleGains gains(bytes, *header);
        int changes[2] = {0, 0};
        bool changing = false;
        for (int granule = 0; granule < gains.Granules(); ++granule) {
            changes[granule] = ChangeOfGranule(frameStart + granule * kGranule);
            changing = changing || changes[granule] != 0;
        }
        if (!changing) continue;
        if (!header->SameStreamAs(format) || !gains.Sound()) {
            ++report.framesLeft;
            continue;
        }
        for (int granule = 0; granule < gains.Granules(); ++granule) {
            bool held = false;
            for (int channel = 0; channel < gains.Channels(); ++channel) {
                const int gain = gains.Gain(granule, channel);
                const int wanted = changes[granule] == kSilent ? GranuleGains::kLowest : gain + changes[granule];
                held = held || wanted > GranuleGains::kHighest;
                gains.SetGain(granule, channel, wanted);
            }
            if (held) ++report.heldAtTop;
        }
        gains.UpdateCrc();
    }
    return report;
}

GainReport TryGainPlan(const std::wstring& path, const Mp3Index& index, const GainPlan& plan) {
    GainReport report;
    if (plan.Change().None() || index.frameOffsets.empty()) return report;
    const FrameGrid grid = FrameGrid::Of(index);
    const SampleRange range = plan.Range();
    // The frames whose granules reach into the selection, a granule either side.
    const auto count = static_cast<std::int64_t>(index.FrameCount());
    const auto first = std::min(static_cast<std::int64_t>(grid.PrimingFrame(range.first)), count);
    const auto end = std::clamp(static_cast<std::int64_t>(grid.FrameOf(range.end + FrameGrid::kGranule)) + 1, first, count);
    // The cut is made in the stream of the part it starts in.
    const FrameHeader stream =
        index.FormatOf(std::min<std::uint64_t>(grid.FrameOf(range.first), static_cast<std::uint64_t>(count - 1)));

    MediaFile file(path);
    std::vector<std::uint8_t> bytes;
    for (std::int64_t frame = first; frame < end;) {
        // Frames that follow each other without a gap are read and tried together.
        std::int64_t last = frame;
        while (last + 1 < end && last + 1 - frame < static_cast<std::int64_t>(kFramesAtOnce) &&
               index.frameOffsets[static_cast<std::size_t>(last + 1)] - index.frameOffsets[static_cast<std::size_t>(last)] <=
                   FrameHeader::kMaxFrameSize)
            ++last;
        const std::uint64_t offset = index.frameOffsets[static_cast<std::size_t>(frame)];
        const std::uint64_t stop = std::min(index.audioEnd, index.frameOffsets[static_cast<std::size_t>(last)] + FrameHeader::kMaxFrameSize);
        bytes.resize(static_cast<std::size_t>(stop - offset));
        bytes.resize(file.ReadAt(offset, bytes.data(), bytes.size()));
        // Each frame on its own: what lies between two frames is no frame of the plan's.
        for (std::int64_t k = frame; k <= last; ++k) {
            const auto at = static_cast<std::size_t>(index.frameOffsets[static_cast<std::size_t>(k)] - offset);
            if (at + FrameHeader::kSize > bytes.size()) break;
            const auto header = FrameHeader::Parse(bytes.data() + at);
            const std::size_t size = header ? std::min<std::size_t>(header->frameSize, bytes.size() - at) : 0;
            report += plan.Apply(std::span(bytes.data() + at, size), stream,
                                 grid.FrameStart(static_cast<std::uint64_t>(k)));
        }
        frame = last + 1;
    }
    return report;
}

Peak LoudestSample(Waveform& waveform, SampleRange range) {
    range.end = std::min(range.end, waveform.Length());
    if (range.first >= range.end) return {};
    Peak peak;
    const std::uint64_t block = Waveform::kBlockSamples;
    // The whole blocks inside the selection whose peaks are ready.
    const std::uint64_t storedFirst = std::min(range.end, (range.first + block - 1) / block * block);
    const std::uint64_t storedEnd = std::max(storedFirst, std::min(range.end, waveform.ReadyLength()) / block * block);
    if (storedFirst < storedEnd) peak.Add(waveform.PeakOf(storedFirst, storedEnd));
    auto decode = [&](std::uint64_t first, std::uint64_t end) {
        for (std::uint64_t at = first; at < end; at += kDecodeAtOnce) {
            const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(kDecodeAtOnce, end - at));
            const std::vector<std::int16_t> samples = waveform.Samples(at, count);
            if (samples.empty()) return;
            for (std::int16_t sample : samples) peak.Add(sample);
        }
    };
    decode(range.first, storedFirst);
    decode(storedEnd, range.end);
    return peak;
}

int NormalizingSteps(Peak peak) noexcept {
    const double headroom = Headroom(peak);
    if (std::isinf(headroom)) return 0;
    return static_cast<int>(std::floor(4 * std::log2(headroom)));
}

double ClippingDb(Peak peak, int steps) noexcept {
    const double headroom = Headroom(peak);
    if (std::isinf(headroom)) return 0;
    return 20 * std::log10(std::exp2(steps / 4.0) / headroom);
}

}  // namespace media
