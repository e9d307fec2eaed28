#include "media/SplitSearch.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>
#include <set>

#include "media/Mp3Stream.h"
#include "media/QuietSpot.h"

namespace media {

namespace {

constexpr std::uint64_t kBlock = Waveform::kBlockSamples;
// The middle of a pause, where its split point goes: half of it, at most this far either side of its centre.
constexpr double kPauseMiddleReachSeconds = 0.5;

std::uint64_t SamplesOf(double seconds, int rate) {
    return seconds <= 0 ? 0 : static_cast<std::uint64_t>(std::llround(seconds * rate));
}

// The quietest spot of [first, last] (first <= last): the block there whose
// channels hold the least energy, the one nearest `preferred` of equally quiet ones,
// and then the quiet-spot search over the samples around it.
std::uint64_t QuietestNear(const Waveform& levels, std::optional<Mp3Stream>& stream, std::uint64_t first,
                           std::uint64_t last, std::uint64_t preferred) {
    std::uint64_t best = first / kBlock;
    double bestEnergy = INFINITY;
    auto distance = [&](std::uint64_t block) {
        const std::uint64_t middle = block * kBlock + kBlock / 2;
        return middle > preferred ? middle - preferred : preferred - middle;
    };
    for (std::uint64_t block = first / kBlock; block <= last / kBlock; ++block) {
        const double rms = levels.LevelOf(block * kBlock, block * kBlock + kBlock).rms;
        const double energy = rms * rms;
        if (energy < bestEnergy || (energy == bestEnergy && distance(block) < distance(best))) {
            best = block;
            bestEnergy = energy;
        }
    }
    const std::uint64_t from = std::max(first, best * kBlock > kBlock ? best * kBlock - kBlock : 0);
    const std::uint64_t to = std::min(last, best * kBlock + 2 * kBlock);
    const std::uint64_t around = std::clamp(preferred, from, to);
    try {
        if (!stream) stream.emplace(levels.Path(), levels.Index());
    } catch (...) {
        return around;  // the block's precision must do
    }
    const auto stretch = static_cast<std::size_t>(std::max<long long>(1, std::llround(kQuietStretchSeconds * levels.SampleRate())));
    return QuietestPoint(*stream, from, to, around, stretch);
}

// Whether every channel of the block stays below `amplitude`.
bool QuietBlock(const Waveform& levels, std::uint64_t block, double amplitude) {
    for (int c = 0; c < levels.Channels(); ++c)
        if (levels.LevelOf(block * kBlock, block * kBlock + kBlock, c).rms >= amplitude) return false;
    return true;
}

}  // namespace

std::vector<Pause> FindPauses(const Waveform& levels, const PauseSettings& settings) {
    levels.Wait();
    const int rate = levels.SampleRate();
    const std::uint64_t ready = levels.ReadyLength();
    const double amplitude = AmplitudeOf(settings.thresholdDb);
    const std::uint64_t minPause = std::max<std::uint64_t>(1, SamplesOf(settings.minPauseSeconds, rate));
    const std::uint64_t minPiece = SamplesOf(settings.minPieceSeconds, rate);

    // Every quiet run between two sounds, long enough.
    std::vector<Pause> found;
    const std::uint64_t blocks = ready / kBlock;  // whole blocks only
    std::optional<std::uint64_t> runStart;
    for (std::uint64_t block = 0; block <= blocks; ++block) {
        const bool quiet = block < blocks && QuietBlock(levels, block, amplitude);
        if (quiet && !runStart) runStart = block;
        if (quiet || !runStart) continue;
        const Pause pause{*runStart * kBlock, block * kBlock, 0};
        runStart.reset();
        if (pause.first == 0 || block == blocks || pause.end - pause.first < minPause) continue;
        found.push_back(pause);
    }

    std::optional<Mp3Stream> stream;
    const std::uint64_t middleReach = SamplesOf(kPauseMiddleReachSeconds, rate);
    for (Pause& pause : found) {
        const std::uint64_t centre = pause.first + (pause.end - pause.first) / 2;
        const std::uint64_t reach = std::min((pause.end - pause.first) / 4, middleReach);
        pause.split = QuietestNear(levels, stream, centre - reach, centre + reach, centre);
    }

    // The longest pauses first, each where it leaves no piece too short.
    std::vector<const Pause*> byLength;
    for (const Pause& pause : found) byLength.push_back(&pause);
    std::stable_sort(byLength.begin(), byLength.end(),
                     [](const Pause* a, const Pause* b) { return a->end - a->first > b->end - b->first; });
    std::set<std::uint64_t> splits{0, levels.Length()};
    std::vector<Pause> kept;
    for (const Pause* pause : byLength) {
        const auto after = splits.upper_bound(pause->split);
        if (*after - pause->split < minPiece || pause->split - *std::prev(after) < minPiece) continue;
        splits.insert(pause->split);
        kept.push_back(*pause);
    }
    std::sort(kept.begin(), kept.end(), [](const Pause& a, const Pause& b) { return a.split < b.split; });
    return kept;
}

std::vector<std::uint64_t> SplitEvery(const Waveform& levels, double everySeconds, double reachSeconds) {
    std::vector<std::uint64_t> points;
    const std::uint64_t length = levels.Length();
    const std::uint64_t every = SamplesOf(everySeconds, levels.SampleRate());
    if (every == 0) return points;
    for (std::uint64_t at = every; at < length; at += every) points.push_back(at);
    if (!points.empty() && length - points.back() < every / 2) points.pop_back();

    const std::uint64_t reach = SamplesOf(reachSeconds, levels.SampleRate());
    if (reach == 0) return points;
    levels.Wait();
    std::optional<Mp3Stream> stream;
    std::uint64_t previous = 0;
    for (std::uint64_t& point : points) {
        const std::uint64_t first = std::max(previous + 1, point > reach ? point - reach : 0);
        const std::uint64_t last = std::min(length - 1, point + reach);
        point = QuietestNear(levels, stream, first, last, point);
        previous = point;
    }
    return points;
}

}  // namespace media
