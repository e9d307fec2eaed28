#include "media/Loudness.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace media {

namespace {

constexpr double kAbsoluteGate = -70;   // LUFS
constexpr double kRelativeGate = -10;   // LU below the absolutely gated loudness
constexpr double kRangeGate = -20;      // LU, for the loudness range
constexpr std::size_t kHopsPerBlock = 4;     // 400 ms in 100 ms steps
constexpr std::size_t kHopsPerShortTerm = 30;  // 3 s

// The energy of samples [0, x) of a stretch, reading each stored block as spread
// evenly over its samples; x only grows between calls.
class EnergyCursor {
public:
    EnergyCursor(const LoudnessBlock* blocks, std::uint64_t length, std::size_t blockSamples)
        : blocks_(blocks), length_(length), blockSamples_(blockSamples) {}

    double Before(std::uint64_t x) {
        const std::uint64_t block = x / blockSamples_;
        for (; next_ < block; ++next_) whole_ += blocks_[next_].energy;
        const std::uint64_t start = block * blockSamples_;
        if (x == start) return whole_;
        const std::uint64_t samples = std::min<std::uint64_t>(blockSamples_, length_ - start);
        return whole_ + blocks_[block].energy * static_cast<double>(x - start) / static_cast<double>(samples);
    }

private:
    const LoudnessBlock* blocks_;
    std::uint64_t length_;
    std::uint64_t blockSamples_;
    std::uint64_t next_ = 0;
    double whole_ = 0;
};

// Mean squares of the windows of `hops` consecutive hops, one starting at each hop.
std::vector<double> WindowMeans(const std::vector<double>& hopEnergies, std::size_t hops, double hopSamples) {
    std::vector<double> means;
    if (hopEnergies.size() < hops) return means;
    double sum = 0;
    for (std::size_t i = 0; i < hopEnergies.size(); ++i) {
        sum += hopEnergies[i];
        if (i >= hops) sum -= hopEnergies[i - hops];
        if (i + 1 >= hops) means.push_back(std::max(0.0, sum) / (hopSamples * static_cast<double>(hops)));
    }
    return means;
}

// The mean of the mean squares louder than `gate` LUFS, or 0 where none is.
double GatedMean(const std::vector<double>& means, double gate) {
    double sum = 0;
    std::size_t count = 0;
    for (double z : means)
        if (LoudnessUnitsOf(z) > gate) {
            sum += z;
            ++count;
        }
    return count ? sum / static_cast<double>(count) : 0;
}

double LoudnessRange(const std::vector<double>& shortTerm) {
    const double absolute = GatedMean(shortTerm, kAbsoluteGate);
    if (absolute == 0) return 0;
    const double gate = std::max(kAbsoluteGate, LoudnessUnitsOf(absolute) + kRangeGate);
    std::vector<double> levels;
    for (double z : shortTerm)
        if (LoudnessUnitsOf(z) > gate) levels.push_back(LoudnessUnitsOf(z));
    if (levels.empty()) return 0;
    std::sort(levels.begin(), levels.end());
    const auto percentile = [&](double p) {
        const double at = p * static_cast<double>(levels.size() - 1);
        return levels[static_cast<std::size_t>(std::lround(at))];
    };
    return percentile(0.95) - percentile(0.10);
}

}  // namespace

double LoudnessUnitsOf(double meanSquare) noexcept {
    return meanSquare > 0 ? -0.691 + 10 * std::log10(meanSquare) : -std::numeric_limits<double>::infinity();
}

Loudness LoudnessOf(const LoudnessBlock* blocks, std::uint64_t length, std::size_t blockSamples, int sampleRate,
                    std::uint64_t first, std::uint64_t end) {
    Loudness loudness;
    end = std::min(end, length);
    const std::uint64_t hop = static_cast<std::uint64_t>(std::lround(sampleRate / 10.0));
    if (first >= end || hop == 0) return loudness;

    EnergyCursor cursor(blocks, length, blockSamples);
    std::vector<double> hops;
    double before = cursor.Before(first);
    for (std::uint64_t at = first + hop; at <= end; at += hop) {
        const double upTo = cursor.Before(at);
        hops.push_back(upTo - before);
        before = upTo;
    }

    const std::vector<double> gating = WindowMeans(hops, kHopsPerBlock, static_cast<double>(hop));
    const double absolute = GatedMean(gating, kAbsoluteGate);
    if (absolute == 0) return loudness;
    const double integrated = GatedMean(gating, std::max(kAbsoluteGate, LoudnessUnitsOf(absolute) + kRelativeGate));
    loudness.measured = integrated > 0;
    loudness.integrated = LoudnessUnitsOf(integrated);
    loudness.range = LoudnessRange(WindowMeans(hops, kHopsPerShortTerm, static_cast<double>(hop)));

    float peak = 0;
    for (std::uint64_t b = first / blockSamples; b * blockSamples < end; ++b) peak = std::max(peak, blocks[b].truePeak);
    loudness.truePeak = 20 * std::log10(static_cast<double>(peak));
    return loudness;
}

}  // namespace media
