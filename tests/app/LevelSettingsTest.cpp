// The rules of a selection's fades and level, and how the status line names them.
#include <gtest/gtest.h>

#include <cmath>

#include "app/LevelSettings.h"

TEST(LevelSettings, TakesFadesAndLevelsWithinTheRulesOnly) {
    struct Case {
        bool fade;  // else a level
        double value;
        bool taken;
    } const kCases[] = {{true, 0, true},   {true, 600, true},  {true, 600.5, false}, {true, -1, false},
                        {true, NAN, false}, {false, -30, true}, {false, 12, true},    {false, 13.5, false},
                        {false, -31.5, false}, {false, 1, false}, {false, -4.5, true}};
    for (const Case& c : kCases) {
        app::LevelSettings settings;
        EXPECT_EQ(c.fade ? settings.SetFadeOut(c.value) : settings.SetLevelDb(c.value), c.taken) << c.value;
        EXPECT_EQ(c.fade ? settings.FadeOut() : settings.LevelDb(), c.taken ? c.value : 0);
    }
}

TEST(LevelSettings, TheStatusLineNamesWhatIsSet) {
    app::LevelSettings settings;
    EXPECT_EQ(settings.StatusText(), L"");
    EXPECT_EQ(settings.FadeInProposal(), 1.0);
    settings.SetLevelDb(3);
    EXPECT_EQ(settings.StatusText(), L"Level +3.0 dB");
    settings.SetFadeIn(1);
    settings.SetFadeOut(0.125);
    EXPECT_EQ(settings.StatusText(), L"Fade in 1.0 s, fade out 0.125 s, level +3.0 dB");
    EXPECT_EQ(settings.Change(), (media::LevelChange{1, 0.125, 2}));
    settings.SetSteps(40);  // normalizing a quiet selection goes no further than the range
    EXPECT_EQ(settings.LevelDb(), 12);
    settings.Clear();
    EXPECT_TRUE(settings.None());
}
