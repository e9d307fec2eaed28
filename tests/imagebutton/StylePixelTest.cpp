// The faces and borders of the fourteen styles in each state, pixel by pixel,
// on a 97 x 25 button without a caption. The platform's own drawing (3-D edges,
// focus rectangles, the theme) is checked by its system colours or by geometry.
#include <gtest/gtest.h>

#include <functional>

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

::testing::AssertionResult PixelIs(const Snapshot& shot, int x, int y, long expected) {
    const long actual = shot.At(x, y);
    if (actual == expected) return ::testing::AssertionSuccess();
    char text[96];
    std::snprintf(text, sizeof text, "pixel (%d, %d) is 0x%06lX, expected 0x%06lX", x, y, actual, expected);
    return ::testing::AssertionFailure() << text;
}

// How many pixels of a row segment differ between two pictures.
int Differences(const Snapshot& a, const Snapshot& b, int y, int x1, int x2) {
    int count = 0;
    for (int x = x1; x < x2; ++x) count += a.At(x, y) != b.At(x, y) ? 1 : 0;
    return count;
}

class StylePixels : public ::testing::Test {
protected:
    void TearDown() override { MoveMouseAway(); }

    // A fresh button of the style, brought into the named state.
    Snapshot Look(int style, const std::wstring& state,
                  const std::function<void(controls::zembutton&)>& prepare = nullptr) {
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

    void ExpectBorder(const Snapshot& s, long color) {
        EXPECT_TRUE(PixelIs(s, 0, 12, color));
        EXPECT_TRUE(PixelIs(s, W - 1, 12, color));
        EXPECT_TRUE(PixelIs(s, 40, 0, color));
        EXPECT_TRUE(PixelIs(s, 40, H - 1, color));
    }

    void ExpectCorners(const Snapshot& s, long color) {
        EXPECT_TRUE(PixelIs(s, 1, 1, color));
        EXPECT_TRUE(PixelIs(s, 1, H - 2, color));
        EXPECT_TRUE(PixelIs(s, W - 2, 1, color));
        EXPECT_TRUE(PixelIs(s, W - 2, H - 2, color));
    }

    void ExpectRaisedEdge(const Snapshot& s) {
        EXPECT_TRUE(PixelIs(s, 0, 12, Sys(COLOR_3DLIGHT)));
        EXPECT_TRUE(PixelIs(s, 1, 12, Sys(COLOR_3DHILIGHT)));
        EXPECT_TRUE(PixelIs(s, W - 1, 12, Sys(COLOR_3DDKSHADOW)));
        EXPECT_TRUE(PixelIs(s, W - 2, 12, Sys(COLOR_3DSHADOW)));
    }

    void ExpectThinRaisedEdge(const Snapshot& s, long face) {
        EXPECT_TRUE(PixelIs(s, 0, 12, Sys(COLOR_3DHILIGHT)));
        EXPECT_TRUE(PixelIs(s, W - 1, 12, Sys(COLOR_3DSHADOW)));
        EXPECT_TRUE(PixelIs(s, W - 2, 12, face));
    }

    void ExpectSunkenEdge(const Snapshot& s) {
        EXPECT_TRUE(PixelIs(s, 0, 12, Sys(COLOR_3DSHADOW)));
        EXPECT_TRUE(PixelIs(s, 1, 12, Sys(COLOR_3DDKSHADOW)));
        EXPECT_TRUE(PixelIs(s, W - 1, 12, Sys(COLOR_3DHILIGHT)));
        EXPECT_TRUE(PixelIs(s, W - 2, 12, Sys(COLOR_3DLIGHT)));
    }

    TestForm& form_ = SharedForm();
    std::unique_ptr<controls::zembutton> button_;
};

const long kFace = Sys(COLOR_BTNFACE);
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
    const Snapshot normal = Look(0, L"Normal");
    EXPECT_TRUE(PixelIs(normal, 40, 12, kFace));
    ExpectRaisedEdge(normal);
    ExpectThinRaisedEdge(Look(1, L"Normal"), kFace);
    for (int style : {11, 12}) EXPECT_TRUE(PixelIs(Look(style, L"Normal"), 0, 12, kFace)) << style;

    ExpectRaisedEdge(Look(0, L"Hot"));
    ExpectRaisedEdge(Look(11, L"Hot"));
    ExpectThinRaisedEdge(Look(1, L"Hot"), kFace);
    ExpectThinRaisedEdge(Look(12, L"Hot"), kFace);

    const Snapshot down0 = Look(0, L"Down");
    EXPECT_TRUE(PixelIs(down0, 0, 12, 0x000000));
    EXPECT_TRUE(PixelIs(down0, 1, 12, 0x99A8AC));
    EXPECT_TRUE(PixelIs(down0, W - 2, 12, 0x99A8AC));
    for (int style : {1, 12}) {
        const Snapshot down = Look(style, L"Down");
        EXPECT_TRUE(PixelIs(down, 0, 12, Sys(COLOR_GRAYTEXT))) << style;
        EXPECT_TRUE(PixelIs(down, 40, 0, Sys(COLOR_GRAYTEXT))) << style;
        EXPECT_TRUE(PixelIs(down, W - 1, 12, kWhite)) << style;
        EXPECT_TRUE(PixelIs(down, 40, H - 1, kWhite)) << style;
    }
    ExpectSunkenEdge(Look(11, L"Down"));
}

TEST_F(StylePixels, SystemEdgeCheckedDisabledAndDefault) {
    const Snapshot normal = Look(0, L"Normal");
    for (int style : {0, 1, 11}) {
        const Snapshot checked = Look(style, L"Checked");
        EXPECT_TRUE(PixelIs(checked, 40, 12, rule::Shift(kFace, 0.02f))) << style;
        ExpectSunkenEdge(checked);
        // A checked button reads Down after its redraw, except Standard, which draws its own checked look.
        EXPECT_EQ(button_->State(), style == 0 ? 0 : 2) << style;
    }
    const Snapshot thin = Look(12, L"Checked");
    EXPECT_TRUE(PixelIs(thin, 0, 12, rule::Shift(kFace, 0.02f))) << "no edge on a checked FlatThin button";

    const Snapshot disabled = Look(0, L"Disabled");
    ExpectRaisedEdge(disabled);
    EXPECT_TRUE(PixelIs(disabled, 40, 12, kFace));
    EXPECT_TRUE(PixelIs(Look(11, L"Disabled"), 0, 12, kFace));

    for (const wchar_t* state : {L"Focused", L"Default"}) {
        const Snapshot look = Look(0, state);
        EXPECT_TRUE(PixelIs(look, 0, 12, 0x000000)) << state;
        EXPECT_TRUE(PixelIs(look, W - 1, 12, 0x000000)) << state;
        EXPECT_TRUE(PixelIs(look, W - 2, 12, Sys(COLOR_APPWORKSPACE))) << state;
        EXPECT_TRUE(PixelIs(look, 1, 12, Sys(COLOR_3DHILIGHT))) << state;
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
    const Snapshot normal = Look(2, L"Normal");
    EXPECT_TRUE(PixelIs(normal, 40, 10, Grad(rule::Shift(b, 0.07f), b, H, 10)));
    EXPECT_TRUE(PixelIs(normal, 40, 2, Grad(rule::Shift(b, 0.1f), rule::Shift(b, 0.08f), 4, 2)));
    EXPECT_TRUE(PixelIs(normal, 40, H - 2, rule::Shift(b, -0.09f)));
    EXPECT_TRUE(PixelIs(normal, 40, H - 3, rule::Shift(b, -0.05f)));
    EXPECT_TRUE(PixelIs(normal, 40, H - 4, rule::Shift(b, -0.01f)));
    EXPECT_TRUE(PixelIs(normal, W - 2, 12, rule::Shift(b, -0.08f)));
    EXPECT_TRUE(PixelIs(normal, 1, 12, rule::Average(kWhite, b)));
    ExpectBorder(normal, border);
    ExpectCorners(normal, rule::Shift(border, 0.3f));

    const Snapshot hot = Look(2, L"Hot");
    EXPECT_TRUE(PixelIs(hot, 40, 10, Grad(rule::Shift(b, 0.07f), b, H, 10)));
    const long hotLines[] = {0x89D8FD, 0xCFF0FF, 0x49BDF9, 0x49BDF9, 0x7AD2FC, 0x7AD2FC, 0x30B3F8, 0x0097E5};
    const POINT places[] = {{40, 2}, {40, 1}, {1, 12}, {W - 2, 12}, {2, 12}, {W - 3, 12}, {40, H - 3}, {40, H - 2}};
    for (int i = 0; i < 8; ++i) EXPECT_TRUE(PixelIs(hot, places[i].x, places[i].y, hotLines[i])) << i;
    ExpectBorder(hot, border);

    const Snapshot down = Look(2, L"Down");
    EXPECT_TRUE(PixelIs(down, 40, 12, rule::Shift(b, -0.05f)));
    EXPECT_TRUE(PixelIs(down, 40, 1, rule::Shift(b, -0.16f)));
    EXPECT_TRUE(PixelIs(down, 40, 2, rule::Shift(b, -0.1f)));
    EXPECT_TRUE(PixelIs(down, 40, H - 2, rule::Shift(b, 0.01f)));
    EXPECT_TRUE(PixelIs(down, 1, 12, rule::Shift(b, -0.16f)));
    EXPECT_TRUE(PixelIs(down, 2, 12, rule::Shift(b, -0.1f)));
    EXPECT_TRUE(PixelIs(down, W - 2, 12, rule::Shift(b, 0.04f)));
    ExpectBorder(down, border);
    EXPECT_TRUE(PixelIs(Look(2, L"Checked"), 40, 12, rule::Shift(b, -0.05f)));

    const Snapshot disabled = Look(2, L"Disabled");
    EXPECT_TRUE(PixelIs(disabled, 40, 12, rule::Average(kFace, rule::Shift(b, 0.1f))));
    ExpectBorder(disabled, rule::Shift(b, -0.1f));
    ExpectCorners(disabled, rule::Shift(b, -0.1f));

    const long focusLines[] = {0xF6D4BC, 0xFFE7CE, 0xE6AF8E, 0xE6AF8E, 0xF4D1B8, 0xF4D1B8, 0xE4AD89, 0xEE8269};
    for (const wchar_t* state : {L"Focused", L"Default"}) {
        const Snapshot look = Look(2, state);
        for (int i = 0; i < 8; ++i) EXPECT_TRUE(PixelIs(look, places[i].x, places[i].y, focusLines[i])) << state << i;
    }
}

TEST_F(StylePixels, RoundedGradientSchemes) {
    const Snapshot olive = Look(2, L"Normal", [](controls::zembutton& b) { b.SetColorScheme(1); });
    ExpectBorder(olive, 0x066237);
    ExpectCorners(olive, rule::Shift(0x066237, 0.3f));
    EXPECT_TRUE(PixelIs(Look(2, L"Focused", [](controls::zembutton& b) { b.SetColorScheme(1); }), 40, 1, 0x80CBB1));

    const long b = 0xFCF1F0;
    const auto silver = [](controls::zembutton& button) { button.SetColorScheme(2); };
    const Snapshot normal = Look(2, L"Normal", silver);
    EXPECT_TRUE(PixelIs(normal, 40, 5, Grad(rule::Shift(b, 0.22f), b, 12, 5)));
    EXPECT_TRUE(PixelIs(normal, 40, 15, Grad(rule::Shift(b, -0.01f), rule::Shift(b, -0.15f), 12, 3)));
    EXPECT_TRUE(PixelIs(normal, 1, 12, kWhite));
    EXPECT_TRUE(PixelIs(normal, W - 2, 12, kWhite));
    const Snapshot down = Look(2, L"Down", silver);
    EXPECT_TRUE(PixelIs(down, 40, 10, Grad(rule::Shift(b, -0.2f), rule::Shift(b, 0.05f), H - 6, 10)));
    EXPECT_TRUE(PixelIs(down, 40, H - 4, Grad(rule::Shift(b, 0.08f), kWhite, H - 1, 2)));
    EXPECT_TRUE(PixelIs(down, 1, 12, kWhite));
    const Snapshot focused = Look(2, L"Focused", silver);
    EXPECT_TRUE(PixelIs(focused, 2, 12, kWhite));
}

TEST_F(StylePixels, RoundedGradientFocusRectangle) {
    const auto withRect = [](controls::zembutton& b) { b.SetShowFocusRect(true); };
    const Snapshot plain = Look(2, L"Focused");
    const Snapshot dotted = Look(2, L"Focused", withRect);
    const int changed = Differences(dotted, plain, 2, 3, W - 3);
    EXPECT_GT(changed, 30);
    EXPECT_LT(changed, 70);
    EXPECT_EQ(Differences(dotted, plain, 8, 4, W - 4), 0);
}

TEST_F(StylePixels, RoundedBands) {
    const long b = rule::Shift(0xD4D4D4, 0.06f);
    const Snapshot normal = Look(3, L"Normal");
    EXPECT_EQ(button_->ColorScheme(), 2);
    EXPECT_TRUE(PixelIs(normal, 40, 5, Grad(rule::Shift(b, 0.05f), b, H, 4)));
    EXPECT_TRUE(PixelIs(normal, 40, 20, Grad(rule::Shift(b, -0.02f), rule::Shift(b, -0.15f), H - 2, 8)));
    ExpectBorder(normal, 0x707070);
    EXPECT_TRUE(PixelIs(normal, 1, 12, kWhite));
    EXPECT_TRUE(PixelIs(normal, 40, 1, kWhite));
    ExpectCorners(normal, 0xBE965F);

    const Snapshot hot = Look(3, L"Hot");
    EXPECT_TRUE(PixelIs(hot, 40, 5, Grad(0xFFF7E4, 0xFFF3DA, 12, 4)));
    EXPECT_TRUE(PixelIs(hot, 40, 20, Grad(0xFFE9C1, 0xFDE1AE, H - 2, 8)));
    EXPECT_TRUE(PixelIs(hot, 3, 6, Grad(0xFFEECD, 0xFFF7E4, 5, 2)));
    EXPECT_TRUE(PixelIs(hot, 2, 16, Grad(0xFAD68F, rule::Shift(0xFDE1AC, 0.01f), 5, 1)));
    EXPECT_TRUE(PixelIs(hot, W - 3, 6, Grad(0xFFF7E4, 0xFFEECD, 5, 3)));
    EXPECT_TRUE(PixelIs(hot, W - 3, 16, Grad(rule::Shift(0xFDE1AC, 0.01f), 0xFAD68F, 5, 3)));
    ExpectBorder(hot, 0xA77532);
    ExpectCorners(hot, 0xBE965F);

    const Snapshot down = Look(3, L"Down");
    EXPECT_TRUE(PixelIs(down, 40, 8, 0xF6E4C2));
    EXPECT_TRUE(PixelIs(down, 40, 18, 0xF0D29A));
    EXPECT_TRUE(PixelIs(down, 40, 2, 0xD6C6A9));
    EXPECT_TRUE(PixelIs(down, 40, 3, 0xECD9B9));
    EXPECT_TRUE(PixelIs(down, 1, 2, 0xCFB073));
    EXPECT_TRUE(PixelIs(down, 3, 6, Grad(rule::Shift(0xE6C891, 0.02f), rule::Shift(0xF6E4C2, -0.01f), 5, 2)));
    EXPECT_TRUE(PixelIs(down, 3, 16, Grad(rule::Shift(0xDCAB4E, 0.02f), rule::Shift(0xF0D29A, -0.01f), 5, 2)));
    EXPECT_TRUE(PixelIs(down, 0, 12, 0x5C411D));
    EXPECT_TRUE(PixelIs(down, 40, 0, 0x5C411D));
    ExpectCorners(down, 0xBE965F);

    const Snapshot disabled = Look(3, L"Disabled");
    EXPECT_TRUE(PixelIs(disabled, 40, 12, rule::Shift(b, 0.03f)));
    ExpectBorder(disabled, rule::Shift(b, -0.25f));
    EXPECT_TRUE(PixelIs(disabled, 40, 1, rule::Shift(b, 0.25f)));
    ExpectCorners(disabled, rule::Shift(b, -0.03f));

    for (const wchar_t* state : {L"Focused", L"Default"}) {
        const Snapshot look = Look(3, state);
        EXPECT_TRUE(PixelIs(look, 0, 12, 0xA77532)) << state;
        EXPECT_TRUE(PixelIs(look, 40, 1, 0xFBD848)) << state;
        ExpectCorners(look, 0xBE965F);
    }
}

TEST_F(StylePixels, FlatHighlight) {
    const long tint = 0xEED2C1;
    const long border = 0xC56A31;
    const Snapshot normal = Look(4, L"Normal");
    EXPECT_TRUE(PixelIs(normal, 0, 12, kFace));
    EXPECT_TRUE(PixelIs(normal, 40, 12, kFace));
    const Snapshot hot = Look(4, L"Hot");
    EXPECT_TRUE(PixelIs(hot, 40, 12, rule::Shift(tint, 0.03f)));
    ExpectBorder(hot, border);
    const Snapshot down = Look(4, L"Down");
    EXPECT_TRUE(PixelIs(down, 40, 12, rule::Shift(tint, -0.08f)));
    ExpectBorder(down, border);
    const Snapshot checked = Look(4, L"Checked");
    EXPECT_TRUE(PixelIs(checked, 40, 12, rule::Shift(tint, -0.05f)));
    ExpectBorder(checked, border);
    EXPECT_TRUE(PixelIs(Look(4, L"Checked, hot"), 40, 12, rule::Shift(tint, -0.01f)));

    const auto custom = [](controls::zembutton& b) {
        b.SetColorScheme(3);
        b.SetBackColor(0x3080C0);
    };
    const Snapshot customHot = Look(4, L"Hot", custom);
    EXPECT_TRUE(PixelIs(customHot, 40, 12, rule::Shift(0x3080C0, 0.03f)));
    ExpectBorder(customHot, rule::Shift(0x3080C0, -0.12f));
    const Snapshot olive = Look(4, L"Down", [](controls::zembutton& b) { b.SetColorScheme(1); });
    ExpectBorder(olive, 0x70A093);
    const Snapshot silver = Look(4, L"Down", [](controls::zembutton& b) { b.SetColorScheme(2); });
    EXPECT_TRUE(PixelIs(silver, 40, 12, rule::Shift(0xE3DFE0, -0.08f)));
    ExpectBorder(silver, 0xBFB4B2);
}

TEST_F(StylePixels, SplitGradient) {
    const long b = 0xFCE1CA;
    const long navy = 0x800000;
    const Snapshot normal = Look(5, L"Normal");
    EXPECT_TRUE(PixelIs(normal, 0, 5, Grad(rule::Average(kWhite, rule::Shift(b, 0.08f)), b, 12, 5)));
    EXPECT_TRUE(PixelIs(normal, 0, 20, Grad(b, rule::Shift(b, -0.15f), 14, 8)));
    EXPECT_TRUE(PixelIs(normal, 40, 0, Grad(rule::Average(kWhite, rule::Shift(b, 0.08f)), b, 12, 0)));
    const Snapshot hot = Look(5, L"Hot");
    EXPECT_TRUE(PixelIs(hot, 40, 10, Grad(0xCCF4FF, 0x91D0FF, H, 10)));
    ExpectBorder(hot, navy);
    const Snapshot down = Look(5, L"Down");
    EXPECT_TRUE(PixelIs(down, 40, 10, Grad(0x4E91FE, 0x8ED3FF, H, 10)));
    ExpectBorder(down, navy);
    EXPECT_TRUE(PixelIs(Look(5, L"Checked"), 40, 10, Grad(0x8CD5FF, 0x55ADFF, H, 10)));
    EXPECT_TRUE(PixelIs(Look(5, L"Checked, hot"), 40, 10, Grad(0x4E91FE, 0x8ED3FF, H, 10)));
}

TEST_F(StylePixels, RoundedPanel) {
    EXPECT_TRUE(PixelIs(Look(6, L"Normal"), 0, 12, kFace));
    const Snapshot hot = Look(6, L"Hot");
    EXPECT_TRUE(PixelIs(hot, 40, 5, Grad(0xFDFEFE, 0xEEF4F4, 12, 5)));
    EXPECT_TRUE(PixelIs(hot, 40, 15, Grad(0xEEF4F4, 0xEAF1F1, 12, 3)));
    EXPECT_TRUE(PixelIs(hot, W - 2, 10, 0xE0E7EA));
    EXPECT_TRUE(PixelIs(hot, W - 3, 10, 0xEAF0F0));
    EXPECT_TRUE(PixelIs(hot, 40, H - 4, 0xE5EDEE));
    EXPECT_TRUE(PixelIs(hot, 40, H - 3, 0xD6E1E4));
    EXPECT_TRUE(PixelIs(hot, 40, H - 2, 0xC6D2D7));
    ExpectBorder(hot, 0xC3CECE);
    ExpectCorners(hot, rule::Shift(0xC9D4D4, -0.05f));

    const Snapshot down = Look(6, L"Down");
    EXPECT_TRUE(PixelIs(down, 40, 12, 0xDDE4E5));
    EXPECT_TRUE(PixelIs(down, 40, 1, rule::Shift(0xD1DADC, -0.02f)));
    EXPECT_TRUE(PixelIs(down, 40, 2, rule::Shift(0xDAE1E3, -0.02f)));
    EXPECT_TRUE(PixelIs(down, 40, H - 3, rule::Shift(0xDEE5E6, 0.02f)));
    EXPECT_TRUE(PixelIs(down, 40, H - 2, rule::Shift(0xE5EAEB, 0.02f)));
    ExpectBorder(down, 0x929D9D);
    ExpectCorners(down, rule::Shift(0xABB4B5, -0.2f));
    EXPECT_EQ(button_->ForeColor(), 0xFFFFFFu) << "white caption while pressed";

    const Snapshot checked = Look(6, L"Checked");
    EXPECT_TRUE(PixelIs(checked, 40, 12, 0xFEFEFE));
    ExpectBorder(checked, 0xAF987A);
    ExpectCorners(checked, rule::Shift(0xC1B3A0, -0.2f));
    EXPECT_EQ(button_->State(), 0) << "RoundedPanel draws its own checked look";
    EXPECT_EQ(button_->ForeColor(), forms::SystemColor(COLOR_BTNTEXT));
    const Snapshot checkedHot = Look(6, L"Checked, hot");
    EXPECT_TRUE(PixelIs(checkedHot, W - 2, 10, 0xEDF0F2));
    EXPECT_TRUE(PixelIs(checkedHot, 40, H - 2, 0xD8DEE4));
    EXPECT_TRUE(PixelIs(checkedHot, 40, H - 3, 0xE8ECEF));
    EXPECT_TRUE(PixelIs(checkedHot, 40, H - 4, 0xF8F9FA));
    // Checked and held down: the pressed look.
    const Snapshot held = Look(6, L"Down", [](controls::zembutton& b) {
        b.SetMode(1);
        b.SetValue(true);
    });
    EXPECT_TRUE(PixelIs(held, 40, 12, 0xDDE4E5));
}

TEST_F(StylePixels, RoundedSimple) {
    EXPECT_TRUE(PixelIs(Look(7, L"Normal"), 0, 12, kFace));
    const Snapshot hot = Look(7, L"Hot");
    EXPECT_TRUE(PixelIs(hot, 40, 5, Grad(0xFDF9F1, 0xF8ECD0, H - 2, 4)));
    EXPECT_TRUE(PixelIs(hot, 40, 18, 0xF8ECD0));
    ExpectBorder(hot, 0xCA9E61);
    EXPECT_TRUE(PixelIs(hot, 40, 1, kWhite));
    ExpectCorners(hot, rule::Shift(0xCA9E61, 0.3f));
    const Snapshot down = Look(7, L"Down");
    EXPECT_TRUE(PixelIs(down, 40, 18, Grad(0xF1DEB0, 0xF9F1DB, H - 2, 17)));
    ExpectBorder(down, 0xCA9E61);
    const Snapshot disabled = Look(7, L"Disabled");
    EXPECT_TRUE(PixelIs(disabled, 40, 12, kFace));
    ExpectCorners(disabled, kFace);
}

TEST_F(StylePixels, SquareBands) {
    const long b = 0xFFD1AD;
    const int split = 9;  // round(25 / 2.7)
    auto expectBands = [&](const Snapshot& s, long uf, long ut, long lf, long lt, const char* look) {
        EXPECT_TRUE(PixelIs(s, 5, 1, Grad(uf, ut, split, 1))) << look;
        EXPECT_TRUE(PixelIs(s, 5, 8, Grad(uf, ut, split, 8))) << look;
        EXPECT_TRUE(PixelIs(s, 5, 9, Grad(lf, lt, 16, 0))) << look;
        EXPECT_TRUE(PixelIs(s, 5, 23, Grad(lf, lt, 16, 14))) << look;
        ExpectBorder(s, rule::Shift(b, -0.34f));
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
    const Snapshot normal = Look(9, L"Normal");
    EXPECT_TRUE(PixelIs(normal, 40, 5, Grad(kWhite, b, 12, 5)));
    EXPECT_TRUE(PixelIs(normal, 40, 18, b));
    EXPECT_TRUE(PixelIs(normal, 1, 12, kWhite));
    EXPECT_TRUE(PixelIs(normal, 40, 1, kWhite));
    EXPECT_TRUE(PixelIs(normal, 0, 12, rule::Shift(b, -0.2f)));
    EXPECT_TRUE(PixelIs(normal, 40, 0, rule::Shift(b, -0.2f)));
    EXPECT_TRUE(PixelIs(normal, 40, H - 1, rule::Shift(b, -0.25f)));
    ExpectCorners(normal, rule::Shift(b, 0.05f));
    const Snapshot hot = Look(9, L"Hot");
    EXPECT_EQ(normal.Pixels(), hot.Pixels()) << "hot looks as normal";
    const Snapshot disabled = Look(9, L"Disabled");
    EXPECT_EQ(normal.Pixels(), disabled.Pixels()) << "disabled looks as normal";

    const Snapshot down = Look(9, L"Down");
    EXPECT_TRUE(PixelIs(down, 40, 5, Grad(kWhite, rule::Shift(b, -0.1f), 12, 5)));
    EXPECT_TRUE(PixelIs(down, 40, 18, Grad(rule::Shift(b, -0.1f), rule::Shift(b, -0.05f), H, 6)));
    EXPECT_TRUE(PixelIs(down, 0, 12, rule::Shift(b, -0.23f)));
    EXPECT_TRUE(PixelIs(down, 40, H - 1, rule::Shift(b, -0.4f)));

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
        {L"Disabled", b, rule::Shift(light, 0.05f), rule::Shift(b, -0.02f), rule::Average(kWhite, rule::Shift(b, 0.08f)),
         rule::Shift(b, -0.2f), rule::Shift(b, -0.23f)},
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
        ExpectBorder(s, r.frame);
        ExpectCorners(s, r.corners);
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
    ExpectBorder(shot, 0x743C00);
}
