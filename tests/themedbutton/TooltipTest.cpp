// The themed button's own tooltip: built on mouse entry with the host's text,
// torn down on exit, and its title, icon and colours only where set.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ThemedTestSupport.h"
#include "base/Handles.h"

using namespace themed_test;
using controls::ThemedButton;

namespace {
void Enter(const ThemedButton& b) { ::SendMessageW(b.hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5)); }
void Leave(const ThemedButton& b) { ::SendMessageW(b.hWnd(), WM_MOUSELEAVE, 0, 0); }
const std::wstring& HostText(const ThemedButton& b) { return static_cast<const forms::Control&>(b).ToolTipText(); }

std::wstring ToolText(HWND tooltip, HWND tool) {
    wchar_t buffer[256]{};
    TOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = tool;
    info.uId = 0;
    info.lpszText = buffer;
    ::SendMessageW(tooltip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&info));
    return buffer;
}
}  // namespace

TEST(ThemedTooltip, BuiltOnEntryWithTheHostsTextAndTornDownOnExit) {
    HostForm& form = SharedForm();
    ThemedButton b(form, L"ThemedButton1", Bounds(10, 10, 100, 30));
    static_cast<forms::Control&>(b).SetToolTipText(L"Opens the maker's site");
    EXPECT_EQ(b.TooltipWindow(), nullptr);
    Enter(b);
    HWND tip = b.TooltipWindow();
    ASSERT_NE(tip, nullptr);
    wchar_t name[64]{};
    ::GetClassNameW(tip, name, 64);
    EXPECT_STREQ(name, L"tooltips_class32");
    EXPECT_EQ(::GetWindowLongPtrW(tip, GWL_STYLE) & (TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON),
              TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON);
    EXPECT_EQ(::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_EQ(ToolText(tip, b.hWnd()), L"Opens the maker's site");
    EXPECT_EQ(HostText(b), L"") << "the host shows no second tooltip meanwhile";
    EXPECT_EQ(b.ToolTipText(), L"Opens the maker's site");
    Leave(b);
    EXPECT_EQ(b.TooltipWindow(), nullptr);
    EXPECT_FALSE(::IsWindow(tip));
    EXPECT_EQ(HostText(b), L"Opens the maker's site");
}

// Every message the thread sends to a tooltip window while it lives, as sent.
class TooltipMessages {
public:
    struct Sent {
        UINT message;
        WPARAM wParam;
        std::string text;  // the title of TTM_SETTITLEA
    };
    TooltipMessages() {
        current_ = this;
        hook_.Reset(::SetWindowsHookExW(WH_CALLWNDPROC, Record, nullptr, ::GetCurrentThreadId()));
    }
    ~TooltipMessages() {
        hook_.Reset();
        current_ = nullptr;
    }
    bool Has(UINT message) const {
        for (const Sent& s : sent)
            if (s.message == message) return true;
        return false;
    }
    const Sent* Find(UINT message) const {
        for (const Sent& s : sent)
            if (s.message == message) return &s;
        return nullptr;
    }
    std::vector<Sent> sent;

private:
    static LRESULT CALLBACK Record(int code, WPARAM wParam, LPARAM lParam) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        wchar_t name[32]{};
        if (code == HC_ACTION && current_ && ::GetClassNameW(call->hwnd, name, 32) &&
            std::wstring(name) == L"tooltips_class32" && call->message >= WM_USER) {
            std::string text;
            if (call->message == TTM_SETTITLEA && call->lParam) text = reinterpret_cast<const char*>(call->lParam);
            current_->sent.push_back({call->message, call->wParam, text});
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline TooltipMessages* current_ = nullptr;
    base::HookHandle hook_;
};

struct LookCase {
    int type;
    int icon;
    const wchar_t* title;
    forms::OleColor fore;
    forms::OleColor back;
    bool balloon;
    bool titled;
};

TEST(ThemedTooltip, TitleIconAndColoursOnlyWhereSet) {
    const LookCase cases[] = {
        {1, 0, L"", 0, 0, true, false},
        {2, 0, L"Title", 0x000001, 0x00FFFF, false, true},
        {0, 2, L"", 0x0000FF, 0, false, true},  // an empty title with the warning icon still sets it
        {1, 0, L"", forms::SystemColor(COLOR_WINDOW), 0, true, false},
    };
    for (const auto& c : cases) {
        HostForm& form = SharedForm();
        ThemedButton b(form, L"ThemedButton1", Bounds(10, 10, 100, 30));
        b.SetToolTipType(c.type);
        b.SetToolTipIcon(c.icon);
        b.SetTooltipTitle(c.title);
        b.SetToolTipForeColor(c.fore);
        b.SetTooltipBackColor(c.back);
        TooltipMessages messages;
        Enter(b);
        HWND tip = b.TooltipWindow();
        ASSERT_NE(tip, nullptr);
        EXPECT_EQ((::GetWindowLongPtrW(tip, GWL_STYLE) & TTS_BALLOON) != 0, c.balloon) << c.type;
        EXPECT_TRUE(messages.Has(TTM_ADDTOOLA));
        const auto* title = messages.Find(TTM_SETTITLEA);
        EXPECT_EQ(title != nullptr, c.titled) << c.type;
        if (title) {
            EXPECT_EQ(title->wParam, static_cast<WPARAM>(c.icon));
            EXPECT_EQ(std::wstring(title->text.begin(), title->text.end()), c.title);
        }
        const auto* fore = messages.Find(TTM_SETTIPTEXTCOLOR);
        EXPECT_EQ(fore != nullptr, c.fore != 0) << "a 0 colour is not applied";
        if (fore) {
            EXPECT_EQ(static_cast<long>(fore->wParam), forms::TranslateColor(c.fore));
        }
        const auto* back = messages.Find(TTM_SETTIPBKCOLOR);
        EXPECT_EQ(back != nullptr, c.back != 0) << "a 0 colour is not applied";
        if (back) {
            EXPECT_EQ(static_cast<forms::OleColor>(back->wParam), c.back);
        }
        Leave(b);
        EXPECT_TRUE(messages.Has(TTM_DELTOOLA));
    }
}

TEST(ThemedTooltip, TextSetOnTheButtonShowsAtTheNextEntry) {
    HostForm& form = SharedForm();
    ThemedButton b(form, L"ThemedButton1", Bounds(10, 10, 100, 30));
    b.SetToolTipText(L"First");
    EXPECT_EQ(b.TooltipWindow(), nullptr) << "no tooltip while the mouse is elsewhere";
    EXPECT_EQ(HostText(b), L"First");
    Enter(b);
    EXPECT_EQ(ToolText(b.TooltipWindow(), b.hWnd()), L"First");
    b.SetToolTipText(L"Second");  // while showing: made again with the new text
    EXPECT_EQ(ToolText(b.TooltipWindow(), b.hWnd()), L"Second");
    EXPECT_EQ(HostText(b), L"");
    Leave(b);
    Enter(b);
    EXPECT_EQ(ToolText(b.TooltipWindow(), b.hWnd()), L"Second");
    Leave(b);
}

TEST(ThemedTooltip, HidingGivesTheHostTheTextBack) {
    HostForm& form = SharedForm();
    ThemedButton b(form, L"ThemedButton1", Bounds(10, 10, 100, 30));
    b.SetToolTipText(L"Text");
    Enter(b);
    EXPECT_EQ(HostText(b), L"");
    ::ShowWindow(b.hWnd(), SW_HIDE);
    EXPECT_FALSE(b.Shown());
    EXPECT_EQ(HostText(b), L"Text");
    Leave(b);
}

TEST(ThemedTooltip, TheToolCoversTheClientAreaAtBuildTime) {
    HostForm& form = SharedForm();
    ThemedButton b(form, L"ThemedButton1", Bounds(10, 10, 100, 30));
    Enter(b);
    TOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = b.hWnd();
    info.uId = 0;
    ASSERT_TRUE(::SendMessageW(b.TooltipWindow(), TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(info.rect.right, 100);
    EXPECT_EQ(info.rect.bottom, 30);
    EXPECT_EQ(info.uFlags & TTF_SUBCLASS, static_cast<UINT>(TTF_SUBCLASS));
    Leave(b);
}
