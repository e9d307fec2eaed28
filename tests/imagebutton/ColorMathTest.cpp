#include "controls/imagebutton/ColorMath.h"

#include <gtest/gtest.h>

#include "controls/imagebutton/Canvas.h"
#include "controls/imagebutton/PixelEffects.h"

using namespace controls::imagebutton;

TEST(ShiftColor, MovesEveryChannelByTheFractionOf255) {
    EXPECT_EQ(ShiftColor(0x102030, 0.1f), RgbOf(0x30 + 26, 0x20 + 26, 0x10 + 26));
    EXPECT_EQ(ShiftColor(0x808080, -0.5f), 0x000000);  // 128 - 127.5 = 0.5, which goes to 0
}

TEST(ShiftColor, TheSinglePrecisionStepMakesExactHalvesThatGoToEven) {
    // 0.1f x 255 is 25.5 exactly in single precision: 0 + 25.5 -> 26, 1 + 25.5 -> 26, 2 + 25.5 -> 28.
    EXPECT_EQ(ShiftColor(RgbOf(0, 1, 2), 0.1f), RgbOf(26, 26, 28));
}

TEST(ShiftColor, OnlyTheBoundInTheDirectionOfTheShiftApplies) {
    EXPECT_EQ(ShiftColor(0xFFFFFF, 0.3f), 0xFFFFFF);
    EXPECT_EQ(ShiftColor(0x000000, -0.3f), 0x000000);
    EXPECT_EQ(ShiftColor(RgbOf(250, 5, 100), 0.06f), RgbOf(255, 20, 115));
    EXPECT_EQ(ShiftColor(RgbOf(250, 5, 100), -0.06f), RgbOf(235, 0, 85));
    EXPECT_EQ(ShiftColor(RgbOf(12, 34, 56), 0.0f), RgbOf(12, 34, 56));
}

TEST(ShiftColor, SchemeValues) {
    // 0xD4 + 0.06 x 255 (15.3) = 227.3 -> 227 (0xE3)
    EXPECT_EQ(ShiftColor(0xD4D4D4, 0.06f), 0xE3E3E3);
    // 0x743C00 lightened by 0.3 (76.5): 0 + 76.5 -> 76, 0x3C + 76.5 = 136.5 -> 136, 0x74 + 76.5 = 192.5 -> 192
    EXPECT_EQ(ShiftColor(0x743C00, 0.3f), RgbOf(76, 136, 192));
}

TEST(AverageColor, RoundsHalvesToEven) {
    EXPECT_EQ(AverageColor(RgbOf(0, 1, 2), RgbOf(1, 2, 1)), RgbOf(0, 2, 2));
    EXPECT_EQ(AverageColor(0xFFFFFF, 0x000000), RgbOf(128, 128, 128));  // 127.5 -> 128
    EXPECT_EQ(AverageColor(0xFFFFFF, 0xFFD1AD), RgbOf(0xD6, 0xE8, 0xFF));
}

TEST(GradientSteps, RunFromFirstToLastWithTruncatingDivision) {
    const auto steps = GradientSteps(RgbOf(0, 0, 0), RgbOf(10, 255, 100), 4);
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[0], 0x000000u);
    EXPECT_EQ(steps[1], (3u << 16) | (85u << 8) | 33u);
    EXPECT_EQ(steps[2], (6u << 16) | (170u << 8) | 66u);
    EXPECT_EQ(steps[3], (10u << 16) | (255u << 8) | 100u);
    // Falling channels truncate toward zero too.
    EXPECT_EQ(GradientSteps(RgbOf(10, 0, 0), RgbOf(0, 0, 0), 4)[1], 7u << 16);
}

TEST(GradientSteps, OneStepIsTheHalfSumOfHalves) {
    EXPECT_EQ(GradientSteps(0xFFFFFF, 0xFFFFFF, 1)[0], 0xFEFEFEu);  // 127 + 127
    EXPECT_EQ(GradientSteps(RgbOf(10, 3, 200), RgbOf(20, 5, 0), 1)[0], (15u << 16) | (3u << 8) | 100u);
    EXPECT_TRUE(GradientSteps(0, 0, 0).empty());
}

TEST(PixelEffects, LookupTables) {
    EXPECT_EQ(LookupBrighten()[0], 0);
    EXPECT_EQ(LookupBrighten()[100], 100 * 293 / 255);
    EXPECT_EQ(LookupBrighten()[222], 255);
    EXPECT_EQ(LookupBrighten()[221], 253);
    EXPECT_EQ(LookupDarken()[255], 217);
    EXPECT_EQ(LookupDarken()[100], 85);
}

TEST(PixelEffects, BlendDividesBy256) {
    EXPECT_EQ(BlendChannel(128, 255, 0), 127);
    EXPECT_EQ(BlendChannel(52, 255, 0), 51);
    EXPECT_EQ(BlendChannel(0, 255, 77), 76);  // the drawing code skips a = 0 altogether
}

TEST(PixelEffects, GreyRoundsTheRedTermFirst) {
    // round(0.3 x 255) = 76 (76.5 to even); 150.45 + 76 + 28.05 = 254.5, which goes to 254.
    EXPECT_EQ(GreyOf(255, 255, 255), 254);
    EXPECT_EQ(GreyOf(0, 0, 0), 0);
    // round(0.3 x 5) = 2 (1.5 to even), then 0.59 x 0 + 2 + 0.11 x 0 = 2
    EXPECT_EQ(GreyOf(5, 0, 0), 2);
    EXPECT_EQ(GreyOf(0, 100, 0), 59);
    EXPECT_EQ(GreyOf(0, 0, 50), 6);  // 5.5 -> 6
}

TEST(PixelEffects, DisabledOpacity) {
    EXPECT_EQ(DisabledOpacity(false, 200), 52);
    EXPECT_EQ(DisabledOpacity(true, 255), 191);  // 191.25
    EXPECT_EQ(DisabledOpacity(true, 2), 2);      // 1.5 -> 2
    EXPECT_EQ(DisabledOpacity(true, 10), 8);     // 7.5 -> 8
}
