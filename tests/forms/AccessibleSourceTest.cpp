// The pointer to a window's accessible facts, stored on the window when a screen
// reader first asks, is gone by the time the window has handled WM_NCDESTROY,
// however the window goes.
#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "forms/Accessible.h"
#include "forms/Form.h"

namespace {

class PlainForm : public forms::Form {
public:
    PlainForm() { CreateForm(L"Snipmill.Test.AccessibleSource", L"Plain", 200, 100, WS_OVERLAPPEDWINDOW, 0); }
};

// A window of someone else's class that answers screen readers through a subclass, as the slider does.
struct Static : forms::AccessibleSource {
    forms::AccessibleFacts Facts(long) const override { return {}; }
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR self) noexcept {
        LRESULT answer = 0;
        if (forms::AnswerAccessibility(window, *reinterpret_cast<Static*>(self), message, wParam, lParam, answer))
            return answer;
        return ::DefSubclassProc(window, message, wParam, lParam);
    }
};

// The properties a window still has once its WM_NCDESTROY has been handled.
HWND watched = nullptr;
std::vector<std::wstring> leftAtDestroy;

BOOL CALLBACK CollectProperty(HWND, LPCWSTR name, HANDLE) {
    if (!IS_INTRESOURCE(name)) leftAtDestroy.emplace_back(name);
    return TRUE;
}

LRESULT CALLBACK AfterEachMessage(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->hwnd == watched && sent->message == WM_NCDESTROY)
        ::EnumPropsW(sent->hwnd, CollectProperty);
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void AskForTheClientObject(HWND window) {
    IAccessible* client = nullptr;
    ASSERT_EQ(::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                           reinterpret_cast<void**>(&client)),
              S_OK);
    client->Release();
}

}  // namespace

TEST(AccessibleSource, ItsPointerIsRemovedAtDestroyHoweverTheWindowGoes) {
    struct Case {
        const char* what;
        HWND (*make)(std::unique_ptr<PlainForm>& form, Static& source);
        void (*end)(HWND window, std::unique_ptr<PlainForm>& form);
    };
    const Case cases[] = {
        {"a form that goes with its object",
         [](std::unique_ptr<PlainForm>& form, Static&) {
             form = std::make_unique<PlainForm>();
             return form->Handle();
         },
         [](HWND, std::unique_ptr<PlainForm>& form) { form.reset(); }},
        {"a form's window destroyed while its object lives",
         [](std::unique_ptr<PlainForm>& form, Static&) {
             form = std::make_unique<PlainForm>();
             return form->Handle();
         },
         [](HWND window, std::unique_ptr<PlainForm>&) { ::DestroyWindow(window); }},
        {"another's window, its subclass taken off first",
         [](std::unique_ptr<PlainForm>&, Static& source) {
             HWND window = ::CreateWindowExW(0, L"STATIC", L"x", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr,
                                             ::GetModuleHandleW(nullptr), nullptr);
             ::SetWindowSubclass(window, Static::Procedure, 0, reinterpret_cast<DWORD_PTR>(&source));
             return window;
         },
         [](HWND window, std::unique_ptr<PlainForm>&) {
             ::RemoveWindowSubclass(window, Static::Procedure, 0);
             ::DestroyWindow(window);
         }},
    };
    HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROCRET, AfterEachMessage, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<PlainForm> form;
        Static source;
        watched = c.make(form, source);
        AskForTheClientObject(watched);
        leftAtDestroy = {L"(not destroyed)"};
        c.end(watched, form);
        ASSERT_FALSE(::IsWindow(watched));
        for (const std::wstring& name : leftAtDestroy) EXPECT_EQ(name.find(L"Accessible"), std::wstring::npos) << name;
    }
    ::UnhookWindowsHookEx(hook);
}
