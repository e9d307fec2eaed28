#include "controls/themedbutton/Drawing.h"

#include <gtest/gtest.h>

#include <vector>

#include "themedbutton/SkinTesting.h"

using namespace controls::themedbutton;
using skin_testing::ExpectProbes;
using skin_testing::Probe;
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
        {LightenColor(0x000000, 32), 0x202020},
        {LightenColor(0xFFFFFF, 32), 0xFFFFFF},
        {LightenColor(0x80FF01, 176), 0xD7FFB0},  // 176 + 79 x 128 / 255 = 215.6 -> 215 (0xD7); 176 + 0.3 -> 176
        {LightenColor(0x643200, 128), 0xB19880},  // 128 + 127 x 50 / 255 = 152.9 -> 152; 128 + 49.8 -> 177
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

struct GradientCase {
    const char* name;
    long from, to;
    int x1, y, x2, n;
    std::vector<Probe> probes;
};

TEST(DrawingPrimitives, GradientRows) {
    const GradientCase cases[] = {
        // n + 1 rows y..y+n, columns x1..x2-1.
        {"rows and columns",
         0x000000,
         0x0000FF,
         1,
         1,
         5,
         14,
         {{1, 1, 0x000000}, {4, 15, 0x0000FF}, {1, 16, kBack}, {1, 0, kBack}, {0, 8, kBack}, {5, 8, kBack}}},
        // The step 255 / 14 in single precision makes line 7 127.49999: 127, not 128.
        {"single-precision step", 0x000000, 0x0000FF, 1, 1, 5, 14, {{2, 8, 0x00007F}}},
        // 255 / 22 x 11 is 127.5 in single precision, which goes to the even 128.
        {"single-precision product", 0x000000, 0x0000FF, 0, 0, 3, 22, {{1, 11, 0x000080}}},
        // Per channel 0 -> 3, 0 -> 1, 2 -> 3 over two steps: 1.5 -> 2, 0.5 -> 0, 2.5 -> 2.
        {"halves to even", 0x020000, 0x030103, 0, 0, 3, 2, {{0, 1, 0x020002}, {0, 2, 0x030103}}},
        {"drawn backwards",
         0x00FF00,
         0x00FF00,
         5,
         2,
         1,
         2,
         {{1, 2, kBack}, {2, 2, 0x00FF00}, {5, 4, 0x00FF00}, {6, 3, kBack}}},
        {"n = 0 draws nothing", 0x00FF00, 0x0000FF, 0, 0, 8, 0, {{0, 0, kBack}, {4, 1, kBack}}},
        {"negative n draws nothing", 0x00FF00, 0x0000FF, 0, 3, 8, -2, {{0, 1, kBack}, {0, 2, kBack}, {0, 3, kBack}}},
        {"x2 = x1 draws nothing", 0x00FF00, 0x0000FF, 3, 0, 3, 5, {{3, 0, kBack}, {3, 3, kBack}, {2, 3, kBack}}},
        // Partly off the surface: the visible rows keep their place in the gradient.
        {"clipped",
         0x000000,
         0x0000FA,
         -3,
         -2,
         4,
         5,
         {{0, 0, 0x000064}, {3, 3, 0x0000FA}, {4, 0, kBack}, {0, 4, kBack}}},
    };
    for (const auto& c : cases) {
        SkinSurface s(10, 30, kBack);
        GradientRows(s.Dc(), c.from, c.to, c.x1, c.y, c.x2, c.n);
        ExpectProbes(s, c.probes, c.name);
    }
}

TEST(DrawingPrimitives, GradientColumns) {
    struct Case {
        const char* name;
        int x1, y1, x2, y2;
        std::vector<Probe> probes;
    };
    // Blue 0 -> 255 over three steps: 0, 85, 170, 255 in columns x1..x2, rows y1..y2-1.
    const Case cases[] = {
        {"columns and rows",
         1,
         2,
         4,
         6,
         {{1, 2, 0x000000},
          {2, 3, 0x550000},
          {3, 5, 0xAA0000},
          {4, 2, 0xFF0000},
          {5, 2, kBack},
          {2, 6, kBack},
          {2, 1, kBack}}},
        {"drawn upwards", 1, 6, 4, 2, {{1, 6, 0x000000}, {4, 3, 0xFF0000}, {4, 2, kBack}, {4, 7, kBack}}},
        {"x2 = x1 draws nothing", 3, 0, 3, 8, {{3, 0, kBack}, {3, 4, kBack}}},
        {"x2 < x1 draws nothing", 5, 0, 2, 8, {{2, 4, kBack}, {3, 4, kBack}, {5, 4, kBack}}},
    };
    for (const auto& c : cases) {
        SkinSurface s(10, 10, kBack);
        GradientColumns(s.Dc(), 0x000000, 0xFF0000, c.x1, c.y1, c.x2, c.y2);
        ExpectProbes(s, c.probes, c.name);
    }
}

TEST(DrawingPrimitives, BandsKeepToTheClippingAndTheOrigin) {
    SkinSurface s(12, 12, kBack);
    base::RegionHandle clip(::CreateRectRgn(2, 2, 6, 6));
    ::SelectClipRgn(s.Dc(), clip.Get());
    GradientRows(s.Dc(), 0x00FF00, 0x00FF00, 0, 0, 12, 11);
    ::SelectClipRgn(s.Dc(), nullptr);
    ExpectProbes(s, {{1, 3, kBack}, {2, 2, 0x00FF00}, {5, 5, 0x00FF00}, {6, 5, kBack}, {3, 6, kBack}}, "clip region");

    ::SetViewportOrgEx(s.Dc(), 7, 6, nullptr);
    GradientColumns(s.Dc(), 0x0000FF, 0x0000FF, 0, 0, 2, 3);
    ::SetViewportOrgEx(s.Dc(), 0, 0, nullptr);
    ExpectProbes(s, {{7, 6, 0x0000FF}, {9, 8, 0x0000FF}, {10, 6, kBack}, {7, 9, kBack}, {0, 0, kBack}}, "origin");
}

TEST(DrawingPrimitives, ParallelLinesOfGivenColours) {
    const long colors[] = {0x0000FF, 0x00FF00, 0xFF0000};
    SkinSurface s(10, 10, kBack);
    RowLines(s.Dc(), colors, 3, 6, 1, 2);     // rows 1..3, columns 3..6
    ColumnLines(s.Dc(), colors, 3, 1, 9, 5);  // columns 1..3, rows 6..9
    ExpectProbes(s,
                 {{3, 1, 0x0000FF},
                  {6, 2, 0x00FF00},
                  {4, 3, 0xFF0000},
                  {2, 2, kBack},
                  {7, 2, kBack},
                  {4, 4, kBack},
                  {1, 9, 0x0000FF},
                  {2, 6, 0x00FF00},
                  {3, 7, 0xFF0000},
                  {2, 5, kBack},
                  {4, 7, kBack}},
                 "lines");
}
