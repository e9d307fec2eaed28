// The button's own tooltip window, made each time the button turns hot.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include "ButtonTestSupport.h"
#include "base/Handles.h"

using namespace imagebutton_test;
using controls::zembutton;

namespace {
constexpr int W = 97;
constexpr int H = 25;

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

TOOLINFOW ToolOf(HWND tip, HWND tool, wchar_t (&text)[256]) {
    TOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = tool;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = text;
    ::SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info));
    return info;
}

// The titles the button gives its tooltips, seen on their way to the tooltip
// window (Wine's tooltips cannot be asked for their title).
class TitleSpy {
public:
    struct Title {
        WPARAM icon;
        std::wstring text;
    };
    static inline std::vector<Title> titles;

private:
    static LRESULT CALLBACK Record(int code, WPARAM wParam, LPARAM lParam) {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && message->message == TTM_SETTITLEW)
            titles.push_back({message->wParam, reinterpret_cast<const wchar_t*>(message->lParam)});
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    base::HookHandle hook_{::SetWindowsHookExW(WH_CALLWNDPROC, Record, nullptr, ::GetCurrentThreadId())};
};

class Tooltips : public ::testing::Test {
protected:
    void SetUp() override {
        MoveMouseAway();
        button = std::make_unique<zembutton>(form, L"zembutton1", Bounds(10, 10, W, H));
        button->SetButtonStyle(8);
    }
    void TearDown() override {
        if (::GetCapture()) ::ReleaseCapture();
        MoveMouseAway();
    }
    // Off the button and back on: a new entry into the hot state.
    HWND Hover() {
        MoveMouse(*button, 300, 12);
        // The leave arrives through the platform's mouse tracking, which a busy machine delays.
        testing_support::PumpUntil([&] { return button->TooltipWindow() == nullptr; }, 5000);
        MoveMouse(*button, 40, 12);
        return button->TooltipWindow();
    }

    TestForm& form = SharedForm();
    std::unique_ptr<zembutton> button;
};
}  // namespace

TEST_F(Tooltips, MadeOnEnteringHot) {
    button->SetToolTip(L"Cuts the selection out");
    EXPECT_EQ(button->TooltipWindow(), nullptr);
    const HWND tip = Hover();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(ClassOf(tip), L"tooltips_class32");
    EXPECT_EQ(::GetWindow(tip, GW_OWNER), ::GetAncestor(button->hWnd(), GA_ROOT)) << "a popup's owner is top-level";
    const LONG_PTR style = ::GetWindowLongPtrW(tip, GWL_STYLE);
    EXPECT_EQ(style & (TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON), TTS_ALWAYSTIP | TTS_NOPREFIX);
    EXPECT_EQ(::GetWindowLongPtrW(tip, GWL_EXSTYLE) & WS_EX_LAYOUTRTL, 0);
    EXPECT_NE(::GetClassLongPtrW(tip, GCL_STYLE) & CS_DROPSHADOW, 0u);
    EXPECT_EQ(::SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0), 240);
    EXPECT_EQ(::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    wchar_t text[256] = {};
    const TOOLINFOW tool = ToolOf(tip, button->hWnd(), text);
    EXPECT_EQ(std::wstring(text), L"Cuts the selection out");
    EXPECT_EQ(tool.uFlags & (TTF_IDISHWND | TTF_SUBCLASS), static_cast<UINT>(TTF_IDISHWND | TTF_SUBCLASS));
    EXPECT_EQ(tool.rect.right, W);
    EXPECT_EQ(tool.rect.bottom, H);
    EXPECT_EQ(static_cast<COLORREF>(::SendMessageW(tip, TTM_GETTIPBKCOLOR, 0, 0)), ::GetSysColor(COLOR_INFOBK))
        << "back colour 0 keeps the platform's";
}

TEST_F(Tooltips, MadeAfreshOnEveryEntrySoChangesShowNextTime) {
    button->SetToolTip(L"First");
    const HWND first = Hover();
    MoveMouse(*button, 41, 12);
    EXPECT_EQ(button->TooltipWindow(), first) << "moving over a hot button keeps its tooltip";
    button->SetToolTip(L"Second");
    wchar_t text[256] = {};
    ToolOf(first, button->hWnd(), text);
    EXPECT_EQ(std::wstring(text), L"First");
    const HWND second = Hover();
    EXPECT_FALSE(::IsWindow(first));
    ToolOf(second, button->hWnd(), text);
    EXPECT_EQ(std::wstring(text), L"Second");
}

TEST_F(Tooltips, EmptyTextStillMakesTheWindow) { EXPECT_NE(Hover(), nullptr); }

TEST_F(Tooltips, BalloonTitleIconColourAndReadingOrder) {
    button->SetToolTip(L"Text");
    button->SetToolTipType(1);
    button->SetTooltipTitle(L"Save");
    button->SetToolTipIcon(2);
    button->SetTooltipBackColor(0x80FFFF);
    button->SetRightToLeft(true);
    const HWND tip = Hover();
    ASSERT_NE(tip, nullptr);
    EXPECT_NE(::GetWindowLongPtrW(tip, GWL_STYLE) & TTS_BALLOON, 0);
    EXPECT_NE(::GetWindowLongPtrW(tip, GWL_EXSTYLE) & WS_EX_LAYOUTRTL, 0);
    EXPECT_EQ(static_cast<COLORREF>(::SendMessageW(tip, TTM_GETTIPBKCOLOR, 0, 0)), 0x80FFFFu);
}

TEST_F(Tooltips, TitleWithItsIcon) {
    button->SetTooltipTitle(L"Save");
    button->SetToolTipIcon(2);
    TitleSpy spy;
    TitleSpy::titles.clear();
    Hover();
    ASSERT_EQ(TitleSpy::titles.size(), 1u);
    EXPECT_EQ(TitleSpy::titles[0].text, L"Save");
    EXPECT_EQ(TitleSpy::titles[0].icon, 2u);
}

TEST_F(Tooltips, NoTitleNoIcon) {
    button->SetToolTip(L"Text");
    button->SetToolTipIcon(3);
    TitleSpy spy;
    TitleSpy::titles.clear();
    EXPECT_NE(Hover(), nullptr);
    EXPECT_TRUE(TitleSpy::titles.empty()) << "no title, so no icon either";
}

TEST_F(Tooltips, NoneWhilePressedOrDisabled) {
    MoveMouse(*button, 40, 12);
    const HWND hot = button->TooltipWindow();
    Press(*button, 40, 12);
    MoveMouse(*button, 300, 12);
    MoveMouse(*button, 40, 12);
    EXPECT_EQ(button->State(), 2);
    EXPECT_EQ(button->TooltipWindow(), hot) << "no new tooltip while the button is held";
    Release(*button, 40, 12);
    MoveMouseAway();
    button->SetEnabled(false);
    const HWND before = button->TooltipWindow();
    MoveMouse(*button, 300, 12);
    MoveMouse(*button, 40, 12);
    EXPECT_EQ(button->TooltipWindow(), before) << "none for a disabled button";
}
