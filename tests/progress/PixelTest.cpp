// The bar's pixels against the drawing arithmetic, read from its back buffer
// after a full redraw. Unless a case says otherwise the bar is 481 x 25 (the
// output window's) in red 51, green 94, blue 168.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "BarTestSupport.h"
#include "base/Rounding.h"
#include "controls/progress/BarCaption.h"
#include "controls/progress/BarLook.h"
#include "forms/Dib.h"

using namespace progress_test;

namespace {

constexpr int W = 481;
constexpr int H = 25;

// The bar colour's lighter forms, channel by channel k + x * (255 - k) / 255, and its blends with black.
constexpr COLORREF kLight10 = 0xAB643B;
constexpr COLORREF kLight25 = 0xB06D47;
constexpr COLORREF kLight100 = 0xCA9D83;
constexpr COLORREF kLight140 = 0xD7B6A3;
constexpr COLORREF kLight150 = 0xDBBCAB;
constexpr COLORREF kLight180 = 0xE5CFC3;
constexpr COLORREF kLight200 = 0xECDCD3;
constexpr COLORREF kLight220 = 0xF3E8E3;
constexpr COLORREF kLight250 = 0xFDFBFB;
constexpr COLORREF kDarkOutline = 0x844A28;  // 200 of 255 parts of the colour, the rest black
constexpr COLORREF kDarkEnd = 0x492D1D;      // 100 parts of the colour, lightened by 10
constexpr COLORREF kFrameDark = 0x686868;
constexpr COLORREF kFrameGrey = 0xBEBEBE;
constexpr COLORREF kFrameLight = 0xEFEFEF;

struct Spot {
    int x, y;
    COLORREF color;
};

struct PixelCase {
    std::string name;
    int width, height;
    std::function<void(controls::XP_ProgressBar&)> setup;
    std::vector<Spot> spots;
};

auto At(int style, int value, int orientation = 0) {
    return [=](controls::XP_ProgressBar& bar) {
        bar.SetScrolling(style);
        bar.SetOrientation(orientation);
        bar.SetValue(value);
    };
}

const PixelCase kCases[] = {
    {"Style0AtZeroShowsOneBlockAndAGap",
     W,
     H,
     At(0, 0),
     {{0, 12, kFrameDark},
      {1, 12, kFrameGrey},
      {2, 12, kFrameLight},
      {3, 12, kWhite},
      {4, 12, kBarColor},
      {9, 12, kBarColor},
      {10, 12, kWhite},
      {11, 12, kWhite},
      {12, 12, kWhite},
      {240, 12, kWhite},
      // light at the top and bottom edges: rows 3 to 9 and 15 to 21 are gradients over 6 steps
      {4, 3, kLight150},
      {4, 4, 0xD2AC97},
      {4, 7, 0xB97D5B},
      {9, 8, kBarColor},
      {4, 16, 0xB06E47},
      {4, 18, 0xC28D6F},
      {4, 21, kLight150},
      {4, 22, kWhite},
      {4, 2, kFrameLight},
      {4, 1, kFrameGrey}}},
    {"Style0AtHundredReachesTheBorderUnderTheFrame",
     W,
     H,
     At(0, 100),
     {{4, 12, kBarColor},
      {10, 12, kWhite},
      {473, 12, kBarColor},
      {474, 12, kWhite},
      {475, 12, kWhite},
      {476, 12, kBarColor},
      {478, 12, kBarColor},
      {479, 12, kFrameLight},
      {480, 12, kFrameDark},
      {478, 3, kLight150},
      {478, 21, kLight150}}},
    {"Style1IsOneSmoothBar",
     W,
     H,
     At(1, 50),
     {{4, 12, kBarColor}, {10, 12, kBarColor}, {246, 12, kBarColor}, {247, 12, kWhite}}},
    {"Style2SlidesThreeBlocksBehindTheFill",
     W,
     H,
     At(2, 50),
     // at 224.5, 236.5 and 248.5, rounded to the even neighbours
     {{223, 12, kWhite},
      {224, 12, kLight220},
      {233, 12, kLight200},
      {234, 12, kWhite},
      {235, 12, kWhite},
      {236, 12, kLight180},
      {248, 12, kLight140},
      {257, 12, 0xD0A993},
      {258, 12, kWhite},
      {224, 3, kLight220},
      {224, 22, kLight220},
      {224, 23, kFrameLight}}},
    {"Style3IsAFlatFill",
     W,
     H,
     At(3, 50),
     {{0, 12, kLight100},
      {239, 0, kLight100},
      {1, 12, kLight180},
      {239, 12, kLight180},
      {240, 12, kWhite},
      {239, 24, kLight100}}},
    {"Style4IsAGradientInASunkenEdge",
     W,
     H,
     At(4, 50),
     {{2, 12, kLight140},
      {121, 12, 0xE2C9BB},
      {240, 12, kLight200},
      {241, 12, kWhite},
      {121, 21, 0xE2C9BB},
      {100, 22, kWhite}}},
    {"Style5DrawsABackgroundAndAFillGradient",
     W,
     H,
     At(5, 50),
     {{0, 12, kLight10},
      {1, 12, kWhite},
      {300, 2, kBarColor},
      {300, 12, 0xB97E5B},
      {300, 22, kLight100},
      {478, 12, 0xB97E5B},
      {479, 12, kWhite},
      {100, 2, kBarColor},
      {100, 3, kLight250},
      {100, 12, 0xD5B19C},
      {100, 22, kBarColor},
      {237, 12, 0xD5B19C},
      {238, 12, kLight25},
      {239, 12, 0xB97E5B}}},
    {"Style6IsDarkWithABlendedOutline",
     W,
     H,
     At(6, 100),
     {{0, 12, kDarkOutline},
      {480, 12, kDarkOutline},
      {240, 0, kDarkOutline},
      {1, 12, kBlack},
      {2, 12, kBlack},
      {240, 12, 0x24160E},
      {478, 12, kDarkEnd},
      {479, 12, kBlack},
      {240, 23, kBlack}}},
    {"Style6AtZeroIsAllBlackInside", W, H, At(6, 0), {{2, 12, kBlack}, {3, 12, kBlack}, {240, 12, kBlack}}},
    {"Style9DrawsItsGradientsUnderTheFrame",
     W,
     H,
     At(9, 50),
     {{3, 3, 0xD2B19F},
      {3, 22, kBarColor},
      {237, 22, kBarColor},
      {238, 22, 0xC0C0C0},
      {300, 3, 0xF9F9F9},
      {300, 2, kFrameLight},
      {479, 12, kFrameLight},
      {0, 0, kWhite},
      {1, 1, 0x777777}}},
    {"Style0VerticalFillsFromTheBottomInBlocks",
     25,
     200,
     At(0, 50, 1),
     {{12, 103, kWhite},      {12, 104, kBarColor}, {12, 109, kBarColor}, {12, 110, kWhite},
      {12, 111, kWhite},      {12, 112, kBarColor}, {12, 149, kBarColor}, {12, 150, kWhite},
      {12, 152, kBarColor},   {12, 189, kBarColor}, {12, 190, kWhite},    {12, 197, kBarColor},
      {12, 198, kFrameLight}, {3, 120, kWhite},     {4, 120, kLight150},  {6, 120, 0xC28D6F},
      {8, 120, kBarColor},    {21, 120, kLight150}, {22, 120, kWhite},    {23, 120, kFrameLight}}},
    {"Style1VerticalIsOneSmoothBar",
     25,
     200,
     At(1, 50, 1),
     {{12, 97, kWhite}, {12, 98, kBarColor}, {12, 150, kBarColor}, {12, 197, kBarColor}}},
    {"Style2VerticalSlidesThreeBands",
     25,
     200,
     At(2, 50, 1),
     {{12, 97, kWhite},
      {12, 98, kLight220},
      {12, 107, kLight200},
      {12, 108, kWhite},
      {12, 110, kLight180},
      {12, 122, kLight140},
      {12, 132, kWhite},
      {3, 98, kLight220},
      {2, 98, kFrameLight}}},
    // Every corner pixel on a bar so small that later ones overwrite earlier ones.
    {"FrameCornersInTheirOrder",
     4,
     4,
     At(1, 0),
     {{0, 0, 0xFFFFFF},
      {0, 1, 0x7D7E7F},
      {0, 2, 0xA7ABAC},
      {0, 3, 0xFFFFFF},
      {1, 0, 0xA7ABAC},
      {1, 1, 0x777777},
      {1, 2, 0x777777},
      {1, 3, 0x7D7E7F},
      {2, 0, 0x7D7E7F},
      {2, 1, 0x686868},
      {2, 2, 0x777777},
      {2, 3, 0xBEBEBE},
      {3, 0, 0xFFFFFF},
      {3, 1, 0x7D7E7F},
      {3, 2, 0xBEBEBE},
      {3, 3, 0xFFFFFF}}},
    {"FrameCorners", W, H, At(1, 0), {{0, 0, 0xFFFFFF},         {0, 1, 0xA6ABAC},         {0, 2, 0x7D7E7F},
                                      {1, 0, 0xA7ABAC},         {1, 1, 0x777777},         {2, 0, 0x7D7E7F},
                                      {2, 2, 0xBEBEBE},         {0, H - 1, 0xFFFFFF},     {1, H - 1, 0xA6ABAC},
                                      {2, H - 1, 0x7D7E7F},     {0, H - 3, 0x7D7E7F},     {0, H - 2, 0xA7ABAC},
                                      {1, H - 2, 0x777777},     {W - 1, 0, 0xFFFFFF},     {W - 1, 1, 0xBEBEBE},
                                      {W - 1, 2, 0x7D7E7F},     {W - 2, 2, 0xBEBEBE},     {W - 2, 1, 0x686868},
                                      {W - 1, H - 1, 0xFFFFFF}, {W - 1, H - 2, 0xBEBEBE}, {W - 1, H - 3, 0x7D7E7F},
                                      {W - 2, H - 2, 0x777777}, {W - 2, H - 1, 0xBEBEBE}, {W - 3, H - 1, 0x7D7E7F}}},
};

class BarPixels : public ::testing::TestWithParam<PixelCase> {};

TEST_P(BarPixels, MatchTheArithmetic) {
    const PixelCase& c = GetParam();
    auto bar = MakeBar(c.width, c.height);
    c.setup(*bar);
    const Drawn drawn = Render(*bar);
    for (const Spot& s : c.spots) EXPECT_EQ(drawn.At(s.x, s.y), s.color) << "at (" << s.x << ", " << s.y << ")";
}

INSTANTIATE_TEST_SUITE_P(Bar, BarPixels, ::testing::ValuesIn(kCases), [](const auto& info) { return info.param.name; });

TEST(BarPixels, AValueAboveMaxDrawsTheSamePictureAsAHundred) {
    for (int style = 0; style <= 9; ++style) {
        SCOPED_TRACE(style);
        auto full = MakeBar(W, H);
        At(style, 100)(*full);
        auto beyond = MakeBar(W, H);
        beyond->SetScrolling(style);
        beyond->SetMax(80);
        beyond->SetValue(120);
        EXPECT_TRUE(Render(*beyond).SameAs(Render(*full)));
    }
}

TEST(BarPixels, AValueFarBelowMinDrawsTheSamePictureAsOneJustBelow) {
    auto draw = [](int style, int value) {
        auto bar = MakeBar(W, H);
        void* bits = nullptr;
        base::BitmapHandle tile = forms::CreateTopDownDib(8, 8, &bits);
        std::fill_n(static_cast<std::uint32_t*>(bits), 64, 0x0000FFu);
        bar->SetImage(forms::Picture::FromBitmap(std::move(tile)));
        bar->SetScrolling(style);
        bar->SetValue(value);
        return Render(*bar);
    };
    for (int style = 0; style <= 9; ++style)
        EXPECT_TRUE(draw(style, -5'000'000).SameAs(draw(style, -1))) << "style " << style;
}

// ---- Style 7's hatch and style 8's pattern, counted in an 8 x 8 square of the fill

int HatchPixels(controls::XP_ProgressBar& bar) {
    bar.SetScrolling(7);
    bar.SetValue(100);
    const Drawn drawn = Render(bar);
    const RECT square{100, 8, 108, 16};
    EXPECT_EQ(drawn.Count(square, kBarColor) + drawn.Count(square, kLight140), 64);
    return drawn.Count(square, kBarColor);
}

TEST(BarHatch, IsACrossWhenTheStoreGaveNoHatchStyle) {
    forms::PropertyBag saved;
    saved.Write(L"Color", std::int32_t{static_cast<std::int32_t>(kBarColor)});
    auto bar = MakeBar(W, H, saved);
    EXPECT_EQ(HatchPixels(*bar), 15);  // one row and one column of eight
}

TEST(BarHatch, FollowsBrushStyle) {
    const struct { int hatch, lines; } kHatches[] = {{HS_HORIZONTAL, 8}, {HS_VERTICAL, 8}, {HS_CROSS, 15}};
    for (const auto& h : kHatches) {
        auto bar = MakeBar(W, H);
        bar->SetBrushStyle(h.hatch);
        EXPECT_EQ(HatchPixels(*bar), h.lines) << "hatch " << h.hatch;
    }
}

TEST(BarPattern, WithoutAnImageOnlyTheSunkenEdgeIsDrawnOnWhite) {
    auto bar = MakeBar(W, H);
    At(8, 60)(*bar);
    const Drawn drawn = Render(*bar);
    EXPECT_EQ(drawn.Count(RECT{1, 1, W - 1, H - 1}, kWhite), (W - 2) * (H - 2));
    EXPECT_EQ(drawn.At(0, 12), ::GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(drawn.At(240, 0), ::GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(drawn.At(W - 1, 12), ::GetSysColor(COLOR_BTNHIGHLIGHT));
}

TEST(BarPattern, WithAnImageTheFillIsThePattern) {
    void* bits = nullptr;
    base::BitmapHandle bitmap = forms::CreateTopDownDib(8, 8, &bits);
    auto* pixels = static_cast<std::uint32_t*>(bits);
    for (int i = 0; i < 64; ++i) pixels[i] = (i % 8 == 0) ? 0x0000FF : 0x00FF00;  // blue first column, green rest
    auto bar = MakeBar(W, H);
    bar->SetImage(forms::Picture::FromBitmap(std::move(bitmap)));
    At(8, 50)(*bar);
    const Drawn drawn = Render(*bar);
    const int end = 2 + 238;  // 50 of 101 parts of the width
    EXPECT_EQ(drawn.Count(RECT{2, 2, end, H - 2}, 0x00FF00) + drawn.Count(RECT{2, 2, end, H - 2}, 0xFF0000),
              (end - 2) * (H - 4));
    const int blue = drawn.Count(RECT{2, 2, end, 3}, 0xFF0000);  // one column in eight
    EXPECT_GE(blue, (end - 2) / 8);
    EXPECT_LE(blue, (end - 2 + 7) / 8);
    EXPECT_EQ(drawn.Count(RECT{end, 2, W - 2, H - 2}, kWhite), (W - 2 - end) * (H - 4));
}

// ---- The text

TEST(BarText, SaysSearchingForStyle2AndThePercentageOtherwise) {
    const struct {
        int style, percent;
        const wchar_t* text;
    } kTexts[] = {
        {2, 0, L"Searching.."}, {2, 77, L"Searching.."}, {0, 42, L"42 %"}, {9, 100, L"100 %"}, {1, -5, L"-5 %"}};
    for (const auto& t : kTexts) {
        controls::progress::BarLook look;
        look.style = t.style;
        look.percent = t.percent;
        EXPECT_EQ(controls::progress::CaptionText(look), t.text);
    }
}

// The columns of the bar's black pixels, from the first to the last.
std::pair<int, int> BlackColumns(const Drawn& drawn) {
    int first = drawn.Width(), last = -1;
    for (int y = 0; y < drawn.Height(); ++y)
        for (int x = 0; x < drawn.Width(); ++x)
            if (drawn.At(x, y) == kBlack) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    return {first, last};
}

TEST(BarText, IsCentredWhateverTheValue) {
    Surface measure(8, 8);
    std::pair<int, int> expected{};
    for (int value : {0, 30, 70}) {
        auto bar = MakeBar(W, H);
        bar->SetShowText(true);
        At(2, value)(*bar);
        if (value == 0) {
            base::FontHandle font = bar->Font()->CreateHandle(96);
            base::SelectedObject selected(measure.Dc(), font.Get());
            SIZE text{};
            ::GetTextExtentPoint32W(measure.Dc(), L"Searching..", 11, &text);
            const int left = base::RoundToInt(W / 2.0 - text.cx / 2.0);
            expected = BlackColumns(Render(*bar));
            EXPECT_GE(expected.first, left);
            EXPECT_LT(expected.second, left + text.cx);
            EXPECT_GT(expected.second - expected.first, text.cx / 2);
        }
        EXPECT_EQ(BlackColumns(Render(*bar)), expected) << value;
    }
}

TEST(BarText, InStyle9ThePartOverTheFillIsWhiteAndTheRestBlack) {
    auto bar = MakeBar(W, H);
    bar->SetShowText(true);
    At(9, 50)(*bar);
    const Drawn drawn = Render(*bar);
    const int split = 240;  // 50 % of 481, rounded to even
    EXPECT_EQ(drawn.Count(RECT{0, 0, split, H}, kBlack), 0);
    EXPECT_GT(drawn.Count(RECT{split, 0, W, H}, kBlack), 10);
    EXPECT_GT(drawn.Count(RECT{200, 3, split, H - 3}, kWhite), 10);
    EXPECT_EQ(drawn.Count(RECT{split + 1, 3, W - 3, H - 3}, kWhite), 0);
}

TEST(BarText, InStyle6IsSilverOnBlackAndLightOverTheFill) {
    auto bar = MakeBar(W, H);
    bar->SetShowText(true);
    At(6, 50)(*bar);
    const Drawn drawn = Render(*bar);
    const COLORREF overFill = 0xC39073;  // the colour lightened by 80
    EXPECT_GT(drawn.Count(RECT{200, 0, 240, H}, overFill), 5);
    EXPECT_EQ(drawn.Count(RECT{241, 0, W, H}, overFill), 0);
    EXPECT_GT(drawn.Count(RECT{240, 0, 280, H}, 0xC0C0C0), 5);
}

// ---- The gradient routine on its own

TEST(BarGradient, StepsInSinglePrecisionAndRoundsHalvesToEven) {
    Surface surface(8, 4);
    forms::OleColor from = 0x000000, to = 0x00000A;
    controls::XP_ProgressBar::DrawGradient(from, to, 0, 0, 4, 3, surface.Dc(), true);
    const Drawn drawn = surface.Read();
    const int reds[] = {0, 2, 5, 8, 10};  // 2.5 and 7.5 go to the even neighbours
    for (int x = 0; x < 5; ++x) EXPECT_EQ(drawn.At(x, 1), static_cast<COLORREF>(reds[x])) << x;
    EXPECT_EQ(drawn.At(5, 1), kWhite);
    EXPECT_EQ(drawn.At(0, 3), kWhite);  // the lines end before y2
}

TEST(BarGradient, NZeroDrawsOneLineInTheFirstColourAndNBelowZeroNothing) {
    const struct {
        const char* name;
        int x, y, x2, y2;
        bool columns;
        int lines;
    } kCounts[] = {
        {"a column", 5, 2, 0, 10, true, 8},
        {"a row", 2, 5, 10, 0, false, 8},
        {"columns, n < 0", 5, 2, -3, 10, true, 0},
        {"rows, n < 0", 2, 5, 10, -1, false, 0},
    };
    for (const auto& c : kCounts) {
        SCOPED_TRACE(c.name);
        Surface surface(16, 16);
        forms::OleColor from = 0x0000FF, to = 0x00FF00;
        controls::XP_ProgressBar::DrawGradient(from, to, c.x, c.y, c.x2, c.y2, surface.Dc(), c.columns);
        const Drawn drawn = surface.Read();
        EXPECT_EQ(drawn.Count(RECT{0, 0, 16, 16}, 0x0000FF), c.lines);
        EXPECT_EQ(drawn.Count(RECT{0, 0, 16, 16}, kWhite), 256 - c.lines);
    }
}

TEST(BarGradient, GivesTheColoursBackResolved) {
    Surface surface(4, 4);
    forms::OleColor from = 0x8000000D, to = 0x80000005;
    controls::XP_ProgressBar::DrawGradient(from, to, 0, 0, 1, 1, surface.Dc(), true);
    EXPECT_EQ(from, ::GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(to, ::GetSysColor(COLOR_WINDOW));
}

}  // namespace
