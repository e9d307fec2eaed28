// Style 5, the default skin, pixel by pixel on a 40 x 20 surface.
#include <gtest/gtest.h>

#include "themedbutton/SkinTesting.h"

using namespace skin_testing;
using controls::themedbutton::SkinInput;

namespace {
constexpr int kW = 40;
constexpr int kH = 20;

SkinInput Input(int state, bool focus = false, bool defaultHint = false, bool showFocus = false) {
    return SkinInput{.width = kW,
                     .height = kH,
                     .state = state,
                     .hasFocus = focus,
                     .defaultHint = defaultHint,
                     .showFocus = showFocus,
                     .backColor = 0x808080,
                     .highlightColor = 0x204060};
}

// The border and its softened corners, in every state but the disabled one.
const std::vector<Probe> kBorder = {
    {10, 0, 0x743C00},  {0, 10, 0x743C00},  {39, 10, 0x743C00}, {10, 19, 0x743C00}, {0, 0, kFace},
    {39, 0, kFace},     {0, 19, kFace},     {39, 19, kFace},     {1, 1, 0x906E48},   {38, 18, 0x906E48},
    {1, 18, 0x906E48},  {0, 1, 0xA28B6A},   {1, 0, 0xA28B6A},    {39, 18, 0xA28B6A}, {38, 19, 0xA28B6A},
    {38, 0, 0xA28B6A},  {39, 1, 0xA28B6A},  {0, 18, 0xA28B6A},   {1, 19, 0xA28B6A},  {38, 17, 0xCAC7BF},
    {37, 18, 0xCAC7BF}, {37, 1, 0xCAC7BF},  {2, 18, 0xCAC7BF},
};
}  // namespace

struct Style5Case {
    const char* name;
    SkinInput input;
    std::vector<Probe> probes;
    bool bordered;
};

TEST(SkinStyle5, StatesPixelByPixel) {
    const Style5Case cases[] = {
        {"disabled: outline and corner cuts on 0xEAF4F5, nothing else",
         Input(4, true, true, true),
         {{5, 5, 0xEAF4F5}, {2, 2, 0xEAF4F5}, {37, 17, 0xEAF4F5}, {0, 0, 0xBAC7C9}, {39, 0, 0xBAC7C9}, {0, 19, 0xBAC7C9},
          {39, 19, 0xBAC7C9}, {10, 0, 0xBAC7C9}, {0, 10, 0xBAC7C9}, {39, 10, 0xBAC7C9}, {10, 19, 0xBAC7C9},
          {0, 1, 0xC7D5D8}, {1, 1, 0xC7D5D8}, {1, 0, 0xC7D5D8}, {38, 0, 0xC7D5D8}, {38, 1, 0xC7D5D8},
          {39, 1, 0xC7D5D8}, {0, 18, 0xC7D5D8}, {1, 18, 0xC7D5D8}, {1, 19, 0xC7D5D8}, {39, 18, 0xC7D5D8},
          {38, 18, 0xC7D5D8}, {38, 19, 0xC7D5D8}, {2, 1, 0xEAF4F5}},
         false},
        {"pressed: the face bands",
         Input(3),
         {{10, 1, 0xC1CCD1}, {10, 2, 0xC8D2D6}, {10, 3, 0xCED8DA},  // 218.5 -> 218, 215.5 -> 216, 206.5 -> 206
          {10, 4, 0xDCE3E4}, {10, 15, 0xDBE2E3}, {10, 16, 0xDBE2E3}, {10, 17, 0xE1E7E8}, {3, 18, 0xE8ECED},
          {2, 1, 0xCAC7BF}, {1, 3, 0xCED8DA}, {1, 16, 0xD9E1E2}, {2, 4, 0xCED8DA}, {2, 17, 0xDBE2E3},
          {38, 5, 0xDCE3E4}, {39, 5, 0x743C00}},
         true},
        {"normal without focus or default hint: the face, no lines",
         Input(1, false, false, true),
         {{5, 1, 0xFBFCFC}, {5, 2, 0xF8F9F9}, {5, 4, 0xF9FAFA}, {5, 10, 0xF2F5F5}, {5, 16, 0xE6EBEB}, {5, 18, 0xD0D9DD},
          {37, 3, 0xFAFBFB}, {38, 3, 0xF2F4F5}, {38, 10, 0xE1E6E9}, {1, 2, 0xCAC7BF}, {2, 1, 0xCAC7BF}},
         true},
        {"hot: the orange lines",
         Input(2),
         {{10, 1, 0xCFF0FF}, {2, 1, 0xCFF0FF}, {37, 1, 0xCFF0FF}, {38, 1, 0x906E48}, {10, 2, 0x89D8FD}, {1, 2, 0x89D8FD},
          {38, 2, 0x89D8FD}, {10, 17, 0x30B3F8}, {1, 17, 0x30B3F8}, {38, 17, 0x30B3F8}, {10, 18, 0x1097E5},
          {2, 9, 0x5FC7FB}, {1, 9, 0x5FC7FB}, {37, 9, 0x5FC7FB}, {38, 9, 0x5FC7FB}, {3, 9, 0xF3F6F6}},
         false},
        {"normal with the default-button hint but without the focus: the blue lines",
         Input(1, false, true, false),
         {{10, 18, 0xEE8269}, {10, 1, 0xFFE7CE}, {10, 2, 0xF6D4BC}, {10, 17, 0xE4AD89}, {1, 9, 0xEEC2A4}, {38, 9, 0xEEC2A4},
          {38, 1, 0x906E48}},
         false},
        {"normal with the focus and without ShowFocus: the blue lines",
         Input(1, true, false, false),
         {{10, 18, 0xEE8269}, {10, 1, 0xFFE7CE}},
         false},
        {"pressed with the focus: no lines",
         Input(3, true, true, true),
         {{10, 1, 0xC1CCD1}, {10, 18, 0xE8ECED}},
         true},
    };
    for (const auto& c : cases) {
        auto s = Draw(5, c.input);
        ExpectProbes(*s, c.probes, c.name);
        if (c.bordered) ExpectProbes(*s, kBorder, c.name);
    }
}

TEST(SkinStyle5, BackgroundIsTheFaceOrTheDisabledColour) {
    struct Case {
        int state;
        long background;
    };
    for (const Case c : {Case{1, kFace}, Case{2, kFace}, Case{3, kFace}, Case{4, 0xEAF4F5}}) {
        long background = 0;
        auto s = Draw(5, Input(c.state), &background);
        EXPECT_EQ(background, Resolve(c.background)) << c.state;
        EXPECT_EQ(s->At(0, 0), c.state == 4 ? 0xBAC7C9 : Resolve(c.background)) << c.state;
    }
}

TEST(SkinStyle5, CustomColoursFromBackColorAndTheHighlights) {
    struct Case {
        const char* name;
        SkinInput input;
        std::vector<Probe> probes;
    };
    auto custom = [](int state, bool focus = false, bool defaultHint = false, bool showFocus = false) {
        SkinInput input = Input(state, focus, defaultHint, showFocus);
        input.useCustomColors = true;
        input.backColor = 0xC0C0C0;
        return input;
    };
    const long systemTop = ShiftRef(Resolve(kHighlight), 85);
    const Case cases[] = {
        // The first pressed band runs from BackColor - 37 to BackColor - 21.
        {"pressed", custom(3), {{10, 1, 0x9B9B9B}, {10, 2, 0x9F9F9F}, {10, 0, 0x0A0A0A}}},
        {"hot: lines from HighlightColor + 85, + 69, + 16",
         custom(2),
         {{10, 1, 0x7595B5}, {10, 2, 0x6585A5}, {10, 17, 0x305070}, {1, 2, 0x6585A5}, {38, 17, 0x305070}}},
        {"state 5: lines from the system highlight", custom(5), {{10, 1, systemTop}}},
        {"focus and ShowFocus: lines from the system highlight", custom(1, true, false, true), {{10, 1, systemTop}}},
        {"focus without ShowFocus: no lines", custom(1, true, false, false), {{10, 1, 0xCBCBCB}}},
        {"default hint without focus: no lines", custom(1, false, true, true), {{10, 1, 0xCBCBCB}}},
        {"disabled: outline and corner cuts only",
         custom(4, true, true, true),
         {{0, 0, 0x929292}, {10, 19, 0x929292}, {0, 1, 0xA0A0A0}, {38, 18, 0xA0A0A0}, {10, 1, 0xC0C0C0}, {5, 5, 0xC0C0C0}}},
    };
    for (const auto& c : cases) ExpectProbes(*Draw(5, c.input), c.probes, c.name);
}

TEST(SkinStyle5, CustomColoursKeepThePreviousBackgroundWhenPressed) {
    for (const int state : {1, 2, 3, 4}) {
        SkinInput input = Input(state);
        input.useCustomColors = true;
        input.backColor = 0xC0C0C0;
        long background = 0;
        auto s = Draw(5, input, &background);
        const long expected = state == 3 ? kUnpainted : 0xC0C0C0;
        EXPECT_EQ(background, expected) << state;
        EXPECT_EQ(s->At(0, 0), state == 4 ? 0x929292 : expected) << state;
    }
}
