#pragma once
// Fades and a change of level asked of a selection, and what making them could not do.
#include <cstdint>

namespace media {

// What the user asked of a selection.
struct LevelChange {
    static constexpr double kStepDb = 1.5;

    double fadeIn = 0;  // seconds the selection rises from silence; 0 for none
    double fadeOut = 0; // seconds it falls to silence at its end
    int steps = 0;      // the level's change, in steps of kStepDb

    bool None() const noexcept { return fadeIn <= 0 && fadeOut <= 0 && steps == 0; }
    bool operator==(const LevelChange&) const = default;
};

// What applying a plan could not do.
struct GainReport {
    std::uint64_t heldAtTop = 0;   // granules whose gain stopped at the highest short of the change
    std::uint64_t framesLeft = 0;  // frames to change left as they were: damaged, or of another stream

    GainReport& operator+=(const GainReport& other) noexcept {
        heldAtTop += other.heldAtTop;
        framesLeft += other.framesLeft;
        return *this;
    }
};

}  // namespace media
