#include "controls/imagebutton/ColorMath.h"

#include <gtest/gtest.h>

#include "ColorRules.h"
#include "controls/imagebutton/Canvas.h"
#include "controls/imagebutton/PixelEffects.h"

using namespace controls::imagebutton;

// The painters' helpers and the tests' own rules, both held to the same worked-out values.
TEST(ShiftColor, WorkedValues) {
    struct Case {
        long color;
        float fraction;
        long expected;
    };
    const Case cases[] = {
        {0x102030, 0.1f, RgbOf(0x30 + 26, 0x20 + 26, 0x10 + 26)},
        {0x808080, -0.5f, 0x000000},               // 128 - 127.5 = 0.5, which goes to 0
        {RgbOf(0, 1, 2), 0.1f, RgbOf(26, 26, 28)},  // 0.1f x 255 is 25.5 exactly: halves go to even
        {0xFFFFFF, 0.3f, 0xFFFFFF},                 // only the bound in the direction of the shift
        {0x000000, -0.3f, 0x000000},
        {RgbOf(250, 5, 100), 0.06f, RgbOf(255, 20, 115)},
        {RgbOf(250, 5, 100), -0.06f, RgbOf(235, 0, 85)},
        {RgbOf(12, 34, 56), 0.0f, RgbOf(12, 34, 56)},
        {0xD4D4D4, 0.06f, 0xE3E3E3},            // 0xD4 + 15.3 = 227.3 -> 227
        {0x743C00, 0.3f, RgbOf(76, 136, 192)},  // 0 + 76.5 -> 76, 60 + 76.5 -> 136, 116 + 76.5 -> 192
        {0x000000, 0.03f, RgbOf(8, 8, 8)},      // 7.65 -> 8
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShiftColor(c.color, c.fraction), c.expected) << std::hex << c.color << " " << c.fraction;
        EXPECT_EQ(imagebutton_test::rule::Shift(c.color, c.fraction), c.expected) << std::hex << c.color;
    }
}

TEST(AverageColor, RoundsHalvesToEven) {
    struct Case {
        long a, b, expected;
    };
    const Case cases[] = {
        {RgbOf(0, 1, 2), RgbOf(1, 2, 1), RgbOf(0, 2, 2)},
        {0xFFFFFF, 0x000000, RgbOf(128, 128, 128)},  // 127.5 -> 128
        {0xFFFFFF, 0xFFD1AD, RgbOf(0xD6, 0xE8, 0xFF)},
        {0x808080, 0x000000, RgbOf(64, 64, 64)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AverageColor(c.a, c.b), c.expected) << std::hex << c.a << " " << c.b;
        EXPECT_EQ(imagebutton_test::rule::Average(c.a, c.b), c.expected) << std::hex << c.a << " " << c.b;
    }
}

TEST(GradientSteps, RunFromFirstToLastWithTruncatingDivision) {
    struct Case {
        long from, to;
        int steps, i;
        long expected;  // 0x00BBGGRR
    };
    const Case cases[] = {
        {RgbOf(0, 0, 0), RgbOf(10, 255, 100), 4, 0, 0x000000},
        {RgbOf(0, 0, 0), RgbOf(10, 255, 100), 4, 1, RgbOf(3, 85, 33)},
        {RgbOf(0, 0, 0), RgbOf(10, 255, 100), 4, 2, RgbOf(6, 170, 66)},
        {RgbOf(0, 0, 0), RgbOf(10, 255, 100), 4, 3, RgbOf(10, 255, 100)},
        {RgbOf(10, 0, 0), RgbOf(0, 0, 0), 4, 1, RgbOf(7, 0, 0)},  // falling channels truncate toward zero too
        {0xFFFFFF, 0xFFFFFF, 1, 0, 0xFEFEFE},                     // one step: 127 + 127
        {RgbOf(10, 3, 200), RgbOf(20, 5, 0), 1, 0, RgbOf(15, 3, 100)},
    };
    for (const Case& c : cases) {
        const std::uint32_t pixel = GradientSteps(c.from, c.to, c.steps).at(static_cast<std::size_t>(c.i));
        EXPECT_EQ(pixel, static_cast<std::uint32_t>(RgbOf(BlueOf(c.expected), GreenOf(c.expected), RedOf(c.expected))))
            << c.steps << " " << c.i;
        EXPECT_EQ(imagebutton_test::rule::GradientStep(c.from, c.to, c.steps, c.i), c.expected) << c.steps << " " << c.i;
    }
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
