// The fades and level of a selection: the rules the Level menu's dialogs are held to.
#include <gtest/gtest.h>

#include <cmath>

#include "app/LevelSettings.h"

using app::LevelSettings;

TEST(LevelSettings, TakesFadesAndLevelsWithinTheRulesOnly) {
    enum Field { FadeIn, FadeOut, Level };
    struct Case {
        Field field;
        double value;
        bool taken;
        double fadeIn, fadeOut;
        int steps;
    } const kCases[] = {
        {FadeIn, 1.5, true, 1.5, 0, 0},   {FadeIn, 0.25, true, 0.25, 0, 0}, {FadeIn, 0, true, 0, 0, 0},
        {FadeIn, 600, true, 600, 0, 0},   {FadeIn, 600.5, false, 0, 0, 0},  {FadeIn, -1, false, 0, 0, 0},
        {FadeIn, NAN, false, 0, 0, 0},    {FadeOut, 3, true, 0, 3, 0},      {FadeOut, 601, false, 0, 0, 0},
        {Level, 3, true, 0, 0, 2},        {Level, -6, true, 0, 0, -4},      {Level, 12, true, 0, 0, 8},
        {Level, -30, true, 0, 0, -20},    {Level, 13.5, false, 0, 0, 0},    {Level, -31.5, false, 0, 0, 0},
        {Level, 1, false, 0, 0, 0},       {Level, 0.75, false, 0, 0, 0},    {Level, 0, true, 0, 0, 0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::to_string(c.field) + ": " + std::to_string(c.value));
        LevelSettings settings;
        const bool taken = c.field == FadeIn    ? settings.SetFadeIn(c.value)
                           : c.field == FadeOut ? settings.SetFadeOut(c.value)
                                                : settings.SetLevelDb(c.value);
        EXPECT_EQ(taken, c.taken);
        EXPECT_EQ(settings.FadeIn(), c.fadeIn);
        EXPECT_EQ(settings.FadeOut(), c.fadeOut);
        EXPECT_EQ(settings.Steps(), c.steps);
    }
}

TEST(LevelSettings, TheStatusLineNamesWhatIsSet) {
    LevelSettings settings;
    EXPECT_EQ(settings.StatusText(), L"");
    EXPECT_TRUE(settings.None());
    EXPECT_EQ(settings.FadeInProposal(), 1.0);  // the defaults
    EXPECT_EQ(settings.FadeOutProposal(), 2.0);
    settings.SetLevelDb(3);
    EXPECT_EQ(settings.StatusText(), L"Level +3.0 dB");
    settings.SetFadeIn(1);
    settings.SetFadeOut(2);
    EXPECT_EQ(settings.StatusText(), L"Fade in 1.0 s, fade out 2.0 s, level +3.0 dB");
    settings.SetFadeIn(0.125);
    settings.SetLevelDb(-4.5);
    EXPECT_EQ(settings.StatusText(), L"Fade in 0.125 s, fade out 2.0 s, level -4.5 dB");
    EXPECT_EQ(settings.FadeInProposal(), 0.125);
    EXPECT_EQ(settings.Change(), (media::LevelChange{0.125, 2, -3}));
    settings.SetSteps(40);  // normalizing a quiet selection goes no further than the range
    EXPECT_EQ(settings.LevelDb(), LevelSettings::kHighestDb);
    settings.Clear();
    EXPECT_TRUE(settings.None());
    EXPECT_EQ(settings.StatusText(), L"");
}
