// A form does what a dialog manager does: Tab goes round the tab stops that
// can take the focus, a control keeps the keys its WM_GETDLGCODE asks for,
// Return clicks a focused push button. Real keys through the input queue.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/Form.h"
#include "forms/Windowless.h"
#include "support/WindowTesting.h"

using testing_support::PumpFor;
using testing_support::PumpUntil;

namespace {

class DialogForm : public forms::Form {
public:
    DialogForm() { CreateForm(L"Snipmill.Test.DialogKeys", L"Keys", 300, 200, WS_OVERLAPPEDWINDOW, 0); }

    HWND AddButton(const wchar_t* caption, DWORD style, RECT at) {
        return ::CreateWindowExW(0, L"BUTTON", caption, WS_CHILD | BS_PUSHBUTTON | style, at.left, at.top,
                                 at.right - at.left, at.bottom - at.top, Handle(), nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
    }

    // A button that asks for Tab and counts the presses it gets.
    HWND AddTabTaker(RECT at) {
        HWND button = AddButton(L"TabTaker", WS_VISIBLE | WS_TABSTOP, at);
        ::SetWindowSubclass(button, TabTaker, 0, reinterpret_cast<DWORD_PTR>(&tabsTaken));
        return button;
    }
    int tabsTaken = 0;

private:
    static LRESULT CALLBACK TabTaker(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR count) {
        if (message == WM_GETDLGCODE) return DLGC_WANTTAB | ::DefSubclassProc(window, message, wParam, lParam);
        if (message == WM_KEYDOWN && wParam == VK_TAB) ++*reinterpret_cast<int*>(count);
        if (message == WM_NCDESTROY) ::RemoveWindowSubclass(window, TabTaker, 0);
        return ::DefSubclassProc(window, message, wParam, lParam);
    }
};

void Press(WORD key, std::initializer_list<WORD> modifiers = {}) {
    testing_support::UserTypes(key, modifiers);
    PumpFor(100);
}

class DialogKeys : public ::testing::Test {
protected:
    void SetUp() override {
        form.Show();
        ::SetForegroundWindow(form.Handle());
        ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == form.Handle(); }, 3000));
    }

    std::wstring Focused() const {
        HWND focus = ::GetFocus();
        if (focus == form.Handle()) return form.FocusedElement() ? form.FocusedElement()->Name() : L"form";
        wchar_t text[64] = {};
        ::GetWindowTextW(focus, text, 64);
        return text;
    }

    DialogForm form;
};

}  // namespace

TEST_F(DialogKeys, TabVisitsOnlyStopsThatCanTakeTheFocus) {
    struct Child {
        const wchar_t* caption;
        DWORD style;
        RECT at;
    };
    const Child children[] = {
        {L"A", WS_VISIBLE | WS_TABSTOP, RECT{10, 10, 80, 30}},
        {L"Disabled", WS_VISIBLE | WS_TABSTOP | WS_DISABLED, RECT{10, 40, 80, 60}},
        {L"Hidden", WS_TABSTOP, RECT{10, 70, 80, 90}},
        {L"OutOfView", WS_VISIBLE | WS_TABSTOP, RECT{10, 210, 80, 230}},
        {L"NoTabStop", WS_VISIBLE, RECT{100, 10, 170, 30}},
        {L"B", WS_VISIBLE | WS_TABSTOP, RECT{100, 40, 170, 60}},
    };
    for (const Child& child : children) ASSERT_TRUE(form.AddButton(child.caption, child.style, child.at));
    forms::Label link(form, L"Link", RECT{10, 150, 100, 170}, L"a link", forms::Font::Create(L"Tahoma", 8.25), 0);
    link.SetTabStop(true);
    const std::vector<std::wstring> round = {L"A", L"B", L"Link"};
    for (std::size_t press = 0; press < 2 * round.size(); ++press) {
        Press(VK_TAB);
        EXPECT_EQ(Focused(), round[press % round.size()]) << press;
    }
    for (std::size_t press = 1; press <= round.size(); ++press) {
        Press(VK_TAB, {VK_SHIFT});
        EXPECT_EQ(Focused(), round[(2 * round.size() - 1 - press) % round.size()]) << press;
    }
    // Ctrl+Tab is no Tab of the form's.
    Press(VK_TAB, {VK_CONTROL});
    EXPECT_EQ(Focused(), L"Link");
}

TEST_F(DialogKeys, ReturnClicksAFocusedPushButtonAndAControlKeepsTheKeysItAsksFor) {
    HWND push = form.AddButton(L"Push", WS_VISIBLE | WS_TABSTOP, RECT{10, 10, 80, 30});
    HWND taker = form.AddTabTaker(RECT{100, 10, 170, 30});
    int clicks = 0;
    form.ReflectFor(push, [&](UINT message, WPARAM wParam, LPARAM, LRESULT&) {
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) ++clicks;
        return false;
    });
    ::SetFocus(push);
    Press(VK_RETURN);
    EXPECT_EQ(clicks, 1);
    Press(VK_SPACE);  // the button's own handling
    EXPECT_EQ(clicks, 2);
    Press(VK_TAB);
    EXPECT_EQ(::GetFocus(), taker);
    Press(VK_TAB);
    EXPECT_EQ(::GetFocus(), taker);  // it asked for Tab and got it
    EXPECT_EQ(form.tabsTaken, 1);
}
