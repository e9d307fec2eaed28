// The themed button's pixels: the looks 0 to 5 in every state, the window
// outline of each look, and the icon path; read back exactly from a full repaint.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "ThemedTestSupport.h"
#include "base/Handles.h"

using namespace themed_test;
using controls::ThemedButton;

namespace {
constexpr int W = 40;
constexpr int H = 24;
constexpr long kBack = 0x102030;
constexpr long kHigh = 0x405060;

long Sys(int index) { return static_cast<long>(::GetSysColor(index)); }

enum class Put { Normal, Hot, Pressed, Disabled };

// A captionless button of the look, in the state asked for: hot by design mode
// (which draws every look but 5 hot), pressed as a toggle that is on.
std::unique_ptr<ThemedButton> Make(HostForm& form, int style, Put state, bool custom = true) {
    auto b = std::make_unique<ThemedButton>(form, L"ThemedButton1", Bounds(10, 10, W, H));
    b->SetCaption(L"");
    b->SetUseCustomColors(custom);
    b->SetBackColor(kBack);
    b->SetHighlightColor(kHigh);
    b->SetStyle(style);
    if (state == Put::Pressed) {
        b->SetButtonType(1);
        b->SetValue(true);
    }
    if (state == Put::Disabled) b->SetEnabled(false);
    form.userMode = state != Put::Hot;
    return b;
}

struct Probe {
    int x, y;
    long color;
};

struct LookCase {
    const char* name;
    int style;
    Put state;
    bool custom;
    std::vector<Probe> probes;
};

void Check(const LookCase& c) {
    HostForm& form = SharedForm();
    auto b = Make(form, c.style, c.state, c.custom);
    const Snapshot shot(*b);
    for (const Probe& p : c.probes)
        EXPECT_EQ(shot.At(p.x, p.y), p.color) << c.name << " at (" << p.x << ", " << p.y << ")";
    form.userMode = true;
}
}  // namespace

TEST(ThemedRender, RaisedSoftAndFlatLooks) {
    const long light = Sys(COLOR_3DLIGHT), dark = Sys(COLOR_3DDKSHADOW);
    const long hilite = Sys(COLOR_BTNHIGHLIGHT), shadow = Sys(COLOR_BTNSHADOW), face = Sys(COLOR_BTNFACE);
    const LookCase cases[] = {
        {"0 normal", 0, Put::Normal, true, {{20, 12, kBack}, {20, 0, light}, {20, 1, hilite}, {20, 23, dark}, {20, 22, shadow}}},
        {"0 hot", 0, Put::Hot, true, {{20, 12, kHigh}, {20, 0, light}, {20, 23, dark}}},
        {"0 pressed", 0, Put::Pressed, true, {{20, 12, kHigh}, {20, 0, shadow}, {20, 1, dark}, {20, 23, hilite}, {20, 22, light}}},
        {"0 disabled: on the button face", 0, Put::Disabled, true, {{20, 12, face}, {20, 0, light}}},
        {"0 without custom colours", 0, Put::Hot, false, {{20, 12, face}}},
        {"1 normal", 1, Put::Normal, true, {{20, 12, kBack}, {20, 0, hilite}, {0, 12, hilite}, {20, 23, shadow}, {39, 12, shadow}}},
        {"1 hot", 1, Put::Hot, true, {{20, 12, kHigh}, {20, 0, hilite}, {20, 23, shadow}}},
        {"1 pressed", 1, Put::Pressed, true, {{20, 12, kHigh}, {20, 0, shadow}, {20, 23, hilite}}},
        {"1 disabled", 1, Put::Disabled, true, {{20, 12, kBack}, {20, 0, kBack}, {39, 23, kBack}}},
        {"2 normal: flat", 2, Put::Normal, true, {{20, 12, kBack}, {20, 0, kBack}, {39, 23, kBack}}},
        {"2 hot", 2, Put::Hot, true, {{20, 12, kHigh}, {20, 0, hilite}, {20, 23, shadow}}},
        {"2 pressed", 2, Put::Pressed, true, {{20, 12, kHigh}, {20, 0, shadow}, {20, 23, hilite}}},
        {"2 disabled", 2, Put::Disabled, true, {{20, 12, kBack}, {0, 0, kBack}}},
    };
    for (const auto& c : cases) Check(c);
}

TEST(ThemedRender, EtchedAndOfficeLooks) {
    const long shadow = Sys(COLOR_BTNSHADOW), face = Sys(COLOR_BTNFACE), window = Sys(COLOR_WINDOW);
    auto blend = [](long a, long b) {
        auto ch = [&](int s) {
            const int sum = ((a >> s) & 0xFF) + ((b >> s) & 0xFF);
            return static_cast<long>((sum % 4 == 1) ? sum / 2 : (sum + 1) / 2);  // halves to even
        };
        return ch(0) | ch(8) << 8 | ch(16) << 16;
    };
    const long between = blend(window, shadow);
    const LookCase cases[] = {
        {"3 normal",
         3,
         Put::Normal,
         false,
         {{20, 12, face}, {20, 0, shadow}, {38, 12, shadow}, {20, 1, window}, {39, 12, window}, {0, 23, face},
          {39, 0, face}, {1, 22, between}, {38, 1, between}}},
        {"3 hot", 3, Put::Hot, false, {{20, 12, blend(shadow, face)}, {0, 23, blend(shadow, face)}}},
        {"3 pressed", 3, Put::Pressed, false, {{20, 12, shadow}, {39, 0, shadow}}},
        {"3 hot, custom", 3, Put::Hot, true, {{20, 12, blend(kHigh, kBack)}}},
        // lighten(0x102030, 32) = 0x2D3B49; lighten(0x405060, 176) = 0xC3C8CD; lighten(.., 128) = 0x9FA7AF
        {"4 normal", 4, Put::Normal, true, {{20, 12, 0x2D3B49}, {0, 0, 0x2D3B49}, {39, 23, 0x2D3B49}}},
        {"4 hot: no gap", 4, Put::Hot, true,
         {{20, 12, 0xC3C8CD}, {38, 22, 0xC3C8CD}, {39, 22, kHigh}, {38, 23, kHigh}, {39, 23, kHigh}, {0, 0, kHigh}}},
        {"4 pressed", 4, Put::Pressed, true, {{20, 12, 0x9FA7AF}, {39, 23, kHigh}}},
        {"4 disabled", 4, Put::Disabled, true, {{20, 12, 0x2D3B49}}},
    };
    for (const auto& c : cases) Check(c);
}

TEST(ThemedRender, SkinFiveInItsFourStates) {
    HostForm& form = SharedForm();
    {
        auto b = Make(form, 5, Put::Disabled, false);
        const Snapshot s(*b);
        EXPECT_EQ(s.At(20, 12), 0xEAF4F5) << "no face bands";
        EXPECT_EQ(s.At(20, 0), 0xBAC7C9) << "the outline, not the blue border";
        EXPECT_EQ(s.At(39, 23), 0xBAC7C9);
        EXPECT_EQ(s.At(0, 0), 0xBAC7C9);
        for (POINT p : {POINT{0, 1}, POINT{1, 1}, POINT{1, 0}, POINT{38, 22}, POINT{39, 22}, POINT{38, 23}})
            EXPECT_EQ(s.At(p.x, p.y), 0xC7D5D8) << p.x << "," << p.y;
    }
    {
        auto b = Make(form, 5, Put::Pressed, false);
        const Snapshot s(*b);
        EXPECT_EQ(s.At(20, 1), 0xC1CCD1) << "the first pressed band";
        EXPECT_EQ(s.At(20, 0), 0x743C00);
        EXPECT_EQ(s.At(0, 12), 0x743C00);
        EXPECT_EQ(s.At(1, 1), 0x906E48);
        EXPECT_EQ(s.At(0, 1), 0xA28B6A);
        EXPECT_EQ(s.At(1, 2), 0xCAC7BF);
    }
    {
        auto b = Make(form, 5, Put::Normal, false);
        const Snapshot s(*b);
        EXPECT_EQ(s.At(20, 1), 0xFBFCFC);
        EXPECT_EQ(s.At(20, 23), 0x743C00);
        EXPECT_EQ(s.At(38, 22), 0x906E48);
        form.defaultButton = b.get();  // the emphasis lines, without the focus
        const Snapshot hinted(*b);
        EXPECT_FALSE(b->HasFocus());
        EXPECT_EQ(hinted.At(20, 22), 0xEE8269);
        EXPECT_EQ(hinted.At(20, 1), 0xFFE7CE);
        EXPECT_EQ(hinted.At(20, 2), 0xF6D4BC);
        EXPECT_EQ(hinted.At(20, 21), 0xE4AD89);
        form.defaultButton = nullptr;
    }
    {
        auto b = Make(form, 5, Put::Normal, false);
        MoveMouse(*b, 20, 12);  // Style 5 is not drawn hot by design mode: the mouse makes it so
        ASSERT_EQ(b->State(), 2);
        const Snapshot s(*b);
        EXPECT_EQ(s.At(20, 1), 0xCFF0FF);
        EXPECT_EQ(s.At(20, 2), 0x89D8FD);
        EXPECT_EQ(s.At(20, 21), 0x30B3F8);
        EXPECT_EQ(s.At(20, 22), 0x1097E5);
        MoveMouseAway();
    }
}

TEST(ThemedRender, DesignModeDrawsEveryLookButFiveHot) {
    HostForm& form = SharedForm();
    for (int style : {0, 1, 2, 3, 4, 5}) {
        auto b = Make(form, style, Put::Hot, true);
        b->Refresh();
        EXPECT_EQ(b->State(), style == 5 ? 1 : 2) << style;
        form.userMode = true;
    }
}

struct RegionCase {
    int style;
    std::vector<POINT> inside;
    std::vector<POINT> outside;
};

TEST(ThemedRender, WindowRegionOfEachLook) {
    HostForm& form = SharedForm();
    const RegionCase cases[] = {
        {0, {{0, 0}, {39, 23}}, {{40, 12}, {20, 24}}},
        {5, {{1, 0}, {0, 1}, {20, 12}, {39, 12}, {2, 23}}, {{0, 0}, {39, 23}, {0, 23}}},
        {7, {{1, 0}, {20, 12}}, {{0, 0}, {39, 23}}},
        {8, {{2, 0}, {0, 2}, {20, 12}}, {{1, 0}, {0, 1}, {39, 1}, {39, 22}, {0, 22}}},
        {9, {{2, 0}, {20, 23}}, {{0, 0}, {39, 0}}},
        {10, {{20, 0}, {0, 12}, {20, 23}}, {{0, 0}, {1, 1}, {39, 0}, {39, 23}}},
    };
    for (const auto& c : cases) {
        auto b = Make(form, c.style, Put::Normal);
        base::RegionHandle region(::CreateRectRgn(0, 0, 0, 0));
        ASSERT_NE(::GetWindowRgn(b->hWnd(), region.Get()), ERROR) << c.style;
        for (POINT p : c.inside) EXPECT_TRUE(::PtInRegion(region.Get(), p.x, p.y)) << c.style << ": " << p.x << "," << p.y;
        for (POINT p : c.outside)
            EXPECT_FALSE(::PtInRegion(region.Get(), p.x, p.y)) << c.style << ": " << p.x << "," << p.y;
    }
}

// ---- The icon

namespace {
constexpr long kRed = 0x0000FF;  // 0x00BBGGRR

// The icon at IconAlign 1 of a W x H button: x = margin 3, y = (24 - 16) / 2 = 4.
constexpr int kIconX = 3;
constexpr int kIconY = 4;
}  // namespace

TEST(ThemedRender, TheMaskedCopySkipsTheMaskColour) {
    HostForm& form = SharedForm();
    auto b = Make(form, 4, Put::Normal);
    b->SetIcon(MakeIcon(0xC0C0C0, {{3, 3, kRed}, {5, 3, 0x00FF00}}));
    b->SetMaskColor(0xC0C0C0);
    b->SetUseMaskColor(true);
    const Snapshot s(*b);
    EXPECT_EQ(s.At(kIconX + 3, kIconY + 3), kRed);
    EXPECT_EQ(s.At(kIconX + 5, kIconY + 3), 0x00FF00);
    EXPECT_EQ(s.At(kIconX, kIconY), 0x2D3B49) << "a mask-coloured pixel leaves the face";
    b->SetEnabled(false);
    const Snapshot grey(*b);
    EXPECT_EQ(grey.At(kIconX + 3, kIconY + 3), 0x4C4C4C) << "round(round(0.3 x 255) + 0) = 76";
    EXPECT_EQ(grey.At(kIconX, kIconY), 0x2D3B49);
}

TEST(ThemedRender, ADisabledIconTurnsGrey) {
    HostForm& form = SharedForm();
    auto b = Make(form, 4, Put::Disabled);
    b->SetIcon(MakeIcon(0x909090, {{3, 3, 0x808080}, {5, 3, kRed}}));
    const Snapshot s(*b);
    EXPECT_EQ(s.At(kIconX, kIconY), 0x949494) << "0x909090 is not one of the sixteen grey levels";
    EXPECT_EQ(s.At(kIconX + 3, kIconY + 3), 0x808080);
    EXPECT_EQ(s.At(kIconX + 5, kIconY + 3), 0x545454) << "round(0.33 x 255) = 84";
}

struct GreyCase {
    long in;
    long out;
};

TEST(ThemedRender, PaintIconGrayscaleLevels) {
    HostForm& form = SharedForm();
    ThemedButton b(form, L"ThemedButton1", Bounds(10, 10, W, H));
    const GreyCase cases[] = {{0x909090, 0x949494}, {0x808080, 0x808080}, {0xF0F0F0, 0xF0F0F0}, {0xFFFFFF, 0xFFFFFF},
                              {0x0000FF, 0x545454}, {0xFF0000, 0x1C1C1C}, {0x00FF00, 0x969696}, {0x010101, 0x010101}};
    for (const auto& c : cases) {
        auto icon = MakeIcon(c.in, {}, 4);
        base::WindowDC screen(nullptr);
        base::MemoryDC dc(::CreateCompatibleDC(screen.Get()));
        base::BitmapHandle bitmap(::CreateCompatibleBitmap(screen.Get(), 4, 4));
        base::SelectedObject selected(dc.Get(), bitmap.Get());
        ASSERT_TRUE(b.PaintIconGrayscale(dc.Get(), icon->Icon(), 0, 0, 4, 4));
        const COLORREF got = ::GetPixel(dc.Get(), 2, 2);
        EXPECT_EQ(static_cast<long>(got), c.out) << std::hex << c.in;
    }
    EXPECT_FALSE(b.PaintIconGrayscale(nullptr, nullptr, 0, 0, 4, 4));
    // A monochrome icon has no colour bitmap: nothing is drawn.
    std::uint8_t bits[2 * 2 * 16]{};
    base::IconHandle mono(::CreateIcon(::GetModuleHandleW(nullptr), 16, 16, 1, 1, bits, bits));
    base::WindowDC screen(nullptr);
    EXPECT_FALSE(b.PaintIconGrayscale(screen.Get(), mono.Get(), 0, 0, 16, 16));
}

namespace {
// The bounding box of the pixels of one colour.
RECT Extent(const Snapshot& s, long color) {
    RECT box{s.Width(), s.Height(), -1, -1};
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            if (s.At(x, y) == color) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    return box;
}
}  // namespace

TEST(ThemedRender, PressedMovesTheIconButNotTheCaption) {
    HostForm& form = SharedForm();
    auto b = std::make_unique<ThemedButton>(form, L"ThemedButton1", Bounds(10, 10, 90, 30));
    b->SetStyle(2);
    b->SetCaption(L"Go");
    b->SetCaptionAlign(2);
    b->SetIcon(MakeIcon(kRed));
    const long text = Sys(COLOR_BTNTEXT);
    const Snapshot up(*b);
    b->SetButtonType(1);
    b->SetValue(true);
    const Snapshot down(*b);
    const RECT iconUp = Extent(up, kRed), iconDown = Extent(down, kRed);
    EXPECT_EQ(iconUp.left, 3);
    EXPECT_EQ(iconUp.top, 7);
    EXPECT_EQ(iconDown.left, iconUp.left + 1);
    EXPECT_EQ(iconDown.top, iconUp.top + 1);
    const RECT captionUp = Extent(up, text), captionDown = Extent(down, text);
    ASSERT_LT(captionUp.left, captionUp.right) << "the caption was drawn";
    EXPECT_TRUE(::EqualRect(&captionUp, &captionDown));
}

TEST(ThemedRender, OfficeHotShadow) {
    HostForm& form = SharedForm();
    for (bool masked : {true, false}) {
        auto b = Make(form, 4, Put::Hot);
        b->SetIcon(MakeIcon(kRed));
        b->SetUseMaskColor(masked);
        b->SetMaskColor(0xC0C0C0);
        const Snapshot s(*b);
        // The icon lifted two pixels up and left, its grey silhouette below right: a
        // masked copy one pixel down and right, or the icon's own square.
        EXPECT_EQ(s.At(kIconX - 2, kIconY - 2), kRed) << masked;
        EXPECT_EQ(s.At(kIconX + 13, kIconY + 13), kRed) << masked;
        EXPECT_EQ(s.At(kIconX + 15, kIconY + 15), 0x808080) << masked;
        EXPECT_EQ(s.At(kIconX + 16, kIconY + 16), masked ? 0x808080 : 0xC3C8CD) << masked;
        EXPECT_EQ(s.At(kIconX + 15, kIconY + 5), 0x808080) << masked;
        EXPECT_EQ(s.At(kIconX + 17, kIconY + 5), 0xC3C8CD) << masked;
        form.userMode = true;
    }
}
