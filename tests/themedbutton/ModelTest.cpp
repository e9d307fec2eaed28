// The themed button's model: new-instance values, the store's keys and their
// oddities, setters, the About box, OpenLink and the layout arithmetic.
#include <windows.h>

#include <uxtheme.h>

#include <gtest/gtest.h>

#include <stdexcept>

#include "ThemedTestSupport.h"
#include "controls/themedbutton/ButtonPersistence.h"
#include "controls/themedbutton/ContentLayout.h"

using namespace themed_test;
using controls::ThemedButton;
using namespace controls::themedbutton;

namespace {
forms::OleColor Sys(int index) { return static_cast<forms::OleColor>(::GetSysColor(index)); }

template <typename T>
T Stored(const forms::PropertyBag& bag, const wchar_t* key) {
    const forms::PropertyValue* value = bag.Find(key);
    if (!value || !std::holds_alternative<T>(*value)) throw std::runtime_error("missing or of another type");
    return std::get<T>(*value);
}

// Takes the visual theme away from one window, as on a platform without themes.
void WithoutTheme(const ThemedButton& b) { ::SetWindowTheme(b.hWnd(), L" ", L" "); }
}  // namespace

TEST(ThemedModel, ANewButtonTakesTheNewInstanceValues) {
    HostForm& form = SharedForm();
    ThemedButton b(form, L"ThemedButton1", Bounds(10, 10, 100, 30));
    EXPECT_EQ(b.Caption(), L"ThemedButton1");
    EXPECT_EQ(b.Icon(), nullptr);
    EXPECT_EQ(b.Style(), 0);
    EXPECT_EQ(b.IconSize(), 16);
    EXPECT_EQ(b.CaptionAlign(), 0);
    EXPECT_EQ(b.IconAlign(), 1);
    EXPECT_EQ(b.NonThemeStyle(), 0);
    EXPECT_TRUE(b.Enabled());
    EXPECT_FALSE(b.ShowFocus());
    EXPECT_FALSE(b.UseCustomColors());
    EXPECT_EQ(b.BackColor(), Sys(COLOR_BTNFACE));
    EXPECT_EQ(b.HighlightColor(), Sys(COLOR_HIGHLIGHT));
    EXPECT_EQ(b.FontColor(), Sys(COLOR_BTNTEXT));
    EXPECT_EQ(b.FontHighlightColor(), Sys(COLOR_BTNTEXT));
    EXPECT_EQ(b.ToolTipText(), L"");
    EXPECT_EQ(b.TooltipTitle(), L"");
    EXPECT_EQ(b.ToolTipIcon(), 0);
    EXPECT_EQ(b.ToolTipType(), 1);
    EXPECT_EQ(b.TooltipBackColor(), 0u);
    EXPECT_EQ(b.ToolTipForeColor(), 0u);
    EXPECT_EQ(b.ButtonType(), 0);
    EXPECT_FALSE(b.Value());
    EXPECT_EQ(b.MaskColor(), 0u);
    EXPECT_FALSE(b.UseMaskColor());
    EXPECT_EQ(b.MousePointer(), 0);
    EXPECT_FALSE(b.RoundedBordersByTheme());
    EXPECT_FALSE(b.RightToLeft());
    ASSERT_NE(b.Font(), nullptr);
    EXPECT_EQ(b.CaptionFormat(), static_cast<UINT>(DT_CENTER | DT_VCENTER | DT_WORDBREAK));
    EXPECT_EQ(ThemedButton::Version(), L"3.6.2");
}

TEST(ThemedModel, SavesInItsOwnOrderLeavingOutDefaults) {
    HostForm& form = SharedForm();
    ThemedButton b(form, L"ThemedButton1", Bounds(10, 10, 100, 30));
    forms::PropertyBag bag;
    b.WriteProperties(bag);
    // Style 0, NonThemeStyle 0, MaskColor 0 and RoundedBordersByTheme false differ from the
    // missing-key values; the tooltip entries, Icon and Font are always written, and the
    // tooltip colours 0 unless 0 is the system colour their keys default to.
    std::vector<std::wstring> expected = {L"Icon",         L"Style",       L"Caption",    L"iNonThemeStyle",
                                          L"Tooltiptitle", L"ToolTipIcon", L"ToolTipType"};
    if (::GetSysColor(COLOR_INFOTEXT) != 0) expected.push_back(L"ttBackColor");
    if (::GetSysColor(COLOR_INFOBK) != 0) expected.push_back(L"ttForeColor");
    for (const wchar_t* key : {L"Font", L"MaskColor", L"RoundedBordersByTheme", L"bRTLText"}) expected.push_back(key);
    EXPECT_EQ(bag.Keys(), expected);
    EXPECT_EQ(Stored<std::int32_t>(bag, L"bRTLText"), 0);
    EXPECT_EQ(Stored<std::int32_t>(bag, L"MaskColor"), 0);
}

struct MissingCase {
    const wchar_t* what;
    long got;
    long expected;
};

TEST(ThemedModel, AnEmptyStoreReadsTheMissingKeyValues) {
    HostForm& form = SharedForm();
    forms::PropertyBag empty;
    ThemedButton b(form, L"ThemedButton1", Bounds(10, 10, 100, 30), empty);
    const MissingCase cases[] = {
        {L"Style", b.Style(), 3},
        {L"NonThemeStyle", b.NonThemeStyle(), 5},
        {L"MaskColor", static_cast<long>(b.MaskColor()), 0xC0C0C0},
        {L"RoundedBordersByTheme", b.RoundedBordersByTheme(), 1},
        {L"ttBackColor: the info-text colour", static_cast<long>(b.TooltipBackColor()),
         static_cast<long>(::GetSysColor(COLOR_INFOTEXT))},
        {L"ttForeColor: the info-background colour", static_cast<long>(b.ToolTipForeColor()),
         static_cast<long>(::GetSysColor(COLOR_INFOBK))},
        {L"ToolTipType", b.ToolTipType(), 1},
        {L"IconAlign", b.IconAlign(), 1},
        {L"RightToLeft", b.RightToLeft(), 0},
    };
    for (const auto& c : cases) EXPECT_EQ(c.got, c.expected) << c.what;
    EXPECT_EQ(b.Caption(), L"ThemedButton");
}

TEST(ThemedModel, RoundTripKeepsTheOddities) {
    HostForm& form = SharedForm();
    ThemedButton original(form, L"ThemedButton1", Bounds(10, 10, 100, 30));
    original.SetCaption(L"");
    original.SetRightToLeft(true);
    original.SetUseCustomColors(true);
    original.SetNonThemeStyle(7);
    original.SetTooltipTitle(L"Title");
    original.SetToolTipForeColor(0x000001);
    original.SetButtonType(1);
    original.SetValue(true);
    original.SetMousePointer(3);
    forms::PropertyBag bag;
    original.WriteProperties(bag);
    EXPECT_EQ(Stored<std::int32_t>(bag, L"bRTLText"), -1);
    EXPECT_TRUE(Stored<bool>(bag, L"USeCustomColors"));
    EXPECT_EQ(Stored<std::int32_t>(bag, L"iNonThemeStyle"), 7);
    EXPECT_EQ(Stored<std::wstring>(bag, L"Tooltiptitle"), L"Title");
    EXPECT_EQ(Stored<std::int16_t>(bag, L"MousePointer"), 3);  // 16 bits, as a host that follows the table reads it
    EXPECT_FALSE(bag.Contains(L"Caption"));                    // an empty caption is left out

    ThemedButton copy(form, L"ThemedButton2", Bounds(10, 50, 100, 30), bag);
    EXPECT_TRUE(copy.RightToLeft());
    EXPECT_TRUE(copy.UseCustomColors());
    EXPECT_EQ(copy.NonThemeStyle(), 7);
    EXPECT_EQ(copy.TooltipTitle(), L"Title");
    EXPECT_EQ(copy.ToolTipForeColor(), 0x000001u);
    EXPECT_EQ(copy.MaskColor(), 0u);
    EXPECT_FALSE(copy.RoundedBordersByTheme());
    EXPECT_EQ(copy.Style(), 0);
    EXPECT_TRUE(copy.Value());
    EXPECT_EQ(copy.MousePointer(), 3);
    EXPECT_EQ(copy.Caption(), L"ThemedButton");
}

TEST(ThemedModel, ToolTipTextGoesToTheHostFirst) {
    HostForm& form = SharedForm();
    forms::PropertyBag bag;
    bag.Write(L"ToolTipText", std::wstring(L"Opens the site"));
    ThemedButton b(form, L"ThemedButton1", Bounds(10, 10, 100, 30), bag);
    EXPECT_EQ(b.ToolTipText(), L"Opens the site");
    EXPECT_EQ(static_cast<forms::Control&>(b).ToolTipText(), L"Opens the site");
    // A text equal to the host's attribute is not written again.
    forms::PropertyBag saved;
    b.WriteProperties(saved);
    EXPECT_FALSE(saved.Contains(L"ToolTipText"));
}

TEST(ThemedModel, StyleSixWithoutAThemeEndsAsTheNonThemeStyleAndIsSavedSo) {
    HostForm& form = SharedForm();
    for (int fallback : {5, 8, 0}) {
        ThemedButton b(form, L"ThemedButton1", Bounds(10, 10, 100, 30));
        WithoutTheme(b);
        b.SetNonThemeStyle(fallback);
        b.SetStyle(6);
        EXPECT_EQ(b.Style(), fallback);
        forms::PropertyBag bag;
        b.WriteProperties(bag);
        EXPECT_EQ(Stored<std::int32_t>(bag, L"Style"), fallback);
    }
}

TEST(ThemedModel, SettersTellTheHost) {
    HostForm& form = SharedForm();
    ThemedButton b(form, L"ThemedButton1", Bounds(10, 10, 100, 30));
    form.changes.clear();
    b.SetCaption(L"&Open");
    b.SetShowFocus(true);
    b.SetEnabled(false);
    b.SetMousePointer(2);
    const std::vector<std::wstring> expected = {L"Caption", L"ShowFocus", L"Enabled", L"MousePointer"};
    EXPECT_EQ(form.changes, expected);
    EXPECT_FALSE(::IsWindowEnabled(b.hWnd()));
    EXPECT_EQ(b.AccessKeys(), L"o");
}

TEST(ThemedModel, TooSmallAButtonGrowsToTwentyPixels) {
    HostForm& form = SharedForm();
    ThemedButton b(form, L"ThemedButton1", Bounds(10, 10, 8, 12));
    RECT frame{};
    ::GetWindowRect(b.hWnd(), &frame);
    EXPECT_EQ(frame.right - frame.left, 20);
    EXPECT_EQ(frame.bottom - frame.top, 20);
}

TEST(ThemedModel, AboutShowsAFloatingBoxThatACloseClickHides) {
    HostForm& form = SharedForm();
    ThemedButton b(form, L"ThemedButton1", Bounds(10, 10, 100, 30));
    b.About();
    HWND box = b.AboutWindow();
    ASSERT_NE(box, nullptr);
    wchar_t title[64]{};
    ::GetWindowTextW(box, title, 64);
    EXPECT_STREQ(title, L"About ThemedButton 3.6.2");
    EXPECT_TRUE(::IsWindowVisible(box));
    EXPECT_EQ(::GetAncestor(box, GA_PARENT), ::GetDesktopWindow());
    EXPECT_EQ(::GetWindowLongPtrW(box, GWL_STYLE) & 0x00C60000, 0x00C60000);
    EXPECT_NE(::GetWindowLongPtrW(box, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    ::SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(::IsWindowVisible(box));
    ::SendMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(::IsWindowVisible(box));
    b.About();
    EXPECT_TRUE(::IsWindowVisible(box)) << "shown again after it was closed";
    // Closed while its button is held, it lets the mouse go and shows no pressed button again.
    ::SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::SendMessageW(box, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindowVisible(box));
    EXPECT_NE(::GetCapture(), box);
    b.About();
    ::SendMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(::IsWindowVisible(box)) << "a release without a press does not close";
    ::ShowWindow(box, SW_HIDE);
}

TEST(ThemedModel, OpenLinkReturnsTheShellsResult) {
    HostForm& form = SharedForm();
    ThemedButton b(form, L"ThemedButton1", Bounds(10, 10, 100, 30));
    const int result = b.OpenLink(L"C:\\no such folder\\no such file.snipmill-test");
    EXPECT_GT(result, 0);
    EXPECT_LE(result, 32);
}

TEST(ThemedModel, AThrowingEventHandlerLeavesTheButtonUsable) {
    HostForm& form = SharedForm();
    ThemedButton b(form, L"ThemedButton1", Bounds(10, 10, 100, 30));
    int clicks = 0;
    b.Click.Subscribe([&] {
        ++clicks;
        throw std::runtime_error("handler failed");
    });
    ClickMiddle(b);
    ClickMiddle(b);
    EXPECT_EQ(clicks, 2);
    b.SetCaption(L"Still here");
    EXPECT_EQ(b.Caption(), L"Still here");
    MoveMouseAway();
}

// ---- Layout arithmetic

struct CaptionCase {
    int align;
    RECT expected;
    UINT format;
};

TEST(ThemedLayout, CaptionRectangleByAlignment) {
    // W 100, H 30; the caption measured as 40 x 13 from (4, 4); margin 3.
    const RECT measured{4, 4, 44, 17};
    const CaptionCase cases[] = {
        // left (100-44-4)/2 = 26; top (30-17-4)/2+3 = 7.5 -> 8; right (100+40)/2 = 70; bottom (30+13)/2 = 21.5 -> 22
        {0, {26, 8, 70, 22}, DT_CENTER | DT_VCENTER | DT_WORDBREAK},
        {1, {3, 8, 47, 22}, DT_VCENTER | DT_WORDBREAK},
        {2, {49, 8, 93, 22}, DT_RIGHT | DT_VCENTER | DT_WORDBREAK},
        // top m/2 = 1.5 -> 2; bottom 1.5 + 13 = 14.5 -> 14
        {3, {26, 2, 70, 14}, DT_CENTER | DT_WORDBREAK},
        // top 30 - 13 - 1.5 = 15.5 -> 16; bottom 28.5 -> 28
        {4, {26, 16, 70, 28}, DT_CENTER | DT_BOTTOM | DT_WORDBREAK},
        {5, {4, 4, 96, 26}, 0x1234},
    };
    for (const auto& c : cases) {
        const CaptionPlacement placed = PlaceCaption(c.align, 100, 30, measured, 3, 0x1234, false);
        EXPECT_EQ(placed.rect.left, c.expected.left) << c.align;
        EXPECT_EQ(placed.rect.top, c.expected.top) << c.align;
        EXPECT_EQ(placed.rect.right, c.expected.right) << c.align;
        EXPECT_EQ(placed.rect.bottom, c.expected.bottom) << c.align;
        EXPECT_EQ(placed.format, c.format) << c.align;
    }
    EXPECT_EQ(PlaceCaption(1, 100, 30, measured, 3, 0, true).format,
              static_cast<UINT>(DT_VCENTER | DT_WORDBREAK | DT_RTLREADING));
}

struct IconCase {
    int align;
    POINT expected;
};

TEST(ThemedLayout, IconPositionByAlignment) {
    // W 101, H 31, S 16, margin 6: (101-16)/2 = 42.5 -> 42, (31-16)/2 = 7.5 -> 8.
    const IconCase cases[] = {{0, {42, 8}}, {1, {6, 8}}, {2, {79, 8}}, {3, {42, 6}}, {4, {42, 9}}, {7, {0, 0}}};
    for (const auto& c : cases) {
        const POINT at = PlaceIcon(c.align, 101, 31, 16, 6);
        EXPECT_EQ(at.x, c.expected.x) << c.align;
        EXPECT_EQ(at.y, c.expected.y) << c.align;
    }
}

TEST(ThemedLayout, TheFirstLayoutUsesTheMarginOfTheLastRepaint) {
    HostForm& form = SharedForm();
    ThemedButton b(form, L"ThemedButton1", Bounds(10, 10, 100, 30));
    b.SetStyle(9);  // a repaint of Style 9 leaves margin 6, which the next layout uses
    b.SetCaptionAlign(1);
    EXPECT_EQ(b.IconMargin(), 6);
    EXPECT_EQ(b.CaptionRect().left, 6);
}
