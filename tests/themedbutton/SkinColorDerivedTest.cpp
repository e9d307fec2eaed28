// Styles 7, 8 and 9: every colour from the state's base colour.
#include <gtest/gtest.h>

#include "themedbutton/SkinTesting.h"

using namespace skin_testing;
using controls::themedbutton::SkinInput;

namespace {
constexpr long kBack = 0x80A0C0;
constexpr long kHigh = 0x4060F0;

SkinInput Input(int state, bool custom, int w = 40, int h = 20, bool focus = false, long back = kBack) {
    return SkinInput{.width = w,
                     .height = h,
                     .state = state,
                     .hasFocus = focus,
                     .useCustomColors = custom,
                     .backColor = back,
                     .highlightColor = kHigh};
}
}  // namespace

TEST(SkinColorDerived, BaseColourPerStyleAndState) {
    struct Case {
        int style;
        int state;
        long custom;  // with BackColor 0x80A0C0 and HighlightColor 0x4060F0
        int faceShift;
        bool faceShifted;  // without custom colours: the face shifted by faceShift
    };
    const Case cases[] = {
        {7, 1, 0x88A8C8, 8, true},   {7, 2, 0x98B8D8, 24, true},  {7, 3, 0x7797B7, -9, true},
        {7, 4, 0x92B2D2, 18, true},  {8, 1, 0x80A0C0, 0, false},  {8, 2, 0x4F6FFF, 15, true},
        {8, 3, 0x4F6FFF, 15, true},  {8, 4, 0x4F6FFF, 15, true},  {9, 1, 0x7191B1, -15, true},
        {9, 2, 0x4161F1, 1, true},   {9, 3, 0x5878FF, 24, true},  {9, 4, 0x8FAFCF, 15, true},
    };
    const long face = Resolve(kFace);
    for (const auto& c : cases) {
        for (const bool custom : {true, false}) {
            long background = 0;
            auto s = Draw(c.style, Input(c.state, custom), &background);
            const long expected = custom ? c.custom : (c.faceShifted ? ShiftRef(face, c.faceShift) : face);
            EXPECT_EQ(background, expected) << "style " << c.style << " state " << c.state << " custom " << custom;
            // Where each style leaves its background showing (Style 7's hot lines cover it).
            const POINT shows = c.style == 8 ? POINT{37, 5} : c.style == 9 ? POINT{2, 2} : POINT{10, 18};
            if (c.style != 7 || c.state != 2) {
                EXPECT_EQ(s->At(shows.x, shows.y), expected) << "style " << c.style << " state " << c.state;
            }
        }
    }
}

TEST(SkinColorDerived, Style8Geometry) {
    struct Case {
        const char* name;
        SkinInput input;
        std::vector<Probe> probes;
    };
    // State 1: C = D = 0x80A0C0, E = D - 48, shade = E + 21, its last line + 15 more.
    const long c1 = 0x80A0C0, e1 = 0x507090, light1 = 0xE0FFFF, shade1 = 0x6585A5, shade2 = 0x7494B4;
    const Case cases[] = {
        {"normal",
         Input(1, true),
         {{5, 2, 0x8FAFCF}, {5, 16, 0x7191B1}, {5, 1, light1},  {1, 5, light1},  {1, 16, light1}, {5, 17, c1},
          {37, 5, c1},      {38, 5, e1},       {5, 0, e1},      {0, 5, e1},      {5, 18, e1},     {1, 1, e1},
          {1, 17, e1},      {37, 1, e1},       {37, 17, e1},    {5, 19, shade1}, {35, 19, shade1}, {36, 19, shade1},
          {37, 18, shade1}, {38, 17, shade1},  {39, 16, shade1}, {39, 3, shade1}, {39, 15, shade1}, {37, 19, shade2},
          {38, 18, shade2}, {39, 17, shade2},  {2, 19, c1},     {0, 1, c1},      {39, 2, c1}}},
        {"normal with the focus: the border darker", Input(1, true, 40, 20, true),
         {{5, 0, 0x204060}, {1, 1, 0x204060}, {5, 19, 0x355575}}},
        {"hot: C from the highlight colour, border from BackColor", Input(2, true),
         {{5, 0, e1}, {5, 1, 0xAFCFFF}, {5, 2, ShiftRef(0x4F6FFF, 15)}}},
        {"pressed with the focus: face and inner lines turned over, the border not darker",
         Input(3, true, 40, 20, true),
         {{5, 2, 0x4060F0}, {5, 16, 0x5E7EFF}, {5, 1, 0x4F6FFF}, {1, 5, 0x4F6FFF}, {5, 17, 0xAFCFFF}, {5, 0, e1}}},
    };
    for (const auto& c : cases) ExpectProbes(*Draw(8, c.input), c.probes, c.name);
}

TEST(SkinColorDerived, Style9FaceEdgeAndShadedEnds) {
    // State 1 with BackColor 0x8FAFCF: C = 0x80A0C0.
    const long back = 0x8FAFCF, c = 0x80A0C0;
    ExpectProbes(*Draw(9, Input(1, true, 40, 20, false, back)),
                 {{10, 2, 0xA0C0E0},   // face from C + 32 ...
                  {10, 3, 0x9BBBDB},
                  {0, 0, 0xFFFFFF},    // column 0 from C + 128 ...
                  {0, 8, 0x8090A0},
                  {0, 16, 0x002040},   // ... to C - 128 at row H - 4
                  {2, 4, c},           // column 2 from row 4, n = H/2 - 7, to C - 37
                  {2, 5, 0x7494B4},
                  {2, 7, 0x5B7B9B},
                  {2, 8, 0x5B7B9B},    // the lower half from row H/2 - 2
                  {3, 3, c},           // column 3 from row 3 to C - 53
                  {3, 7, 0x4B6B8B},
                  {4, 2, c},           // column 4 from row 2 to C - 37
                  {4, 7, 0x5B7B9B},
                  {37, 5, 0x7494B4},   // the right end mirrors the left
                  {2, 2, c}},
                 "40 x 20");
    // H = 27: half the height, 13.5, goes to the even 14, so column 2 runs over n = 7 rows.
    ExpectProbes(*Draw(9, Input(1, true, 40, 27, false, back)), {{2, 10, 0x6080A0}, {2, 11, 0x5B7B9B}}, "40 x 27");
}

TEST(SkinColorDerived, Style7BandsAndHighlightLines) {
    struct Case {
        const char* name;
        SkinInput input;
        std::vector<Probe> probes;
    };
    // State 2 with BackColor 0x80A0C0: base 0x98B8D8.
    const Case cases[] = {
        {"hot: face, strips and lines from HighlightColor",
         Input(2, true),
         {{10, 2, 0xA6C6E6}, {2, 5, 0xA2C2E2}, {37, 5, 0x8CACCC}, {10, 1, 0xA0C0FF}, {10, 0, 0x385878}}},
        {"hot without custom colours: lines from the system highlight", Input(2, false),
         {{10, 1, ShiftRef(Resolve(kHighlight), 96)}}},
        {"normal with the focus: lines from the system highlight", Input(1, true, 40, 20, true),
         {{10, 1, ShiftRef(Resolve(kHighlight), 96)}}},
        {"normal without the focus: no lines", Input(1, true), {{10, 1, 0x94B4D4}}},
    };
    for (const auto& c : cases) ExpectProbes(*Draw(7, c.input), c.probes, c.name);
}
