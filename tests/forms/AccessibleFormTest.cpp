// A form's client object as a screen reader sees it through
// AccessibleObjectFromWindow: its windowless elements, the parts it draws
// itself and its child windows, in that order.
#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "forms/Accessible.h"
#include "forms/Form.h"
#include "forms/Windowless.h"
#include "support/WindowTesting.h"

using testing_support::PumpUntil;

namespace {

class PlotForm : public forms::Form {
public:
    PlotForm() { CreateForm(L"Snipmill.Test.Accessible", L"Plot", 300, 200, WS_OVERLAPPEDWINDOW, 0); }
    using Form::AnnounceChangedParts;
    std::wstring mark = L"1.5";

protected:
    std::vector<DrawnPart> DrawnParts() const override {
        return {{ROLE_SYSTEM_INDICATOR, L"Start mark", mark, RECT{100, 50, 102, 150}}};
    }
};

VARIANT Child(long id) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::vector<std::pair<HWND, long>> valueChanges;

void CALLBACK RecordValueChange(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) {
    if (object == OBJID_CLIENT) valueChanges.emplace_back(window, child);
}

// Events reach the hook later, in the order they were raised: once a last one of
// our own has come, every one raised before it has. The last one is not kept.
void WaitForTheEventsRaised(HWND window) {
    constexpr long kLast = 0x7FFF;
    ::NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, window, OBJID_CLIENT, kLast);
    const std::pair<HWND, long> last{window, kLast};
    EXPECT_TRUE(PumpUntil([&] { return !valueChanges.empty() && valueChanges.back() == last; }, 5000));
    if (!valueChanges.empty() && valueChanges.back() == last) valueChanges.pop_back();
}

std::wstring Take(BSTR text) {
    std::wstring result = text ? std::wstring(text, ::SysStringLen(text)) : L"";
    ::SysFreeString(text);
    return result;
}

}  // namespace

TEST(AccessibleForm, ElementsPartsAndWindowsAreChildrenInOrder) {
    PlotForm form;
    form.Show();
    forms::Label link(form, L"Link", RECT{10, 10, 100, 30}, L"Home page", forms::Font::Create(L"Tahoma", 8.25), 0);
    link.Expose(ROLE_SYSTEM_LINK);
    link.SetTabStop(true);
    int clicks = 0;
    link.Click.Subscribe([&] { ++clicks; });
    forms::Label readOut(form, L"Value", RECT{10, 40, 100, 60}, L"12.5", forms::Font::Create(L"Tahoma", 8.25), 0);
    readOut.Expose(ROLE_SYSTEM_STATICTEXT, L"Length");
    forms::Label plain(form, L"Caption", RECT{10, 70, 100, 90}, L"Length", forms::Font::Create(L"Tahoma", 8.25), 0);
    HWND button = ::CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 200, 10, 60, 20,
                                    form.Handle(), nullptr, ::GetModuleHandleW(nullptr), nullptr);

    IAccessible* client = nullptr;
    ASSERT_EQ(::AccessibleObjectFromWindow(form.Handle(), static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                           reinterpret_cast<void**>(&client)),
              S_OK);
    long count = 0;
    client->get_accChildCount(&count);
    EXPECT_EQ(count, 4);  // the unexposed caption is no child
    struct Case {
        long child;
        long role;
        const wchar_t* name;
        const wchar_t* value;
        const wchar_t* action;
    };
    const Case cases[] = {
        {1, ROLE_SYSTEM_LINK, L"Home page", L"", L"Jump"},
        {2, ROLE_SYSTEM_STATICTEXT, L"Length", L"12.5", L""},
        {3, ROLE_SYSTEM_INDICATOR, L"Start mark", L"1.5", L""},
    };
    for (const Case& c : cases) {
        VARIANT role;
        client->get_accRole(Child(c.child), &role);
        EXPECT_EQ(role.lVal, c.role) << c.child;
        BSTR text = nullptr;
        client->get_accName(Child(c.child), &text);
        EXPECT_EQ(Take(text), c.name);
        client->get_accValue(Child(c.child), &text);
        EXPECT_EQ(Take(text), c.value) << c.child;
        client->get_accDefaultAction(Child(c.child), &text);
        EXPECT_EQ(Take(text), c.action) << c.child;
        IDispatch* window = nullptr;
        EXPECT_EQ(client->get_accChild(Child(c.child), &window), S_FALSE) << c.child;  // a simple child
    }
    IDispatch* window = nullptr;
    ASSERT_EQ(client->get_accChild(Child(4), &window), S_OK);
    IAccessible* buttonObject = nullptr;
    window->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&buttonObject));
    HWND found = nullptr;
    ::WindowFromAccessibleObject(buttonObject, &found);
    EXPECT_EQ(found, button);
    buttonObject->Release();
    window->Release();

    // The part is where the form draws it, and found there.
    long left = 0, top = 0, width = 0, height = 0;
    client->accLocation(&left, &top, &width, &height, Child(3));
    POINT corner{100, 50};
    ::ClientToScreen(form.Handle(), &corner);
    EXPECT_EQ(left, corner.x);
    EXPECT_EQ(top, corner.y);
    EXPECT_EQ(height, 100);
    VARIANT hit;
    client->accHitTest(corner.x + 1, corner.y + 10, &hit);
    EXPECT_EQ(hit.vt, VT_I4);
    EXPECT_EQ(hit.lVal, 3);
    // A changed value is read back and announced, once.
    HWINEVENTHOOK hook = ::SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr,
                                           RecordValueChange, ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    form.AnnounceChangedParts();
    WaitForTheEventsRaised(form.Handle());
    valueChanges.clear();
    form.mark = L"2.25";
    BSTR value = nullptr;
    client->get_accValue(Child(3), &value);
    EXPECT_EQ(Take(value), L"2.25");
    form.AnnounceChangedParts();
    form.AnnounceChangedParts();
    WaitForTheEventsRaised(form.Handle());
    EXPECT_EQ(valueChanges, (std::vector<std::pair<HWND, long>>{{form.Handle(), 3}}));
    ::UnhookWinEvent(hook);

    // The link takes the focus, and its default action clicks it from the message queue.
    EXPECT_EQ(client->accSelect(SELFLAG_TAKEFOCUS, Child(1)), S_OK);
    EXPECT_EQ(form.FocusedElement(), &link);
    VARIANT focus;
    client->get_accFocus(&focus);
    EXPECT_EQ(focus.lVal, 1);
    EXPECT_EQ(client->accDoDefaultAction(Child(1)), S_OK);
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(PumpUntil([&] { return clicks == 1; }, 2000));
    client->Release();
    ::DestroyWindow(button);
}

TEST(AccessibleForm, ObjectOfAGoneWindowSaysSo) {
    IAccessible* client = nullptr;
    {
        PlotForm form;
        ASSERT_EQ(::AccessibleObjectFromWindow(form.Handle(), static_cast<DWORD>(OBJID_CLIENT),
                                               __uuidof(IAccessible), reinterpret_cast<void**>(&client)),
                  S_OK);
    }
    long count = 0;
    EXPECT_EQ(client->get_accChildCount(&count), RPC_E_DISCONNECTED);
    BSTR name = nullptr;
    EXPECT_EQ(client->get_accName(Child(CHILDID_SELF), &name), RPC_E_DISCONNECTED);
    client->Release();
}

TEST(AccessibleForm, CaptionsAreReadWithoutTheirAccessMarks) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"&Save", L"Save"}, {L"A&&B", L"A&B"}, {L"Save && &Exit", L"Save & Exit"}, {L"End&", L"End&"}, {L"", L""},
    };
    for (const auto& [caption, read] : cases) EXPECT_EQ(forms::WithoutAccessMarks(caption), read) << caption;
}
