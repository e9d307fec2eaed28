#include "controls/themedbutton/Drawing.h"

#include <gtest/gtest.h>

#include <vector>

#include "themedbutton/SkinSurface.h"

using namespace controls::themedbutton;
using skin_testing::SkinSurface;

namespace {
constexpr long kBack = 0x123456;
constexpr long kInk = 0x00FF00;
}  // namespace

struct ColorCase {
    long got;
    long expected;
};

TEST(DrawingColors, ChannelOperations) {
    const ColorCase cases[] = {
        // blend: (a + b) / 2 per channel, halves to even: 0+1 -> 0, 1+2 -> 2, 2+1 -> 2
        {Blend(0x020100, 0x010201), 0x020200},
        {Blend(0xFFFFFF, 0x000000), 0x808080},  // 127.5 -> 128
        {Blend(0x0A0A0A, 0x141414), 0x0F0F0F},
        // lighten: k + (255 - k) * c / 255, fraction dropped
        {Lighten(0x000000, 32), 0x202020},
        {Lighten(0xFFFFFF, 32), 0xFFFFFF},
        {Lighten(0x80FF01, 176), 0xD7FFB0},  // 176 + 79 x 128 / 255 = 215.6 -> 215 (0xD7); 176 + 0.3 -> 176
        {Lighten(0x643200, 128), 0xB19880},  // 128 + 127 x 50 / 255 = 152.9 -> 152; 128 + 49.8 -> 177
        // shift: per channel, clamped
        {Shift(0x10F080, 16), 0x20FF90},
        {Shift(0x10F080, -32), 0x00D060},
        {Shift(0xEAF4F5, -37), 0xC5CFD0},
    };
    for (const auto& c : cases) EXPECT_EQ(c.got, c.expected) << std::hex << c.expected;
}

TEST(DrawingPrimitives, LineLeavesItsEndPoint) {
    SkinSurface s(10, 10, kBack);
    Line(s.Dc(), 1, 2, 6, 2, kInk);
    Line(s.Dc(), 8, 8, 8, 3, kInk);  // upwards: from row 8 to row 4
    EXPECT_EQ(s.At(1, 2), kInk);
    EXPECT_EQ(s.At(5, 2), kInk);
    EXPECT_EQ(s.At(6, 2), kBack);
    EXPECT_EQ(s.At(0, 2), kBack);
    EXPECT_EQ(s.At(8, 8), kInk);
    EXPECT_EQ(s.At(8, 4), kInk);
    EXPECT_EQ(s.At(8, 3), kBack);
}

TEST(DrawingPrimitives, OutlineDrawsAllFourCorners) {
    SkinSurface s(10, 10, kBack);
    Outline(s.Dc(), 1, 2, 6, 4, kInk);
    for (auto [x, y] : std::vector<std::pair<int, int>>{{1, 2}, {7, 2}, {7, 6}, {1, 6}, {4, 2}, {7, 4}, {4, 6}, {1, 4}})
        EXPECT_EQ(s.At(x, y), kInk) << x << "," << y;
    EXPECT_EQ(s.At(8, 2), kBack);
    EXPECT_EQ(s.At(1, 7), kBack);
    EXPECT_EQ(s.At(4, 4), kBack);
}

TEST(DrawingPrimitives, FillExcludesRightAndBottomAndNegativeSizesFillNothing) {
    SkinSurface s(10, 10, kBack);
    Fill(s.Dc(), 2, 3, 4, 2, kInk);
    EXPECT_EQ(s.At(2, 3), kInk);
    EXPECT_EQ(s.At(5, 4), kInk);
    EXPECT_EQ(s.At(6, 4), kBack);
    EXPECT_EQ(s.At(5, 5), kBack);
    Fill(s.Dc(), 8, 8, -3, -3, 0x0000FF);
    Fill(s.Dc(), 8, 8, -3, 2, 0x0000FF);
    for (int y = 0; y < 10; ++y)
        for (int x = 6; x < 10; ++x) EXPECT_EQ(s.At(x, y), kBack) << x << "," << y;
}
