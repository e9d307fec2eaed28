// Style 10: three pictures laid out as a stretchable frame.
#include <gtest/gtest.h>

#include "themedbutton/SkinTesting.h"

using namespace skin_testing;
using controls::themedbutton::SkinInput;

namespace {
SkinInput Input(int w, int h, int state = 1, bool focus = false) {
    return SkinInput{.width = w, .height = h, .state = state, .hasFocus = focus};
}
constexpr long kNormal = 0xEAE7E8;
constexpr long kHot = 0xE2A66A;
constexpr long kPressed = 0xCC9B6A;
}  // namespace

TEST(SkinStyle10, PictureByStateAndFocus) {
    struct Case {
        int state;
        bool focus;
        long centre;
    };
    const Case cases[] = {{1, false, kNormal}, {1, true, kHot},      {2, false, kHot},   {5, false, kHot},
                          {3, false, kPressed}, {3, true, kPressed}, {4, false, kNormal}, {4, true, kHot}};
    for (const auto& c : cases) {
        auto s = Draw(10, Input(120, 40, c.state, c.focus));
        // The centre fill shows from column 18 and row 13 (rows 11 and 12 are top edge lines) to W - 18, H - 11.
        EXPECT_EQ(s->At(60, 20), c.centre) << c.state << " " << c.focus;
        EXPECT_EQ(s->At(18, 13), c.centre) << c.state << " " << c.focus;
        EXPECT_EQ(s->At(102, 29), c.centre) << c.state << " " << c.focus;
    }
}

TEST(SkinStyle10, FixedCornersAndOneColourPerEdgeLine) {
    for (const int state : {1, 2, 3}) {
        auto small = Draw(10, Input(120, 40, state));
        auto large = Draw(10, Input(200, 60, state));
        const auto& a = *small;
        const auto& b = *large;
        for (int r = 0; r < 13; ++r) {  // top edge rows, between the corner blocks
            EXPECT_EQ(a.At(18, r), a.At(60, r)) << r;
            EXPECT_EQ(a.At(18, r), a.At(102, r)) << r;
            EXPECT_EQ(a.At(18, r), b.At(182, r)) << r;
        }
        for (int j = 0; j < 10; ++j) {  // bottom edge rows H - 10 .. H - 1
            EXPECT_EQ(a.At(18, 30 + j), a.At(102, 30 + j)) << j;
            EXPECT_EQ(a.At(18, 30 + j), b.At(100, 50 + j)) << j;
        }
        for (int c = 0; c < 18; ++c) {  // left edge columns, rows 11 .. H - 11
            EXPECT_EQ(a.At(c, 11), a.At(c, 29)) << c;
            EXPECT_EQ(a.At(c, 11), b.At(c, 30)) << c;
        }
        for (int i = 0; i < 17; ++i) {  // right edge columns W - 17 .. W - 1
            EXPECT_EQ(a.At(103 + i, 11), a.At(103 + i, 29)) << i;
            EXPECT_EQ(a.At(103 + i, 20), b.At(183 + i, 40)) << i;
        }
        for (int y = 0; y < 11; ++y)  // corner blocks: the same pixels at any size
            for (int x = 0; x < 17; ++x) {
                EXPECT_EQ(a.At(x, y), b.At(x, y));
                EXPECT_EQ(a.At(103 + x, y), b.At(183 + x, y));
                if (y < 10) {
                    EXPECT_EQ(a.At(x, 30 + y), b.At(x, 50 + y));
                    EXPECT_EQ(a.At(103 + x, 30 + y), b.At(183 + x, 50 + y));
                }
            }
        // The border shows at the middle of each side, darker than the centre.
        EXPECT_NE(a.At(0, 20), a.At(60, 20));
        EXPECT_NE(a.At(60, 0), a.At(60, 20));
    }
}

TEST(SkinStyle10, BelowTheFrameSizeThePiecesOverlapInOrder) {
    // 30 x 16: no centre; corner blocks, then the left and right edge columns
    // (rows 7..11, drawn upwards from 11 to 6), then the top and bottom rows
    // (columns 14..18, drawn leftwards from 18 to 13).
    auto tiny = Draw(10, Input(30, 16));
    auto large = Draw(10, Input(120, 40));
    const auto& t = *tiny;
    const auto& l = *large;
    EXPECT_EQ(t.At(16, 9), l.At(18, 33));   // bottom row 3 over everything
    EXPECT_EQ(t.At(16, 2), l.At(18, 2));    // top row 2
    EXPECT_EQ(t.At(5, 9), l.At(5, 20));     // left column 5
    EXPECT_EQ(t.At(25, 9), l.At(115, 20));  // right column 12
    EXPECT_EQ(t.At(20, 2), l.At(110, 2));   // top-right block
    EXPECT_EQ(t.At(25, 14), l.At(115, 38)); // bottom-right block
    EXPECT_EQ(t.At(3, 3), l.At(3, 3));      // top-left block
    for (const SIZE size : {SIZE{30, 16}, SIZE{33, 18}, SIZE{12, 8}, SIZE{1, 1}}) {
        auto s = Draw(10, Input(size.cx, size.cy));
        for (int y = 0; y < size.cy; ++y)
            for (int x = 0; x < size.cx; ++x) EXPECT_NE(s->At(x, y), kUnpainted) << size.cx << "x" << size.cy;
    }
}
