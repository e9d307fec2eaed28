// Captions: placement, wrapping, ampersands, colours, effects, reading order
// and the drop-down part. The text itself is the platform's drawing, so these
// check where pixels of which colours appear rather than glyph shapes.
#include <gtest/gtest.h>

#include "ButtonTestSupport.h"
#include "ColorRules.h"
#include "controls/imagebutton/ColorMath.h"

using namespace imagebutton_test;
using namespace controls::imagebutton;
using controls::zembutton;

namespace {
constexpr int W = 97;
constexpr int H = 25;

// Pixels of exactly one colour inside a rectangle of the picture.
int Count(const Snapshot& s, long color, RECT area = RECT{0, 0, W, H}) {
    int n = 0;
    for (int y = std::max<LONG>(0, area.top); y < std::min<LONG>(s.Height(), area.bottom); ++y)
        for (int x = std::max<LONG>(0, area.left); x < std::min<LONG>(s.Width(), area.right); ++x)
            n += s.At(x, y) == color ? 1 : 0;
    return n;
}

// The bounding box of the pixels that are not the face colour.
RECT Ink(const Snapshot& s, long face, RECT area) {
    RECT box{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (s.At(x, y) != face)
                box = RECT{std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
                           std::max<LONG>(box.bottom, y + 1)};
    return box;
}

class Captions : public ::testing::Test {
protected:
    void SetUp() override {
        MoveMouseAway();
        button = std::make_unique<zembutton>(form, L"zembutton1", Bounds(10, 10, W, H));
        // A flat face of one colour, so that everything else on it is content.
        button->SetButtonStyle(4);
        button->SetColorScheme(3);
        button->SetBackColor(kFace);
        button->SetPicturePushOnHover(false);
    }
    void TearDown() override { MoveMouseAway(); }

    static constexpr long kFace = 0xF0F0F0;
    static constexpr RECT kInside{1, 1, W - 1, H - 1};
    TestForm& form = SharedForm();
    std::unique_ptr<zembutton> button;
};
}  // namespace

TEST_F(Captions, CentredInItsRectangle) {
    button->SetCaption(L"Select MP3");
    const Snapshot shot(*button);
    const RECT c = button->Layout().caption;
    const int w = c.right - c.left;
    const int h = c.bottom - c.top;
    EXPECT_EQ(c.left, (W - w) / 2);
    EXPECT_EQ(c.top, (H - h) / 2);
    const RECT ink = Ink(shot, kFace, kInside);
    EXPECT_GE(ink.left, c.left);
    EXPECT_LE(ink.right, c.right);
    EXPECT_GE(ink.top, c.top);
    EXPECT_LE(ink.bottom, c.bottom);
    EXPECT_GT(Count(shot, 0x000000), 10) << "drawn in the button-text colour";
}

TEST_F(Captions, LeftAndRightAlignment) {
    button->SetCaption(L"Go");
    button->SetCaptionAlign(0);
    EXPECT_EQ(button->Layout().caption.left, 2);
    button->SetCaptionAlign(2);
    EXPECT_EQ(button->Layout().caption.right, W - 4);
    button->SetDropDownSymbol(6);
    EXPECT_EQ(button->Layout().caption.right, W - 4 - 16);
}

TEST_F(Captions, DoubledAmpersandShowsOneAndASingleOneUnderlines) {
    button->SetCaption(L"A&&B");
    Snapshot doubled(*button);
    const LONG doubledWidth = button->Layout().caption.right - button->Layout().caption.left;
    button->SetCaption(L"A&B");
    Snapshot single(*button);
    const LONG singleWidth = button->Layout().caption.right - button->Layout().caption.left;
    EXPECT_GT(doubledWidth, singleWidth) << "A&B shows both letters and an ampersand";
    button->SetCaption(L"AB");
    Snapshot plain(*button);
    EXPECT_EQ(button->Layout().caption.right - button->Layout().caption.left, singleWidth);
    // The underline under B: ink in the lowest rows that plain "AB" does not have.
    const RECT c = button->Layout().caption;
    const RECT lower{c.left, c.bottom - 3, c.right, c.bottom};
    EXPECT_GT(Count(single, 0x000000, lower), Count(plain, 0x000000, lower));
}

TEST_F(Captions, LongCaptionsWrapAtWords) {
    button->SetCaption(L"Check for updates of every kind");
    const RECT c = button->Layout().caption;
    EXPECT_LE(c.right - c.left, W - 8);
    EXPECT_GT(c.bottom - c.top, 20) << "more than one line";
    button->SetDropDownSeparator(true);
    EXPECT_LE(button->Layout().caption.right - button->Layout().caption.left, W - 16);
    button->SetPictureAlign(3);
    EXPECT_LE(button->Layout().caption.right - button->Layout().caption.left, W - 24);
}

TEST_F(Captions, DisabledIsGreyWhateverTheForeColour) {
    button->SetCaption(L"Exit");
    button->SetForeColor(0x0000FF);
    EXPECT_GT(Count(Snapshot(*button), 0x0000FF), 5);
    button->SetEnabled(false);
    const Snapshot shot(*button);
    EXPECT_EQ(Count(shot, 0x0000FF), 0);
    EXPECT_GT(Count(shot, static_cast<long>(::GetSysColor(COLOR_GRAYTEXT))), 5);
    // Effect copies keep their colours.
    button->SetCaptionEffects(5);
    EXPECT_GT(Count(Snapshot(*button), rule::Shift(kFace, -0.1f)), 5);
}

TEST_F(Captions, HotUsesForeColorHover) {
    button->SetCaption(L"Exit");
    button->SetForeColorHover(0x00C000);
    EXPECT_EQ(Count(Snapshot(*button), 0x00C000), 0);
    MoveMouse(*button, 3, 3);
    EXPECT_GT(Count(Snapshot(*button), 0x00C000), 5);
}

TEST_F(Captions, Effects) {
    button->SetCaption(L"Exit");
    const RECT c = button->Layout().caption;
    struct Case {
        int effect;
        long color;
    };
    const Case cases[] = {{1, rule::Shift(kFace, 0.14f)},
                          {2, rule::Shift(kFace, 0.14f)},
                          {3, 0xC0C0C0},
                          {4, rule::Shift(kFace, 0.1f)},
                          {5, rule::Shift(kFace, -0.1f)}};
    const Snapshot none(*button);
    for (const Case& k : cases) {
        button->SetCaptionEffects(k.effect);
        const Snapshot shot(*button);
        EXPECT_GT(Count(shot, k.color), 5) << k.effect;
        EXPECT_NE(shot.Pixels(), none.Pixels()) << k.effect;
    }
    // Raised copies go up and left, sunken ones down and right, out of the caption's own box.
    button->SetCaptionEffects(3);
    const Snapshot shadow(*button);
    EXPECT_GT(Count(shadow, 0xC0C0C0, RECT{c.left, c.top, c.right + 1, c.bottom + 1}), 0);
}

TEST_F(Captions, RightToLeftReading) {
    button->SetCaption(L"Save!");
    const Snapshot ltr(*button);
    const RECT before = button->Layout().caption;
    button->SetRightToLeft(true);
    const Snapshot rtl(*button);
    EXPECT_EQ(button->Layout().caption.left, before.left) << "placement is unchanged";
    EXPECT_NE(ltr.Pixels(), rtl.Pixels()) << "the reading order changes the drawing";
}

TEST_F(Captions, DropDownSymbolAtTheRight) {
    button->SetCaption(L"");
    button->SetDropDownSymbol(6);
    const Snapshot shot(*button);
    const RECT symbol{W - 15, 6, W, 20};
    EXPECT_GT(Count(shot, 0x000000, symbol), 3) << "the Marlett glyph";
    EXPECT_EQ(Count(shot, 0x000000, RECT{1, 1, W - 16, H - 1}), 0);
    const RECT ink = Ink(shot, kFace, kInside);
    EXPECT_GE(ink.left, W - 15);
    EXPECT_GE(ink.top, 6);
    EXPECT_LE(ink.bottom, 20);
}

TEST_F(Captions, DropDownSymbolMovesTwoPixelsWhenPressed) {
    button->SetButtonStyle(1);
    button->SetCaption(L"");
    button->SetDropDownSymbol(6);
    const RECT up =
        Ink(Snapshot(*button), static_cast<long>(::GetSysColor(COLOR_BTNFACE)), RECT{W - 20, 3, W - 2, H - 2});
    MoveMouse(*button, 3, 3);
    Press(*button, 3, 3);
    const RECT down =
        Ink(Snapshot(*button), static_cast<long>(::GetSysColor(COLOR_BTNFACE)), RECT{W - 20, 3, W - 2, H - 2});
    Release(*button, 3, 3);
    EXPECT_EQ(down.left - up.left, 2);
    EXPECT_EQ(down.top - up.top, 2);
}

TEST_F(Captions, DropDownSeparatorTakesItsColoursFromTheFace) {
    button->SetButtonStyle(8);
    button->SetCaption(L"");
    button->SetDropDownSeparator(true);
    const Snapshot shot(*button);
    const long sample = shot.At(7, 7);
    EXPECT_EQ(shot.At(W - 16, 7), rule::Shift(sample, -0.1f));
    EXPECT_EQ(shot.At(W - 15, 7), rule::Shift(sample, 0.1f));
    EXPECT_EQ(shot.At(W - 16, 2), shot.At(6, 2)) << "the lines start at 3";
    // No room for it when the caption reaches within 8 pixels of the right edge.
    button->SetCaption(L"Abcdefghijklmnopqrstuvwxyz0123456789");
    button->SetCaptionAlign(0);
    const Snapshot crowded(*button);
    ASSERT_GE(button->Layout().caption.right, W - 8);
    EXPECT_EQ(crowded.At(W - 16, 3), crowded.At(30, 3));
}
