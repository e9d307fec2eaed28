// How the button answers the mouse, the keyboard, focus and its form, and in
// which order it raises its events; messages come to its real window.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "ButtonTestSupport.h"

using namespace imagebutton_test;
using controls::zembutton;

namespace {
constexpr int W = 97;
constexpr int H = 25;

// Every event of a button, written down as it comes.
class EventLog {
public:
    explicit EventLog(zembutton& b) {
        b.Click.Subscribe([this] { Add("Click"); });
        b.DblClick.Subscribe([this] { Add("DblClick"); });
        b.KeyDown.Subscribe(
            [this](short k, short s) { Add("KeyDown " + std::to_string(k) + " " + std::to_string(s)); });
        b.KeyPress.Subscribe([this](short c) { Add("KeyPress " + std::to_string(c)); });
        b.KeyUp.Subscribe([this](short k, short s) { Add("KeyUp " + std::to_string(k) + " " + std::to_string(s)); });
        b.MouseDown.Subscribe([this](short button, short, float x, float y) {
            Add("MouseDown " + std::to_string(button) + " " + std::to_string(int(x)) + "," + std::to_string(int(y)));
        });
        b.MouseUp.Subscribe([this](short button, short, float x, float y) {
            Add("MouseUp " + std::to_string(button) + " " + std::to_string(int(x)) + "," + std::to_string(int(y)));
        });
        b.MouseEnter.Subscribe([this] { Add("MouseEnter"); });
        b.MouseLeave.Subscribe([this] { Add("MouseLeave"); });
    }
    void Add(std::string entry) { entries.push_back(std::move(entry)); }
    // Everything but MouseEnter, which every mouse move raises, the platform's own moves included.
    std::vector<std::string> Actions() const {
        std::vector<std::string> actions;
        std::copy_if(entries.begin(), entries.end(), std::back_inserter(actions),
                     [](const std::string& e) { return e != "MouseEnter"; });
        return actions;
    }
    std::vector<std::string> entries;
};

using Log = std::vector<std::string>;

// A container inside the form: buttons in it are another option group.
class Panel : public forms::ControlHost {
public:
    explicit Panel(forms::Form& form) : form_(form) {
        window_ = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 200, 150, 200, 120, form.Handle(),
                                    nullptr, ::GetModuleHandleW(nullptr), nullptr);
    }
    ~Panel() override { ::DestroyWindow(window_); }
    HWND HostWindow() const noexcept override { return window_; }
    forms::AmbientProperties Ambient(const forms::Control& c) const override { return form_.Ambient(c); }

private:
    forms::Form& form_;
    HWND window_;
};

// Presses a key with Alt (or other modifiers) held as far as GetKeyState can tell.
class HeldKeys {
public:
    explicit HeldKeys(std::initializer_list<int> keys) {
        ::GetKeyboardState(saved_);
        BYTE state[256];
        std::copy(std::begin(saved_), std::end(saved_), state);
        for (int k : keys) state[k] = 0x80;
        ::SetKeyboardState(state);
    }
    ~HeldKeys() { ::SetKeyboardState(saved_); }

private:
    BYTE saved_[256]{};
};

// While a popup menu is open, counts it and closes it, moving the cursor first.
// Ticks come again while the cursor moves and the menu closes: each menu counts once.
struct MenuCloser {
    static inline int opened = 0;
    static inline bool closing = false;
    static inline POINT closeAt{};
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        HWND menu = ::FindWindowW(L"#32768", nullptr);
        if (!menu || !::IsWindowVisible(menu)) {
            closing = false;
            return;
        }
        if (closing) return;
        closing = true;
        ++opened;
        testing_support::CursorTo(closeAt);
        ::EndMenu();
    }
};

class Interaction : public ::testing::Test {
protected:
    void SetUp() override {
        MoveMouseAway();
        button = std::make_unique<zembutton>(form, L"zembutton1", Bounds(10, 10, W, H));
        button->SetButtonStyle(8);
        log = std::make_unique<EventLog>(*button);
    }
    void TearDown() override {
        if (::GetCapture()) ::ReleaseCapture();
        MoveMouseAway();
    }

    TestForm& form = SharedForm();
    std::unique_ptr<zembutton> button;
    std::unique_ptr<EventLog> log;
};
}  // namespace

TEST_F(Interaction, ClickWithTheMouse) {
    int stateInMouseDown = -1;
    button->MouseDown.Subscribe([&](short, short, float, float) { stateInMouseDown = button->State(); });
    MoveMouse(*button, 40, 12);
    EXPECT_EQ(button->State(), 1);
    MoveMouse(*button, 41, 12);
    Press(*button, 41, 12);
    Release(*button, 41, 12);
    EXPECT_EQ(log->Actions(), (Log{"MouseDown 1 41,12", "Click", "MouseUp 1 41,12"}));
    const auto down = std::find(log->entries.begin(), log->entries.end(), "MouseDown 1 41,12");
    EXPECT_GE(std::count(log->entries.begin(), down, "MouseEnter"), 2) << "one MouseEnter for each move over it";
    EXPECT_EQ(stateInMouseDown, 2);
    EXPECT_EQ(button->State(), 0);
    // The host hears the same events by their identifiers.
    ASSERT_GE(form.events.size(), 3u);
    EXPECT_EQ(std::vector<int>(form.events.end() - 3, form.events.end()),
              (std::vector<int>{zembutton::kMouseDownId, zembutton::kClickId, zembutton::kMouseUpId}));
    EXPECT_EQ(form.events.front(), zembutton::kMouseEnterId);
}

TEST_F(Interaction, CheckBoxValueTurnsBeforeClick) {
    button->SetMode(1);
    bool valueInClick = false;
    button->Click.Subscribe([&] { valueInClick = button->Value(); });
    MoveMouse(*button, 40, 12);
    Press(*button, 40, 12);
    Release(*button, 40, 12);
    EXPECT_TRUE(valueInClick);
    EXPECT_TRUE(button->Value());
    Press(*button, 40, 12);
    Release(*button, 40, 12);
    EXPECT_FALSE(button->Value());
}

TEST_F(Interaction, ReleaseOnTheEdgeIsNoClick) {
    for (POINT at : {POINT{0, 12}, POINT{40, 0}, POINT{W, 12}, POINT{40, H}, POINT{-5, 12}}) {
        log->entries.clear();
        Press(*button, 40, 12);
        Release(*button, at.x, at.y);
        EXPECT_EQ(log->Actions(),
                  (Log{"MouseDown 1 40,12", "MouseUp 1 " + std::to_string(at.x) + "," + std::to_string(at.y)}));
    }
}

TEST_F(Interaction, RightButtonRaisesOnlyMouseUp) {
    MoveMouse(*button, 40, 12);
    log->entries.clear();
    Press(*button, 40, 12, WM_RBUTTONDOWN);
    EXPECT_EQ(button->State(), 1);
    Release(*button, 40, 12, WM_RBUTTONUP);
    EXPECT_EQ(log->Actions(), (Log{"MouseUp 2 40,12"}));
    Press(*button, 40, 12, WM_MBUTTONDOWN);
    Release(*button, 40, 12, WM_MBUTTONUP);
    EXPECT_EQ(log->Actions().back(), "MouseUp 4 40,12");
}

// Keys as the platform sends them to the button, and the events and look they bring.
TEST_F(Interaction, Keys) {
    struct Step {
        UINT message;
        WPARAM key;
        LPARAM flags = 0;
    };
    struct Case {
        const char* name;
        int mode;
        std::vector<Step> keys;
        Log actions;
        bool value;
    };
    constexpr LPARAM kRepeat = 0x40000000;
    constexpr LPARAM kUp = static_cast<LPARAM>(0xC0000000);
    const Case cases[] = {
        {"space",
         0,
         {{WM_KEYDOWN, VK_SPACE}, {WM_KEYUP, VK_SPACE, kUp}},
         {"KeyDown 32 0", "Click", "KeyUp 32 0"},
         false},
        {"a held space toggles once",
         1,
         {{WM_KEYDOWN, VK_SPACE},
          {WM_KEYDOWN, VK_SPACE, kRepeat},
          {WM_KEYDOWN, VK_SPACE, kRepeat},
          {WM_KEYUP, VK_SPACE, kUp}},
         {"KeyDown 32 0", "KeyDown 32 0", "KeyDown 32 0", "Click", "KeyUp 32 0"},
         true},
        {"another key cancels the space press",
         0,
         {{WM_KEYDOWN, VK_SPACE}, {WM_KEYDOWN, 'A'}, {WM_KEYUP, VK_SPACE, kUp}},
         {"KeyDown 32 0", "KeyDown 65 0", "KeyUp 32 0"},
         false},
        {"enter clicks before KeyDown", 0, {{WM_KEYDOWN, VK_RETURN}}, {"Click", "KeyDown 13 0"}, false},
        {"KeyPress for a character, KeyUp for space alone",
         0,
         {{WM_CHAR, 'a'}, {WM_KEYUP, 'A', kUp}},
         {"KeyPress 97"},
         false},
    };
    for (const Case& c : cases) {
        zembutton b(form, L"zembutton2", Bounds(10, 40, W, H));
        b.SetButtonStyle(8);
        b.SetMode(c.mode);
        EventLog events(b);
        int stateInKeyDown = -1;
        b.KeyDown.Subscribe([&](short, short) {
            if (stateInKeyDown < 0) stateInKeyDown = b.State();
        });
        for (const Step& step : c.keys) Key(b, step.message, step.key, step.flags);
        EXPECT_EQ(events.Actions(), c.actions) << c.name;
        EXPECT_EQ(b.Value(), c.value) << c.name;
        EXPECT_EQ(b.State(), c.value ? 2 : 0) << c.name << ": up again, or drawn down when checked";
        if (c.keys.front().key == VK_SPACE) {
            EXPECT_EQ(stateInKeyDown, 2) << c.name << ": the press shows before KeyDown";
        }
    }
}

TEST_F(Interaction, AltSpaceDoesNothing) {
    HeldKeys alt({VK_MENU});
    ::SendMessageW(button->hWnd(), WM_SYSKEYDOWN, VK_SPACE, 1 | (1 << 29));
    EXPECT_TRUE(log->Actions().empty());
    EXPECT_EQ(button->State(), 0);
}

TEST_F(Interaction, KeyDownCarriesTheShiftState) {
    HeldKeys shift({VK_SHIFT, VK_CONTROL});
    Key(*button, WM_KEYDOWN, 'X');
    EXPECT_EQ(log->Actions(), (Log{"KeyDown 88 3"}));
}

TEST_F(Interaction, DoubleClick) {
    MoveMouse(*button, 40, 12);
    log->entries.clear();
    Press(*button, 40, 12);
    Release(*button, 40, 12);
    Press(*button, 42, 13, WM_LBUTTONDBLCLK);
    EXPECT_EQ(button->State(), 2);
    Release(*button, 40, 12);
    EXPECT_EQ(log->Actions(), (Log{"MouseDown 1 40,12", "Click", "MouseUp 1 40,12", "MouseDown 1 40,12", "DblClick",
                                   "Click", "MouseUp 1 40,12"}));
    // A right double click repeats nothing.
    log->entries.clear();
    Press(*button, 40, 12, WM_RBUTTONDOWN);
    Release(*button, 40, 12, WM_RBUTTONUP);
    Press(*button, 40, 12, WM_RBUTTONDBLCLK);
    EXPECT_EQ(log->Actions(), (Log{"MouseUp 2 40,12"}));
}

TEST_F(Interaction, PopupMenuOpensInsteadOfMouseDown) {
    base::MenuHandle menu(::CreatePopupMenu());
    ::AppendMenuW(menu.Get(), MF_STRING, 101, L"First");
    ::AppendMenuW(menu.Get(), MF_STRING, 102, L"Second");
    button->SetPopupMenu(menu.Get(), 0, TPM_LEFTBUTTON, 102);
    MenuCloser::opened = 0;
    MenuCloser::closing = false;
    MenuCloser::closeAt = {::GetSystemMetrics(SM_CXSCREEN) - 2, ::GetSystemMetrics(SM_CYSCREEN) - 2};
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 30, MenuCloser::Tick);
    // The menu a press opens has closed when the press returns.
    const auto press = [&] {
        Press(*button, 40, 12);
        MenuCloser::closing = false;
    };
    MoveMouse(*button, 40, 12);
    log->entries.clear();
    press();
    EXPECT_EQ(MenuCloser::opened, 1);
    EXPECT_EQ(button->State(), 0) << "the menu closed away from the button";
    Release(*button, 40, 12);
    EXPECT_TRUE(log->Actions().empty()) << "neither MouseDown, Click nor MouseUp";
    EXPECT_EQ(::GetMenuDefaultItem(menu.Get(), FALSE, 0), static_cast<UINT>(-1))
        << "the default item is only for showing";

    // Closed by a click on the button: the click does not open it again.
    POINT over{40, 12};
    ::ClientToScreen(button->hWnd(), &over);
    MenuCloser::closeAt = over;
    press();
    EXPECT_EQ(MenuCloser::opened, 2);
    press();
    EXPECT_EQ(MenuCloser::opened, 2);
    Release(*button, 40, 12);
    EXPECT_TRUE(log->Actions().empty());

    button->UnsetPopupMenu();
    Press(*button, 40, 12);
    Release(*button, 40, 12);
    EXPECT_EQ(log->Actions(), (Log{"MouseDown 1 40,12", "Click", "MouseUp 1 40,12"}));
    ::KillTimer(nullptr, timer);
}

TEST_F(Interaction, PopupMenuNeedsAMenu) {
    button->SetPopupMenu(reinterpret_cast<HMENU>(button->hWnd()), 0, 0);
    button->SetPopupMenu(nullptr, 0, 0);
    Press(*button, 40, 12);
    Release(*button, 40, 12);
    EXPECT_EQ(log->Actions(), (Log{"MouseDown 1 40,12", "Click", "MouseUp 1 40,12"}));
}

TEST_F(Interaction, EnterOnACheckBoxThroughTheAccessKeyPathDoesNothing) {
    button->SetMode(1);
    form.defaultButton = button.get();
    button->AmbientChanged(L"DisplayAsDefault");
    button->OnAccessKey(VK_RETURN);
    button->OnAccessKey(VK_ESCAPE);
    EXPECT_FALSE(button->Value());
    EXPECT_TRUE(log->Actions().empty());
    Key(*button, WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(log->Actions(), (Log{"Click", "KeyDown 13 0"}));
    EXPECT_FALSE(button->Value());
    button->OnAccessKey(L's');
    EXPECT_TRUE(button->Value());
    EXPECT_EQ(log->Actions().back(), "Click");
}

TEST_F(Interaction, OptionButtonsClearTheirOwnContainerOnly) {
    Panel panel(form);
    zembutton second(form, L"zembutton2", Bounds(10, 40, W, H));
    zembutton third(form, L"zembutton3", Bounds(10, 70, W, H));
    zembutton inPanel(panel, L"zembutton4", Bounds(10, 10, W, H));
    zembutton pushButton(form, L"zembutton5", Bounds(10, 100, W, H));
    for (zembutton* b : {button.get(), &second, &third, &inPanel}) b->SetMode(2);
    second.SetValue(true);
    inPanel.SetValue(true);
    MoveMouse(*button, 40, 12);
    Press(*button, 40, 12);
    Release(*button, 40, 12);
    EXPECT_TRUE(button->Value());
    EXPECT_FALSE(second.Value());
    EXPECT_FALSE(third.Value());
    EXPECT_TRUE(inPanel.Value());
    EXPECT_EQ(log->Actions().back(), "MouseUp 1 40,12");
    // The space key and the access key choose too.
    Key(third, WM_KEYDOWN, VK_SPACE);
    EXPECT_TRUE(third.Value());
    EXPECT_FALSE(button->Value());
    Key(third, WM_KEYUP, VK_SPACE);
    second.OnAccessKey(L'x');
    EXPECT_TRUE(second.Value());
    EXPECT_FALSE(third.Value());
}

TEST_F(Interaction, ValueNeedsAModeOtherThanPush) {
    button->SetValue(true);
    EXPECT_FALSE(button->Value());
    button->SetMode(1);
    button->SetValue(true);
    EXPECT_TRUE(button->Value());
    Snapshot redraw(*button);
    EXPECT_EQ(button->State(), 2);
    button->SetValue(false);
    EXPECT_EQ(button->State(), 0);
}

TEST_F(Interaction, AccessKeysFromTheCaption) {
    button->SetCaption(L"A&&B");
    EXPECT_EQ(button->AccessKeys(), L"");
    button->SetCaption(L"Save && &Exit");
    EXPECT_EQ(button->AccessKeys(), L"e");
    // Alt+E on the form reaches the button (the form's menu asks for unknown mnemonics).
    const LRESULT result = ::SendMessageW(form.Handle(), WM_MENUCHAR, MAKEWPARAM(L'E', MF_SYSMENU), 0);
    EXPECT_EQ(HIWORD(result), MNC_CLOSE);
    EXPECT_EQ(log->Actions(), (Log{"Click"}));
    button->SetEnabled(false);
    ::SendMessageW(form.Handle(), WM_MENUCHAR, MAKEWPARAM(L'e', MF_SYSMENU), 0);
    button->OnAccessKey(L'e');
    EXPECT_EQ(log->Actions().size(), 1u) << "a disabled button takes no access key";
}

TEST_F(Interaction, ArrowKeysMoveTheFocusAlongTheTabOrder) {
    zembutton second(form, L"zembutton2", Bounds(10, 40, W, H));
    zembutton third(form, L"zembutton3", Bounds(10, 70, W, H));
    ::SetFocus(button->hWnd());
    Key(*button, WM_KEYDOWN, VK_RIGHT);
    EXPECT_EQ(::GetFocus(), second.hWnd());
    Key(second, WM_KEYDOWN, VK_DOWN);
    EXPECT_EQ(::GetFocus(), third.hWnd());
    Key(third, WM_KEYDOWN, VK_UP);
    EXPECT_EQ(::GetFocus(), second.hWnd());
    Key(second, WM_KEYDOWN, VK_LEFT);
    EXPECT_EQ(::GetFocus(), button->hWnd());
    EXPECT_EQ(log->Actions().back(), "KeyDown 39 0") << "KeyDown still goes to the button the key came to";
}

TEST_F(Interaction, AButtonDisabledWithTheFocusPassesItToTheNextTabStop) {
    zembutton second(form, L"zembutton2", Bounds(10, 40, W, H));
    zembutton third(form, L"zembutton3", Bounds(10, 70, W, H));
    struct Case {
        zembutton* focused;
        zembutton* expected;
    } cases[] = {{button.get(), &second}, {&second, &third}, {&third, button.get()}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.focused->Name());
        Activate(form);
        ::SetFocus(c.focused->hWnd());
        c.focused->SetEnabled(false);
        EXPECT_EQ(::GetFocus(), c.expected->hWnd());
        EXPECT_FALSE(c.focused->HasFocus());
        c.focused->SetEnabled(true);
    }
    // Disabling a button without the focus leaves the focus where it is.
    ::SetFocus(second.hWnd());
    third.SetEnabled(false);
    EXPECT_EQ(::GetFocus(), second.hWnd());
    third.SetEnabled(true);
}

TEST_F(Interaction, FocusComesAndGoes) {
    zembutton second(form, L"zembutton2", Bounds(10, 40, W, H));
    Activate(form);
    ::SetFocus(button->hWnd());
    EXPECT_TRUE(button->HasFocus());
    Key(*button, WM_KEYDOWN, VK_SPACE);
    ::SetFocus(second.hWnd());
    EXPECT_FALSE(button->HasFocus());
    EXPECT_EQ(button->State(), 0);
    // Losing the focus with the cursor over the button on an active form leaves it hot.
    ::SetFocus(button->hWnd());
    MoveMouse(*button, 40, 12);
    ::SetFocus(second.hWnd());
    EXPECT_EQ(button->State(), 1);
}

TEST_F(Interaction, FormActivation) {
    Activate(form);
    EXPECT_TRUE(button->FormActive());
    MoveMouse(*button, 40, 12);
    Press(*button, 40, 12);
    EXPECT_EQ(button->State(), 2);
    Activate(form, false);
    EXPECT_FALSE(button->FormActive());
    EXPECT_FALSE(button->HasFocus());
    EXPECT_EQ(button->State(), 0);
    Release(*button, 40, 12);
    EXPECT_EQ(log->Actions().back(), "MouseUp 1 40,12");
    ::SetFocus(form.Handle());
    MoveMouse(*button, 40, 12);
    EXPECT_EQ(button->State(), 1);
    Activate(form);
    EXPECT_EQ(button->State(), 0) << "activation shows every button up";
}

TEST_F(Interaction, AButtonInAPanelFollowsItsFormsActivation) {
    Panel panel(form);
    zembutton inPanel(panel, L"zembutton2", Bounds(10, 10, W, H));
    inPanel.SetButtonStyle(2);
    inPanel.SetShowFocusRect(true);
    Activate(form);
    ::SetFocus(inPanel.hWnd());
    EXPECT_TRUE(inPanel.FormActive());
    ASSERT_TRUE(inPanel.HasFocus());
    const Snapshot active(inPanel);
    Activate(form, false);
    EXPECT_FALSE(inPanel.FormActive());
    EXPECT_NE(Snapshot(inPanel).Pixels(), active.Pixels()) << "the focus rectangle shows only on the active form";
}

TEST_F(Interaction, LeavingIsTrackedByThePlatform) {
    MoveMouse(*button, 40, 12);
    EXPECT_TRUE(button->MouseOver());
    MoveMouseAway();
    testing_support::PumpUntil([&] { return std::count(log->entries.begin(), log->entries.end(), "MouseLeave") > 0; },
                               5000);
    EXPECT_FALSE(button->MouseOver());
    EXPECT_EQ(button->State(), 0);
    EXPECT_EQ(log->Actions().back(), "MouseLeave");
}

TEST_F(Interaction, MovingOffWhilePressedShowsItUp) {
    MoveMouse(*button, 40, 12);
    Press(*button, 40, 12);
    MoveMouse(*button, 200, 12);  // captured: the message still comes
    EXPECT_FALSE(button->MouseOver());
    EXPECT_EQ(button->State(), 0);
    MoveMouse(*button, 40, 12);
    EXPECT_EQ(button->State(), 2);
    MoveMouse(*button, 200, 12);
    Release(*button, 200, 12);
    EXPECT_EQ(log->Actions().back(), "MouseUp 1 200,12");
    EXPECT_EQ(std::count(log->entries.begin(), log->entries.end(), "Click"), 0);
}

TEST_F(Interaction, InterceptionOnlyWhileRunning) {
    EXPECT_TRUE(button->Intercepting());
    form.userMode = false;
    zembutton designed(form, L"zembutton2", Bounds(10, 40, W, H));
    EXPECT_FALSE(designed.Intercepting());
    Activate(form);
    EXPECT_FALSE(designed.FormActive());
    EXPECT_TRUE(button->FormActive());
    // A destroyed button leaves the form's messages alone: another one still sees them.
    form.userMode = true;
    zembutton other(form, L"zembutton3", Bounds(10, 70, W, H));
    button.reset();
    Activate(form, false);
    EXPECT_FALSE(other.FormActive());
    Activate(form);
    EXPECT_TRUE(other.FormActive());
}

TEST_F(Interaction, DefaultButtonFromTheHost) {
    EXPECT_FALSE(button->IsDefault());
    form.defaultButton = button.get();
    button->AmbientChanged(L"displayasdefault");
    EXPECT_TRUE(button->IsDefault());
}

TEST_F(Interaction, HostTooltipTextWhileShownAndHidden) {
    button->SetToolTip(L"Saves the selection");
    ::ShowWindow(button->hWnd(), SW_HIDE);
    EXPECT_EQ(button->ToolTipText(), L"Saves the selection");
    ::ShowWindow(button->hWnd(), SW_SHOW);
    EXPECT_EQ(button->ToolTipText(), L"");
}

TEST_F(Interaction, Pointers) {
    button->SetHandPointer(true);
    EXPECT_TRUE(button->HandPointer());
    EXPECT_EQ(button->MousePointer(), 0);
    MoveMouse(*button, 40, 12);
    ::SendMessageW(button->hWnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(button->hWnd()),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));

    const HCURSOR cross = ::LoadCursorW(nullptr, IDC_CROSS);
    button->SetMouseIcon(cross);
    EXPECT_FALSE(button->HandPointer());
    EXPECT_EQ(button->MousePointer(), 99);
    EXPECT_EQ(button->MouseIcon(), cross);
    ::SendMessageW(button->hWnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(button->hWnd()),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::GetCursor(), cross);

    // Replacing a made cursor while it is on screen puts the new one there before the old one goes.
    button->SetMouseIcon(MakeBitmap(0xFFFFFF));
    ::SendMessageW(button->hWnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(button->hWnd()),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    ASSERT_EQ(::GetCursor(), button->MouseIcon());
    button->SetMouseIcon(MakeBitmap(0x0000FF));
    EXPECT_EQ(::GetCursor(), button->MouseIcon());
    button->SetMouseIcon(std::shared_ptr<forms::Picture>());
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_EQ(button->MousePointer(), 0);
    button->SetMousePointer(3);
    ::SendMessageW(button->hWnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(button->hWnd()),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_IBEAM));

    // A button that goes takes its own cursor off the screen first.
    button->SetMouseIcon(MakeBitmap(0x00FF00));
    ::SendMessageW(button->hWnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(button->hWnd()),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    ASSERT_EQ(::GetCursor(), button->MouseIcon());
    button.reset();
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_ARROW));
}
