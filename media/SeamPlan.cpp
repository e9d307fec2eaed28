#include "media/SeamPlan.h"

#include <cstdlib>
#include <optional>

#include "media/FrameGrid.h"
#include "media/MediaError.h"

namespace media {

namespace {

struct Candidate {
    bool movesEnd = false;  // the end of the part before the seam, not the start of the one after
    std::int64_t moved = 0;
    SampleRange changed;  // of the source whose part moves: the samples dropped or taken in
};

std::int64_t Mod(std::int64_t value, std::int64_t by) { return ((value % by) + by) % by; }

}  // namespace

SeamPlan PlanSeams(const Recording& recording, const MeanSquareOf& meanSquare) {
    SeamPlan plan;
    plan.parts = recording.Parts();
    const auto spf = static_cast<std::int64_t>(recording.Format().SamplesPerFrame());
    const RecordingPart& opening = plan.parts.front();
    // Where the first part's first sample lies in its frame sets the grid of what is written.
    const auto origin = static_cast<std::int64_t>(FrameGrid::Of(*opening.index).IntoFrame(opening.samples.first));
    std::int64_t written = static_cast<std::int64_t>(opening.Length());
    for (std::size_t k = 1; k < plan.parts.size(); ++k) {
        RecordingPart& before = plan.parts[k - 1];
        RecordingPart& after = plan.parts[k];
        const auto afterStart = static_cast<std::int64_t>(after.samples.first);
        // Samples to leave out so that the part's frames fall on the grid (or spf less, to keep).
        const auto into = static_cast<std::int64_t>(FrameGrid::Of(*after.index).IntoFrame(after.samples.first));
        const std::int64_t off = Mod(written + origin - into, spf);
        const bool removal = before.source == after.source && after.samples.first >= before.samples.end;

        std::vector<Candidate> candidates;
        auto consider = [&](bool movesEnd, std::int64_t moved) {
            const RecordingPart& part = movesEnd ? before : after;
            const auto first = static_cast<std::int64_t>(part.samples.first);
            const auto end = static_cast<std::int64_t>(part.samples.end);
            const std::int64_t limit = static_cast<std::int64_t>(part.index->PlayableSampleCount());
            Candidate c{movesEnd, moved, {}};
            if (movesEnd) {
                if (end - moved <= first || end - moved > limit) return;
                c.changed = moved > 0 ? SampleRange{static_cast<std::uint64_t>(end - moved), static_cast<std::uint64_t>(end)}
                                      : SampleRange{static_cast<std::uint64_t>(end), static_cast<std::uint64_t>(end - moved)};
            } else {
                if (first + moved >= end || first + moved < 0) return;
                c.changed = moved > 0 ? SampleRange{static_cast<std::uint64_t>(first), static_cast<std::uint64_t>(first + moved)}
                                      : SampleRange{static_cast<std::uint64_t>(first + moved), static_cast<std::uint64_t>(first)};
            }
            candidates.push_back(c);
        };
        for (std::int64_t moved : {off, off - spf}) {
            if (moved == -spf) continue;  // nothing to move
            consider(false, moved);
            if (!removal) consider(true, moved);
        }
        if (candidates.empty())
            throw MediaError(L"A part of the recording is too short to be written without encoding it again.");

        // The nearest; of two as near, the quieter (measured only then: it costs a decode).
        std::int64_t nearest = spf;
        for (const Candidate& c : candidates) nearest = std::min(nearest, std::llabs(c.moved));
        auto levelOf = [&](const Candidate& c) { return c.moved == 0 ? 0 : meanSquare(c.movesEnd ? before : after, c.changed); };
        std::optional<Candidate> best;
        std::optional<double> bestLoudness;
        for (const Candidate& c : candidates) {
            if (std::llabs(c.moved) != nearest) continue;
            if (!best) {
                best = c;
                continue;
            }
            if (!bestLoudness) bestLoudness = levelOf(*best);
            const double level = levelOf(c);
            if (level < *bestLoudness) {
                best = c;
                bestLoudness = level;
            }
        }
        if (best->movesEnd)
            before.samples.end = static_cast<std::uint64_t>(static_cast<std::int64_t>(before.samples.end) - best->moved);
        else
            after.samples.first = static_cast<std::uint64_t>(afterStart + best->moved);
        written += (best->movesEnd ? -best->moved : 0);
        plan.seams.push_back({static_cast<std::uint64_t>(written), best->moved});
        written += static_cast<std::int64_t>(after.Length());
    }
    return plan;
}

}  // namespace media
