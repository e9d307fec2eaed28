// The faces and borders of the fourteen styles in each state, pixel by pixel,
// on a 97 x 25 button without a caption. The platform's own drawing (3-D edges,
// focus rectangles, the theme) is checked by its system colours or by geometry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>

#include <uxtheme.h>

#include "ButtonStates.h"
#include "ButtonTestSupport.h"
#include "ColorRules.h"
#include "controls/imagebutton/Canvas.h"
#include "controls/imagebutton/ColorMath.h"
#include "forms/PixelBlock.h"

using namespace imagebutton_test;
using namespace controls::imagebutton;

namespace {
constexpr int W = 97;
constexpr int H = 25;

long Grad(long from, long to, int steps, int i) { return rule::GradientStep(from, to, steps, i); }

long Sys(int index) { return static_cast<long>(::GetSysColor(index)); }

const long kFace = Sys(COLOR_BTNFACE);

::testing::AssertionResult PixelIs(const Snapshot& shot, int x, int y, long expected) {
    const long actual = shot.At(x, y);
    if (actual == expected) return ::testing::AssertionSuccess();
    char text[96];
    std::snprintf(text, sizeof text, "pixel (%d, %d) is 0x%06lX, expected 0x%06lX", x, y, actual, expected);
    return ::testing::AssertionFailure() << text;
}

// Where a colour is expected: one pixel, or a set of them.
struct Where {
    Where(int x, int y) : points{{x, y}} {}
    explicit Where(std::vector<POINT> many) : points(std::move(many)) {}
    std::vector<POINT> points;
};
const Where kBorder({{0, 12}, {W - 1, 12}, {40, 0}, {40, H - 1}});
const Where kCorners({{1, 1}, {1, H - 2}, {W - 2, 1}, {W - 2, H - 2}});

void ExpectAt(const Snapshot& s, const Where& where, long color) {
    for (const POINT& p : where.points) EXPECT_TRUE(PixelIs(s, p.x, p.y, color));
}

void ExpectRaisedEdge(const Snapshot& s) {
    EXPECT_TRUE(PixelIs(s, 0, 12, Sys(COLOR_3DLIGHT)));
    EXPECT_TRUE(PixelIs(s, 1, 12, Sys(COLOR_3DHILIGHT)));
    EXPECT_TRUE(PixelIs(s, W - 1, 12, Sys(COLOR_3DDKSHADOW)));
    EXPECT_TRUE(PixelIs(s, W - 2, 12, Sys(COLOR_3DSHADOW)));
}

void ExpectThinRaisedEdge(const Snapshot& s) {
    EXPECT_TRUE(PixelIs(s, 0, 12, Sys(COLOR_3DHILIGHT)));
    EXPECT_TRUE(PixelIs(s, W - 1, 12, Sys(COLOR_3DSHADOW)));
    EXPECT_TRUE(PixelIs(s, W - 2, 12, kFace));
}

void ExpectSunkenEdge(const Snapshot& s) {
    EXPECT_TRUE(PixelIs(s, 0, 12, Sys(COLOR_3DSHADOW)));
    EXPECT_TRUE(PixelIs(s, 1, 12, Sys(COLOR_3DDKSHADOW)));
    EXPECT_TRUE(PixelIs(s, W - 1, 12, Sys(COLOR_3DHILIGHT)));
    EXPECT_TRUE(PixelIs(s, W - 2, 12, Sys(COLOR_3DLIGHT)));
}

// How many pixels of a row segment differ between two pictures.
int Differences(const Snapshot& a, const Snapshot& b, int y, int x1, int x2) {
    int count = 0;
    for (int x = x1; x < x2; ++x) count += a.At(x, y) != b.At(x, y) ? 1 : 0;
    return count;
}

// What is done to a fresh button before it is brought into its state.
using Preparation = void (*)(controls::zembutton&);
void Olive(controls::zembutton& b) { b.SetColorScheme(1); }
void Silver(controls::zembutton& b) { b.SetColorScheme(2); }
void OwnColor(controls::zembutton& b) {
    b.SetColorScheme(3);
    b.SetBackColor(0x3080C0);
}
void CheckedToggle(controls::zembutton& b) {
    b.SetMode(1);
    b.SetValue(true);
}

// One expected colour of a style in a state.
struct PixelRow {
    int style;
    const wchar_t* state;
    Where where;
    long color;
    Preparation prepare = nullptr;
};

class StylePixels : public ::testing::Test {
protected:
    void TearDown() override { MoveMouseAway(); }

    // A fresh button of the style, brought into the named state.
    Snapshot Look(int style, const std::wstring& state, Preparation prepare = nullptr) {
        MoveMouseAway();
        form_.defaultButton = nullptr;
        button_ = std::make_unique<controls::zembutton>(form_, L"zembutton1", Bounds(10, 10, W, H));
        button_->SetButtonStyle(style);
        button_->SetCaption(L"");
        if (prepare) prepare(*button_);
        for (const ButtonState& s : AllStates())
            if (s.name == state) s.apply(form_, *button_);
        return Snapshot(*button_);
    }

    void ExpectPixels(std::initializer_list<PixelRow> rows) {
        for (const PixelRow& row : rows) {
            SCOPED_TRACE(::testing::Message() << "style " << row.style << ", " << row.state);
            ExpectAt(Look(row.style, row.state, row.prepare), row.where, row.color);
        }
    }

    TestForm& form_ = SharedForm();
    std::unique_ptr<controls::zembutton> button_;
};
}  // namespace

TEST(FillGradient, OneRowIsTheHalfSumAndRowsRunTopDown) {
    base::WindowDC screen(nullptr);
    forms::PixelBlock block(screen.Get(), 4, 3, 32);
    ASSERT_TRUE(block.Valid());
    const Canvas canvas(block.Dc(), 4, 3);
    canvas.FillGradient(0, 0, 4, 1, 0xFFFFFF, 0xFFFFFF, GradientDirection::TopToBottom);
    canvas.FillGradient(0, 1, 4, 2, 0x000000, 0x0000FF, GradientDirection::TopToBottom);
    ::GdiFlush();
    EXPECT_EQ(canvas.PixelAt(2, 0), 0xFEFEFE);
    EXPECT_EQ(canvas.PixelAt(2, 1), 0x000000);  // the first step is the top row
    EXPECT_EQ(canvas.PixelAt(2, 2), 0x0000FF);
    canvas.FillGradient(0, 0, 3, 3, 0x000000, 0xFF0000, GradientDirection::LeftToRight);
    EXPECT_EQ(canvas.PixelAt(0, 1), 0x000000);
    EXPECT_EQ(canvas.PixelAt(1, 1), 0x7F0000);
    EXPECT_EQ(canvas.PixelAt(2, 1), 0xFF0000);
    canvas.FillGradient(0, 0, 0, 3, 0xFFFFFF, 0xFFFFFF, GradientDirection::LeftToRight);  // nothing drawn
    EXPECT_EQ(canvas.PixelAt(0, 0), 0x000000);
}

TEST(Primitives, LineLeavesItsEndPointAndCornersSoftenFourPixels) {
    base::WindowDC screen(nullptr);
    forms::PixelBlock block(screen.Get(), 10, 6, 32);
    const Canvas canvas(block.Dc(), 10, 6);
    canvas.Fill(canvas.Client(), 0x000000);
    canvas.Line(1, 2, 8, 2, 0x00FF00);
    canvas.Corners(0x0000FF);
    canvas.Frame(3, 3, 4, 3, 0xFF0000);
    EXPECT_EQ(canvas.PixelAt(1, 2), 0x00FF00);
    EXPECT_EQ(canvas.PixelAt(7, 2), 0x00FF00);
    EXPECT_EQ(canvas.PixelAt(8, 2), 0x000000);
    for (POINT p : {POINT{1, 1}, POINT{1, 4}, POINT{8, 1}, POINT{8, 4}}) EXPECT_EQ(canvas.PixelAt(p.x, p.y), 0x0000FF);
    EXPECT_EQ(canvas.PixelAt(3, 3), 0xFF0000);
    EXPECT_EQ(canvas.PixelAt(6, 5), 0xFF0000);
    EXPECT_EQ(canvas.PixelAt(4, 4), 0x000000);  // a frame, not a fill
}

TEST_F(StylePixels, StandardAndFriends) {
    ExpectRaisedEdge(Look(0, L"Normal"));
    ExpectRaisedEdge(Look(0, L"Hot"));
    ExpectRaisedEdge(Look(11, L"Hot"));
    ExpectThinRaisedEdge(Look(1, L"Normal"));
    ExpectThinRaisedEdge(Look(1, L"Hot"));
    ExpectThinRaisedEdge(Look(12, L"Hot"));
    ExpectSunkenEdge(Look(11, L"Down"));
    ExpectPixels({
        {0, L"Normal", {40, 12}, kFace},
        {11, L"Normal", {0, 12}, kFace},
        {12, L"Normal", {0, 12}, kFace},
        {0, L"Down", {0, 12}, 0x000000},
        {0, L"Down", {1, 12}, 0x99A8AC},
        {0, L"Down", {W - 2, 12}, 0x99A8AC},
    });
    for (int style : {1, 12}) {
        ExpectPixels({
            {style, L"Down", {0, 12}, Sys(COLOR_GRAYTEXT)},
            {style, L"Down", {40, 0}, Sys(COLOR_GRAYTEXT)},
            {style, L"Down", {W - 1, 12}, kWhite},
            {style, L"Down", {40, H - 1}, kWhite},
        });
    }
}

TEST_F(StylePixels, SystemEdgeCheckedDisabledAndDefault) {
    ExpectRaisedEdge(Look(0, L"Disabled"));
    ExpectPixels({
        {12, L"Checked", {0, 12}, rule::Shift(kFace, 0.02f)},  // no edge on a checked FlatThin button
        {0, L"Disabled", {40, 12}, kFace},
        {11, L"Disabled", {0, 12}, kFace},
    });
    for (int style : {0, 1, 11}) {
        ExpectPixels({{style, L"Checked", {40, 12}, rule::Shift(kFace, 0.02f)}});
        SCOPED_TRACE(style);
        ExpectSunkenEdge(Look(style, L"Checked"));
        // A checked button reads Down after its redraw, except Standard, which draws its own checked look.
        EXPECT_EQ(button_->State(), style == 0 ? 0 : 2);
    }
    const Snapshot normal = Look(0, L"Normal");
    for (const wchar_t* state : {L"Focused", L"Default"}) {
        ExpectPixels({
            {0, state, {0, 12}, 0x000000},
            {0, state, {W - 1, 12}, 0x000000},
            {0, state, {W - 2, 12}, Sys(COLOR_APPWORKSPACE)},
            {0, state, {1, 12}, Sys(COLOR_3DHILIGHT)},
        });
        const Snapshot look = Look(0, state);
        // The dotted focus rectangle 4 pixels in changes every other pixel of its top side.
        const int changed = Differences(look, normal, 4, 5, W - 5);
        EXPECT_GT(changed, 30) << state;
        EXPECT_LT(changed, 60) << state;
        EXPECT_EQ(Differences(look, normal, 8, 10, W - 10), 0) << state;
    }
}

TEST_F(StylePixels, RoundedGradient) {
    const long b = 0xE7EBEC;
    const long border = 0x743C00;
    ExpectPixels({
        {2, L"Normal", {40, 10}, Grad(rule::Shift(b, 0.07f), b, H, 10)},
        {2, L"Normal", {40, 2}, Grad(rule::Shift(b, 0.1f), rule::Shift(b, 0.08f), 4, 2)},
        {2, L"Normal", {40, H - 2}, rule::Shift(b, -0.09f)},
        {2, L"Normal", {40, H - 3}, rule::Shift(b, -0.05f)},
        {2, L"Normal", {40, H - 4}, rule::Shift(b, -0.01f)},
        {2, L"Normal", {W - 2, 12}, rule::Shift(b, -0.08f)},
        {2, L"Normal", {1, 12}, rule::Average(kWhite, b)},
        {2, L"Normal", kBorder, border},
        {2, L"Normal", kCorners, rule::Shift(border, 0.3f)},
        {2, L"Hot", {40, 10}, Grad(rule::Shift(b, 0.07f), b, H, 10)},
        {2, L"Hot", {40, 2}, 0x89D8FD},
        {2, L"Hot", {40, 1}, 0xCFF0FF},
        {2, L"Hot", {1, 12}, 0x49BDF9},
        {2, L"Hot", {W - 2, 12}, 0x49BDF9},
        {2, L"Hot", {2, 12}, 0x7AD2FC},
        {2, L"Hot", {W - 3, 12}, 0x7AD2FC},
        {2, L"Hot", {40, H - 3}, 0x30B3F8},
        {2, L"Hot", {40, H - 2}, 0x0097E5},
        {2, L"Hot", kBorder, border},
        {2, L"Down", {40, 12}, rule::Shift(b, -0.05f)},
        {2, L"Down", {40, 1}, rule::Shift(b, -0.16f)},
        {2, L"Down", {40, 2}, rule::Shift(b, -0.1f)},
        {2, L"Down", {40, H - 2}, rule::Shift(b, 0.01f)},
        {2, L"Down", {1, 12}, rule::Shift(b, -0.16f)},
        {2, L"Down", {2, 12}, rule::Shift(b, -0.1f)},
        {2, L"Down", {W - 2, 12}, rule::Shift(b, 0.04f)},
        {2, L"Down", kBorder, border},
        {2, L"Checked", {40, 12}, rule::Shift(b, -0.05f)},
        {2, L"Disabled", {40, 12}, rule::Average(kFace, rule::Shift(b, 0.1f))},
        {2, L"Disabled", kBorder, rule::Shift(b, -0.1f)},
        {2, L"Disabled", kCorners, rule::Shift(b, -0.1f)},
    });
    for (const wchar_t* state : {L"Focused", L"Default"}) {
        ExpectPixels({
            {2, state, {40, 2}, 0xF6D4BC},
            {2, state, {40, 1}, 0xFFE7CE},
            {2, state, {1, 12}, 0xE6AF8E},
            {2, state, {W - 2, 12}, 0xE6AF8E},
            {2, state, {2, 12}, 0xF4D1B8},
            {2, state, {W - 3, 12}, 0xF4D1B8},
            {2, state, {40, H - 3}, 0xE4AD89},
            {2, state, {40, H - 2}, 0xEE8269},
        });
    }
}

TEST_F(StylePixels, RoundedGradientSchemes) {
    const long b = 0xFCF1F0;
    ExpectPixels({
        {2, L"Normal", kBorder, 0x066237, Olive},
        {2, L"Normal", kCorners, rule::Shift(0x066237, 0.3f), Olive},
        {2, L"Focused", {40, 1}, 0x80CBB1, Olive},
        {2, L"Normal", {40, 5}, Grad(rule::Shift(b, 0.22f), b, 12, 5), Silver},
        {2, L"Normal", {40, 15}, Grad(rule::Shift(b, -0.01f), rule::Shift(b, -0.15f), 12, 3), Silver},
        {2, L"Normal", {1, 12}, kWhite, Silver},
        {2, L"Normal", {W - 2, 12}, kWhite, Silver},
        {2, L"Down", {40, 10}, Grad(rule::Shift(b, -0.2f), rule::Shift(b, 0.05f), H - 6, 10), Silver},
        {2, L"Down", {40, H - 4}, Grad(rule::Shift(b, 0.08f), kWhite, H - 1, 2), Silver},
        {2, L"Down", {1, 12}, kWhite, Silver},
        {2, L"Focused", {2, 12}, kWhite, Silver},
    });
}

TEST_F(StylePixels, RoundedGradientFocusRectangle) {
    const Snapshot plain = Look(2, L"Focused");
    const Snapshot dotted = Look(2, L"Focused", [](controls::zembutton& b) { b.SetShowFocusRect(true); });
    const int changed = Differences(dotted, plain, 2, 3, W - 3);
    EXPECT_GT(changed, 30);
    EXPECT_LT(changed, 70);
    EXPECT_EQ(Differences(dotted, plain, 8, 4, W - 4), 0);
}

TEST_F(StylePixels, TheLighterStylesDrawTheFocusRectangleTwoPixelsIn) {
    const auto showFocus = [](controls::zembutton& b) { b.SetShowFocusRect(true); };
    for (int style : {3, 4, 5, 6, 7, 8, 10}) {
        SCOPED_TRACE(style);
        const Snapshot focused = Look(style, L"Focused");
        const Snapshot dotted = Look(style, L"Focused", showFocus);
        // Every other pixel of the rectangle's top side changes, and nothing inside it.
        const int changed = Differences(dotted, focused, 2, 3, W - 3);
        EXPECT_GT(changed, 30);
        EXPECT_LT(changed, 70);
        EXPECT_GT(Differences(dotted, focused, H - 3, 3, W - 3), 30);
        EXPECT_EQ(Differences(dotted, focused, 8, 4, W - 4), 0);
        EXPECT_EQ(Differences(dotted, focused, 1, 0, W), 0);
        EXPECT_EQ(Look(style, L"Normal", showFocus).Pixels(), Look(style, L"Normal").Pixels())
            << "not without the focus";
    }
}

TEST_F(StylePixels, RoundedBands) {
    const long b = rule::Shift(0xD4D4D4, 0.06f);
    Look(3, L"Normal");
    EXPECT_EQ(button_->ColorScheme(), 2);
    ExpectPixels({
        {3, L"Normal", {40, 5}, Grad(rule::Shift(b, 0.05f), b, H, 4)},
        {3, L"Normal", {40, 20}, Grad(rule::Shift(b, -0.02f), rule::Shift(b, -0.15f), H - 2, 8)},
        {3, L"Normal", kBorder, 0x707070},
        {3, L"Normal", {1, 12}, kWhite},
        {3, L"Normal", {40, 1}, kWhite},
        {3, L"Normal", kCorners, 0xBE965F},
        {3, L"Hot", {40, 5}, Grad(0xFFF7E4, 0xFFF3DA, 12, 4)},
        {3, L"Hot", {40, 20}, Grad(0xFFE9C1, 0xFDE1AE, H - 2, 8)},
        {3, L"Hot", {3, 6}, Grad(0xFFEECD, 0xFFF7E4, 5, 2)},
        {3, L"Hot", {2, 16}, Grad(0xFAD68F, rule::Shift(0xFDE1AC, 0.01f), 5, 1)},
        {3, L"Hot", {W - 3, 6}, Grad(0xFFF7E4, 0xFFEECD, 5, 3)},
        {3, L"Hot", {W - 3, 16}, Grad(rule::Shift(0xFDE1AC, 0.01f), 0xFAD68F, 5, 3)},
        {3, L"Hot", kBorder, 0xA77532},
        {3, L"Hot", kCorners, 0xBE965F},
        {3, L"Down", {40, 8}, 0xF6E4C2},
        {3, L"Down", {40, 18}, 0xF0D29A},
        {3, L"Down", {40, 2}, 0xD6C6A9},
        {3, L"Down", {40, 3}, 0xECD9B9},
        {3, L"Down", {1, 2}, 0xCFB073},
        {3, L"Down", {3, 6}, Grad(rule::Shift(0xE6C891, 0.02f), rule::Shift(0xF6E4C2, -0.01f), 5, 2)},
        {3, L"Down", {3, 16}, Grad(rule::Shift(0xDCAB4E, 0.02f), rule::Shift(0xF0D29A, -0.01f), 5, 2)},
        {3, L"Down", {0, 12}, 0x5C411D},
        {3, L"Down", {40, 0}, 0x5C411D},
        {3, L"Down", kCorners, 0xBE965F},
        {3, L"Disabled", {40, 12}, rule::Shift(b, 0.03f)},
        {3, L"Disabled", kBorder, rule::Shift(b, -0.25f)},
        {3, L"Disabled", {40, 1}, rule::Shift(b, 0.25f)},
        {3, L"Disabled", kCorners, rule::Shift(b, -0.03f)},
    });
    for (const wchar_t* state : {L"Focused", L"Default"}) {
        ExpectPixels({
            {3, state, {0, 12}, 0xA77532},
            {3, state, {40, 1}, 0xFBD848},
            {3, state, kCorners, 0xBE965F},
        });
    }
}

TEST_F(StylePixels, FlatHighlight) {
    const long tint = 0xEED2C1;
    const long border = 0xC56A31;
    ExpectPixels({
        {4, L"Normal", {0, 12}, kFace},
        {4, L"Normal", {40, 12}, kFace},
        {4, L"Hot", {40, 12}, rule::Shift(tint, 0.03f)},
        {4, L"Hot", kBorder, border},
        {4, L"Down", {40, 12}, rule::Shift(tint, -0.08f)},
        {4, L"Down", kBorder, border},
        {4, L"Checked", {40, 12}, rule::Shift(tint, -0.05f)},
        {4, L"Checked", kBorder, border},
        {4, L"Checked, hot", {40, 12}, rule::Shift(tint, -0.01f)},
        {4, L"Hot", {40, 12}, rule::Shift(0x3080C0, 0.03f), OwnColor},
        {4, L"Hot", kBorder, rule::Shift(0x3080C0, -0.12f), OwnColor},
        {4, L"Down", kBorder, 0x70A093, Olive},
        {4, L"Down", {40, 12}, rule::Shift(0xE3DFE0, -0.08f), Silver},
        {4, L"Down", kBorder, 0xBFB4B2, Silver},
    });
}

TEST_F(StylePixels, SplitGradient) {
    const long b = 0xFCE1CA;
    const long navy = 0x800000;
    ExpectPixels({
        {5, L"Normal", {0, 5}, Grad(rule::Average(kWhite, rule::Shift(b, 0.08f)), b, 12, 5)},
        {5, L"Normal", {0, 20}, Grad(b, rule::Shift(b, -0.15f), 14, 8)},
        {5, L"Normal", {40, 0}, Grad(rule::Average(kWhite, rule::Shift(b, 0.08f)), b, 12, 0)},
        {5, L"Hot", {40, 10}, Grad(0xCCF4FF, 0x91D0FF, H, 10)},
        {5, L"Hot", kBorder, navy},
        {5, L"Down", {40, 10}, Grad(0x4E91FE, 0x8ED3FF, H, 10)},
        {5, L"Down", kBorder, navy},
        {5, L"Checked", {40, 10}, Grad(0x8CD5FF, 0x55ADFF, H, 10)},
        {5, L"Checked, hot", {40, 10}, Grad(0x4E91FE, 0x8ED3FF, H, 10)},
    });
}

TEST_F(StylePixels, RoundedPanel) {
    ExpectPixels({
        {6, L"Normal", {0, 12}, kFace},
        {6, L"Hot", {40, 5}, Grad(0xFDFEFE, 0xEEF4F4, 12, 5)},
        {6, L"Hot", {40, 15}, Grad(0xEEF4F4, 0xEAF1F1, 12, 3)},
        {6, L"Hot", {W - 2, 10}, 0xE0E7EA},
        {6, L"Hot", {W - 3, 10}, 0xEAF0F0},
        {6, L"Hot", {40, H - 4}, 0xE5EDEE},
        {6, L"Hot", {40, H - 3}, 0xD6E1E4},
        {6, L"Hot", {40, H - 2}, 0xC6D2D7},
        {6, L"Hot", kBorder, 0xC3CECE},
        {6, L"Hot", kCorners, rule::Shift(0xC9D4D4, -0.05f)},
        {6, L"Down", {40, 12}, 0xDDE4E5},
        {6, L"Down", {40, 1}, rule::Shift(0xD1DADC, -0.02f)},
        {6, L"Down", {40, 2}, rule::Shift(0xDAE1E3, -0.02f)},
        {6, L"Down", {40, H - 3}, rule::Shift(0xDEE5E6, 0.02f)},
        {6, L"Down", {40, H - 2}, rule::Shift(0xE5EAEB, 0.02f)},
        {6, L"Down", kBorder, 0x929D9D},
        {6, L"Down", kCorners, rule::Shift(0xABB4B5, -0.2f)},
        {6, L"Checked", {40, 12}, 0xFEFEFE},
        {6, L"Checked", kBorder, 0xAF987A},
        {6, L"Checked", kCorners, rule::Shift(0xC1B3A0, -0.2f)},
        {6, L"Checked, hot", {W - 2, 10}, 0xEDF0F2},
        {6, L"Checked, hot", {40, H - 2}, 0xD8DEE4},
        {6, L"Checked, hot", {40, H - 3}, 0xE8ECEF},
        {6, L"Checked, hot", {40, H - 4}, 0xF8F9FA},
        {6, L"Down", {40, 12}, 0xDDE4E5, CheckedToggle},  // checked and held down: the pressed look
    });
    Look(6, L"Down");
    EXPECT_EQ(button_->ForeColor(), 0xFFFFFFu) << "white caption while pressed";
    Look(6, L"Checked");
    EXPECT_EQ(button_->State(), 0) << "RoundedPanel draws its own checked look";
    EXPECT_EQ(button_->ForeColor(), forms::SystemColor(COLOR_BTNTEXT));
}

TEST_F(StylePixels, RoundedSimple) {
    ExpectPixels({
        {7, L"Normal", {0, 12}, kFace},
        {7, L"Hot", {40, 5}, Grad(0xFDF9F1, 0xF8ECD0, H - 2, 4)},
        {7, L"Hot", {40, 18}, 0xF8ECD0},
        {7, L"Hot", kBorder, 0xCA9E61},
        {7, L"Hot", {40, 1}, kWhite},
        {7, L"Hot", kCorners, rule::Shift(0xCA9E61, 0.3f)},
        {7, L"Down", {40, 18}, Grad(0xF1DEB0, 0xF9F1DB, H - 2, 17)},
        {7, L"Down", kBorder, 0xCA9E61},
        {7, L"Disabled", {40, 12}, kFace},
        {7, L"Disabled", kCorners, kFace},
    });
}

TEST_F(StylePixels, SquareBands) {
    const long b = 0xFFD1AD;
    const int split = 9;  // round(25 / 2.7)
    auto expectBands = [&](const Snapshot& s, long uf, long ut, long lf, long lt, const char* look) {
        EXPECT_TRUE(PixelIs(s, 5, 1, Grad(uf, ut, split, 1))) << look;
        EXPECT_TRUE(PixelIs(s, 5, 8, Grad(uf, ut, split, 8))) << look;
        EXPECT_TRUE(PixelIs(s, 5, 9, Grad(lf, lt, 16, 0))) << look;
        EXPECT_TRUE(PixelIs(s, 5, 23, Grad(lf, lt, 16, 14))) << look;
        ExpectAt(s, kBorder, rule::Shift(b, -0.34f));
    };
    const long uf = rule::Average(rule::Shift(b, 0.09f), kWhite);
    const long ut = rule::Average(rule::Shift(b, 0.07f), b);
    expectBands(Look(8, L"Normal"), uf, ut, b, rule::Shift(b, 0.03f), "normal");
    expectBands(Look(8, L"Disabled"), uf, ut, b, rule::Shift(b, 0.03f), "disabled");
    expectBands(Look(8, L"Focused"), uf, ut, b, rule::Shift(b, 0.03f), "focused");
    expectBands(Look(8, L"Hot"), 0xE1FFFF, 0xACEAFF, 0x67D7FF, 0x99E4FF, "hot");
    expectBands(Look(8, L"Down"), 0x58C1FF, 0x51AFFF, 0x468FFF, 0x5FD3FF, "down");
    expectBands(Look(8, L"Checked"), 0xA9D9FF, 0x6FC0FF, 0x3FABFF, 0x75E1FF, "checked");
    expectBands(Look(8, L"Checked, hot"), 0x58C1FF, 0x51AFFF, 0x468FFF, 0x5FD3FF, "checked, hot");
}

TEST_F(StylePixels, RoundedShaded) {
    const long b = 0xE1D6D5;
    ExpectPixels({
        {9, L"Normal", {40, 5}, Grad(kWhite, b, 12, 5)},
        {9, L"Normal", {40, 18}, b},
        {9, L"Normal", {1, 12}, kWhite},
        {9, L"Normal", {40, 1}, kWhite},
        {9, L"Normal", {0, 12}, rule::Shift(b, -0.2f)},
        {9, L"Normal", {40, 0}, rule::Shift(b, -0.2f)},
        {9, L"Normal", {40, H - 1}, rule::Shift(b, -0.25f)},
        {9, L"Normal", kCorners, rule::Shift(b, 0.05f)},
        {9, L"Down", {40, 5}, Grad(kWhite, rule::Shift(b, -0.1f), 12, 5)},
        {9, L"Down", {40, 18}, Grad(rule::Shift(b, -0.1f), rule::Shift(b, -0.05f), H, 6)},
        {9, L"Down", {0, 12}, rule::Shift(b, -0.23f)},
        {9, L"Down", {40, H - 1}, rule::Shift(b, -0.4f)},
    });
    const Snapshot normal = Look(9, L"Normal");
    EXPECT_EQ(normal.Pixels(), Look(9, L"Hot").Pixels()) << "hot looks as normal";
    EXPECT_EQ(normal.Pixels(), Look(9, L"Disabled").Pixels()) << "disabled looks as normal";
    const Snapshot focused = Look(9, L"Focused");
    EXPECT_GT(Differences(focused, normal, 3, 4, W - 4), 30);
    EXPECT_EQ(Differences(focused, normal, 8, 5, W - 5), 0);
}

TEST_F(StylePixels, RoundedBlend) {
    const long b = 0xFFD1AD;
    const long light = rule::Average(b, kWhite);
    struct Row {
        const wchar_t* state;
        long fill, band, mainFrom, mainTo, frame, corners;
    };
    const Row rows[] = {
        {L"Disabled", b, rule::Shift(light, 0.05f), rule::Shift(b, -0.02f),
         rule::Average(kWhite, rule::Shift(b, 0.08f)), rule::Shift(b, -0.2f), rule::Shift(b, -0.23f)},
        {L"Normal", rule::Shift(b, -0.03f), rule::Shift(light, 0.1f), rule::Shift(b, -0.05f),
         rule::Average(kWhite, rule::Shift(b, 0.1f)), rule::Shift(b, -0.33f), rule::Shift(b, -0.36f)},
        {L"Hot", rule::Shift(b, -0.03f), rule::Shift(light, 0.15f), rule::Shift(b, -0.05f),
         rule::Average(kWhite, rule::Shift(b, 0.2f)), rule::Shift(b, -0.28f), rule::Shift(b, -0.36f)},
        {L"Down", rule::Shift(b, -0.03f), rule::Shift(light, 0.1f), rule::Shift(b, -0.08f),
         rule::Average(kWhite, rule::Shift(b, 0.05f)), rule::Shift(b, -0.36f), rule::Shift(b, -0.36f)},
    };
    for (const Row& r : rows) {
        const Snapshot s = Look(10, r.state);
        EXPECT_TRUE(PixelIs(s, 40, 2, Grad(r.band, b, 5, 2))) << r.state;
        EXPECT_TRUE(PixelIs(s, 40, 5, r.fill)) << r.state;
        EXPECT_TRUE(PixelIs(s, 40, 10, Grad(r.mainFrom, r.mainTo, H - 1, 4))) << r.state;
        ExpectAt(s, kBorder, r.frame);
        ExpectAt(s, kCorners, r.corners);
    }
}

TEST_F(StylePixels, ThemedFollowsThePlatformTheme) {
    if (!::IsAppThemed()) GTEST_SKIP() << "no visual theme is active";
    const Snapshot normal = Look(13, L"Normal");
    EXPECT_EQ(button_->ButtonStyle(), 13);
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(::GetWindowRgn(button_->hWnd(), region), ERROR) << "the theme's outline is the window's";
    ::DeleteObject(region);
    const Snapshot hot = Look(13, L"Hot");
    const Snapshot down = Look(13, L"Down");
    const Snapshot disabled = Look(13, L"Disabled");
    EXPECT_NE(normal.At(40, 12), down.At(40, 12));
    EXPECT_NE(normal.Pixels(), hot.Pixels());
    EXPECT_NE(normal.Pixels(), disabled.Pixels());
}

TEST_F(StylePixels, ThemedWithoutAThemeBecomesRoundedGradientForGood) {
    MoveMouseAway();
    UnthemedButton button(form_, L"zembutton1", Bounds(10, 10, W, H));
    EXPECT_EQ(button.ButtonStyle(), 2);
    EXPECT_EQ(button.ColorScheme(), 0);
    EXPECT_EQ(button.BackColor(), 0xE7EBECu);
    button.SetButtonStyle(13);
    Snapshot shot(button);
    EXPECT_EQ(button.ButtonStyle(), 2);
    ExpectAt(shot, kBorder, 0x743C00);
}
