#pragma once
// The fades and the change of level that belong to the selection: the rules for
// them, what the status line says of them, and what a save hands to the exact cut.
#include <string>

#include "media/Media.h"

namespace app {

class LevelSettings {
public:
    static constexpr double kDefaultFadeIn = 1.0;
    static constexpr double kDefaultFadeOut = 2.0;
    static constexpr double kLongestFade = 600;
    static constexpr double kStepDb = media::LevelChange::kStepDb;
    static constexpr double kLowestDb = -30;
    static constexpr double kHighestDb = 12;

    double FadeIn() const noexcept { return change_.fadeIn; }
    double FadeOut() const noexcept { return change_.fadeOut; }
    int Steps() const noexcept { return change_.steps; }
    double LevelDb() const noexcept { return change_.steps * kStepDb; }
    const media::LevelChange& Change() const noexcept { return change_; }
    bool None() const noexcept { return change_.None(); }

    // What the dialogs propose: the length set, or the default.
    double FadeInProposal() const noexcept { return FadeIn() > 0 ? FadeIn() : kDefaultFadeIn; }
    double FadeOutProposal() const noexcept { return FadeOut() > 0 ? FadeOut() : kDefaultFadeOut; }

    // A fade from 0 (none) to kLongestFade seconds; false, changing nothing, for any other.
    bool SetFadeIn(double seconds) noexcept { return SetFade(seconds, change_.fadeIn); }
    bool SetFadeOut(double seconds) noexcept { return SetFade(seconds, change_.fadeOut); }
    // A change from kLowestDb to kHighestDb in whole steps of kStepDb; false, changing nothing, for any other.
    bool SetLevelDb(double db) noexcept;
    // A level found by normalizing, held within the range.
    void SetSteps(int steps) noexcept;
    void Clear() noexcept { change_ = {}; }

    // "Fade in 1.0 s, fade out 2.0 s, level +3.0 dB", naming only what is set; empty with nothing set.
    std::wstring StatusText() const;

    // A change of level as the user reads it: "+3.0 dB", "-6.0 dB", "0.0 dB".
    static std::wstring DbText(int steps);
    // Seconds to at most three decimals, and at least one: "1.0", "0.25".
    static std::wstring SecondsText(double seconds);

private:
    static bool SetFade(double seconds, double& fade) noexcept;

    media::LevelChange change_;
};

}  // namespace app
