// How the themed button answers the mouse, the keyboard and focus, and which
// events it raises; messages come to its real window.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "ThemedTestSupport.h"
#include "base/MessageLoop.h"

using namespace themed_test;
using controls::ThemedButton;

namespace {
constexpr int W = 100;
constexpr int H = 30;
constexpr int kClick = ThemedButton::kClickId;
constexpr int kEnter = ThemedButton::kMouseEnterId;
constexpr int kLeave = ThemedButton::kMouseLeaveId;

// The events that are not MouseEnter (the platform's own mouse moves raise that too).
std::vector<int> Actions(const HostForm& form) {
    std::vector<int> actions;
    for (int e : form.events)
        if (e != kEnter) actions.push_back(e);
    return actions;
}

int Count(const HostForm& form, int id) {
    int n = 0;
    for (int e : form.events) n += e == id;
    return n;
}

// Waits for the platform's leave notice after the cursor went elsewhere.
bool LeftByTheMouse(const ThemedButton& b) {
    MoveMouseAway();
    return testing_support::PumpUntil([&] { return !b.MouseInside(); }, 5000);
}
}  // namespace

TEST(ThemedInteraction, APushClickRaisesClickOnceAndEndsHot) {
    HostForm& form = SharedForm();
    ThemedButton b(form, L"ThemedButton1", Bounds(10, 10, W, H));
    MoveMouse(b, 50, 15);
    EXPECT_TRUE(b.MouseInside());
    EXPECT_EQ(b.State(), 2);
    EXPECT_EQ(Count(form, kEnter), 1);
    Press(b, 50, 15);
    EXPECT_EQ(b.State(), 3);
    EXPECT_EQ(::GetFocus(), b.hWnd());
    Release(b, 50, 15);
    EXPECT_EQ(Actions(form), std::vector<int>{kClick});
    EXPECT_EQ(b.State(), 2);
    EXPECT_EQ(b.LastMouseButton(), 1);
    ASSERT_TRUE(LeftByTheMouse(b));
    EXPECT_EQ(b.State(), 1);
    EXPECT_EQ(Actions(form), (std::vector<int>{kClick, kLeave}));
}

TEST(ThemedInteraction, APressAndAReleaseAfterTheMouseLeftRaiseNoClick) {
    HostForm& form = SharedForm();
    ThemedButton b(form, L"ThemedButton1", Bounds(10, 10, W, H));
    MoveMouse(b, 50, 15);
    // The cursor goes before the press: on the test display a cursor moved while a button
    // holds the mouse comes back to the press when the button lets go.
    ASSERT_TRUE(LeftByTheMouse(b));
    ::SendMessageW(b.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, testing_support::MousePosition(50, 15));
    Release(b, 50, 15);
    EXPECT_EQ(Actions(form), std::vector<int>{kLeave});
    EXPECT_EQ(b.State(), 2) << "the release still leaves the button hot";
}

struct ToggleCase {
    bool valueBefore;
    bool valueAfter;
    int clicks;
};

TEST(ThemedInteraction, AToggleFlipsOnEachClickAndRaisesClickOnlyFromTrue) {
    const ToggleCase cases[] = {{false, true, 0}, {true, false, 1}};
    for (const auto& c : cases) {
        HostForm& form = SharedForm();
        ThemedButton b(form, L"ThemedButton1", Bounds(10, 10, W, H));
        b.SetButtonType(1);
        b.SetValue(c.valueBefore);
        ClickMiddle(b);
        EXPECT_EQ(b.Value(), c.valueAfter);
        EXPECT_EQ(Count(form, kClick), c.clicks);
        EXPECT_EQ(b.State(), c.valueAfter ? 3 : 2) << "a toggle that is on is drawn pressed";
        MoveMouseAway();
    }
}

TEST(ThemedInteraction, SpaceClicksButFlipsAToggleOnlyAfterALeftButton) {
    HostForm& form = SharedForm();
    ThemedButton b(form, L"ThemedButton1", Bounds(10, 10, W, H));
    b.SetButtonType(1);
    ::SetFocus(b.hWnd());
    // Before any mouse click the last button is 0: space raises Click without flipping.
    Key(b, WM_KEYDOWN, VK_SPACE);
    EXPECT_EQ(b.State(), 3);
    Key(b, WM_KEYUP, VK_SPACE);
    EXPECT_FALSE(b.Value());
    EXPECT_EQ(Count(form, kClick), 1);
    EXPECT_EQ(b.State(), 1);

    ClickMiddle(b);  // the left button: now space flips
    EXPECT_TRUE(b.Value());
    Key(b, WM_KEYDOWN, VK_SPACE);
    Key(b, WM_KEYUP, VK_SPACE);
    EXPECT_FALSE(b.Value());

    // A right-button release blocks the next space toggle.
    Press(b, 50, 15, WM_RBUTTONDOWN);
    Release(b, 50, 15, WM_RBUTTONUP);
    EXPECT_EQ(b.LastMouseButton(), 2);
    const int clicksBefore = Count(form, kClick);
    Key(b, WM_KEYDOWN, VK_SPACE);
    Key(b, WM_KEYUP, VK_SPACE);
    EXPECT_FALSE(b.Value());
    EXPECT_EQ(Count(form, kClick), clicksBefore + 1);
    MoveMouseAway();
}

TEST(ThemedInteraction, TheAccessKeyFlipsAToggleWithoutClick) {
    HostForm& form = SharedForm();
    ThemedButton b(form, L"ThemedButton1", Bounds(10, 10, W, H));
    b.SetCaption(L"&Loop");
    b.SetButtonType(1);
    ::SendMessageW(form.Handle(), WM_MENUCHAR, MAKEWPARAM(L'l', MF_SYSMENU), 0);
    EXPECT_TRUE(b.Value());
    EXPECT_EQ(b.LastMouseButton(), 1);
    EXPECT_EQ(b.State(), 1);
    EXPECT_EQ(Count(form, kClick), 0);
}

TEST(ThemedInteraction, TabRaisesMouseLeaveWithTheMouseElsewhere) {
    HostForm& form = SharedForm();
    ThemedButton first(form, L"ThemedButton1", Bounds(10, 10, W, H));
    ThemedButton second(form, L"ThemedButton2", Bounds(10, 50, W, H));
    MoveMouseAway();
    ::SetFocus(first.hWnd());
    form.events.clear();
    Key(first, WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(form.events, std::vector<int>{kLeave});
    EXPECT_EQ(::GetFocus(), second.hWnd());
}

struct ArrowCase {
    WPARAM key;
    int from;  // index of the focused button before
    int to;
};

TEST(ThemedInteraction, ArrowKeysMoveTheFocusWithoutChangingTheState) {
    HostForm& form = SharedForm();
    ThemedButton a(form, L"ThemedButton1", Bounds(10, 10, W, H));
    ThemedButton b(form, L"ThemedButton2", Bounds(10, 50, W, H));
    ThemedButton* buttons[] = {&a, &b};
    const ArrowCase cases[] = {{VK_RIGHT, 0, 1}, {VK_LEFT, 1, 0}, {VK_DOWN, 0, 1}, {VK_UP, 1, 0}};
    MoveMouseAway();
    for (const auto& c : cases) {
        ::SetFocus(buttons[c.from]->hWnd());
        const int before = buttons[c.from]->State();
        Key(*buttons[c.from], WM_KEYDOWN, c.key);
        EXPECT_EQ(::GetFocus(), buttons[c.to]->hWnd()) << c.key;
        EXPECT_EQ(buttons[c.from]->State(), before) << c.key;
    }
    EXPECT_TRUE(form.events.empty());
}

TEST(ThemedInteraction, FocusAndTheDefaultHintRepaint) {
    HostForm& form = SharedForm();
    ThemedButton b(form, L"ThemedButton1", Bounds(10, 10, W, H));
    b.SetShowFocus(true);
    ::SetFocus(b.hWnd());
    EXPECT_TRUE(b.HasFocus());
    EXPECT_EQ(Snapshot(b).At(0, 0), 0x000000) << "Style 0 outlines a focused button that shows its focus";
    ::SetFocus(form.Handle());
    EXPECT_FALSE(b.HasFocus());
    EXPECT_NE(Snapshot(b).At(0, 0), 0x000000);
    form.defaultButton = &b;
    b.AmbientChanged(L"DisplayAsDefault");
    EXPECT_EQ(Snapshot(b).At(0, 0), 0x000000) << "the default button is outlined too";
}

TEST(ThemedInteraction, TheLighterLooksDrawTheFocusRectangleTwoPixelsIn) {
    HostForm& form = SharedForm();
    // How many pixels of a row differ between two pictures of the button.
    const auto differences = [](const Snapshot& a, const Snapshot& b, int y, int x1, int x2) {
        int count = 0;
        for (int x = x1; x < x2; ++x) count += a.At(x, y) != b.At(x, y) ? 1 : 0;
        return count;
    };
    MoveMouseAway();
    for (int style : {1, 2, 3, 4, 9}) {
        SCOPED_TRACE(style);
        ThemedButton b(form, L"ThemedButton1", Bounds(10, 10, W, H));
        b.SetCaption(L"");
        b.SetStyle(style);
        ::SetFocus(b.hWnd());
        ASSERT_TRUE(b.HasFocus());
        const Snapshot plain(b);
        b.SetShowFocus(true);
        const Snapshot dotted(b);
        // Every other pixel of the rectangle's sides changes, and nothing inside or outside it.
        EXPECT_GE(differences(dotted, plain, 2, 3, W - 3), (W - 6) / 2 - 1);
        EXPECT_GE(differences(dotted, plain, H - 3, 3, W - 3), (W - 6) / 2 - 1);
        EXPECT_EQ(differences(dotted, plain, H / 2, 4, W - 4), 0);
        EXPECT_EQ(differences(dotted, plain, 1, 0, W), 0);
        ::SetFocus(form.Handle());
        const Snapshot unfocused(b);
        EXPECT_EQ(differences(unfocused, plain, 2, 0, W), 0) << "not without the focus";
    }
}

TEST(ThemedInteraction, AButtonDisabledWithTheFocusPassesItToTheNextTabStop) {
    HostForm& form = SharedForm();
    ThemedButton a(form, L"ThemedButton1", Bounds(10, 10, W, H));
    ThemedButton b(form, L"ThemedButton2", Bounds(10, 50, W, H));
    ::SetFocus(a.hWnd());
    a.SetEnabled(false);
    EXPECT_EQ(::GetFocus(), b.hWnd());
    EXPECT_FALSE(a.HasFocus());
}

TEST(ThemedInteraction, ADoubleClickPressesAgainAfterALeftClick) {
    HostForm& form = SharedForm();
    ThemedButton b(form, L"ThemedButton1", Bounds(10, 10, W, H));
    ClickMiddle(b);
    Press(b, 50, 15, WM_LBUTTONDBLCLK);
    EXPECT_EQ(b.State(), 3);
    Release(b, 50, 15);
    EXPECT_EQ(Count(form, kClick), 2);
    MoveMouseAway();
}

// A button that answers its messages with values of its own, to see that the
// hook passes them on untouched and runs only afterwards.
class ProbeButton : public ThemedButton {
public:
    using ThemedButton::ThemedButton;
    static LRESULT Answer(UINT message) { return 0x5000 + static_cast<LRESULT>(message); }
    std::vector<UINT> seen;
    std::vector<bool> insideWhenSeen;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_MOUSEMOVE || message == WM_MOUSELEAVE || message == WM_SYSCOLORCHANGE ||
            message == WM_THEMECHANGED) {
            seen.push_back(message);
            insideWhenSeen.push_back(MouseInside());
            return Answer(message);
        }
        return ThemedButton::HandleMessage(message, wParam, lParam);
    }
};

TEST(ThemedInteraction, TheHookRunsAfterTheWindowAndChangesNoMessage) {
    HostForm& form = SharedForm();
    ProbeButton b(form, L"ThemedButton1", Bounds(10, 10, W, H));
    ASSERT_TRUE(b.Hooked());
    const UINT messages[] = {WM_MOUSEMOVE, WM_SYSCOLORCHANGE, WM_THEMECHANGED, WM_MOUSELEAVE};
    for (UINT message : messages)
        EXPECT_EQ(::SendMessageW(b.hWnd(), message, 0, MAKELPARAM(5, 5)), ProbeButton::Answer(message)) << message;
    EXPECT_EQ(b.seen, std::vector<UINT>(std::begin(messages), std::end(messages)));
    // The window saw the move before the hook set the mouse-inside flag, and the leave before it cleared it.
    EXPECT_EQ(b.insideWhenSeen, (std::vector<bool>{false, true, true, true}));
    EXPECT_FALSE(b.MouseInside());
    EXPECT_EQ(form.events, (std::vector<int>{kEnter, kLeave}));
}

TEST(ThemedInteraction, InDesignModeThereIsNoHookAndTheMouseChangesNothing) {
    HostForm& form = SharedForm();
    form.userMode = false;
    ThemedButton b(form, L"ThemedButton1", Bounds(10, 10, W, H));
    EXPECT_FALSE(b.Hooked());
    MoveMouse(b, 50, 15);
    EXPECT_FALSE(b.MouseInside());
    EXPECT_TRUE(form.events.empty());
    EXPECT_EQ(b.TooltipWindow(), nullptr);
    Press(b, 50, 15);
    Release(b, 50, 15);
    EXPECT_EQ(Count(form, kClick), 0) << "without the hook the mouse is never inside";
    ::SetFocus(b.hWnd());
    Key(b, WM_KEYDOWN, VK_SPACE);
    Key(b, WM_KEYUP, VK_SPACE);
    EXPECT_EQ(Count(form, kClick), 1) << "the space key still clicks";
    MoveMouseAway();
}

TEST(ThemedInteraction, DestroyingTheButtonRemovesTheHook) {
    HostForm& form = SharedForm();
    auto b = std::make_unique<ThemedButton>(form, L"ThemedButton1", Bounds(10, 10, W, H));
    HWND window = b->hWnd();
    ASSERT_TRUE(b->Hooked());
    ::DestroyWindow(window);
    EXPECT_FALSE(b->Hooked());
    b.reset();
    EXPECT_FALSE(::IsWindow(window));
}

// ---- The mouse as a user works it: the press takes the mouse, and only the
// release of the button's own press can click it.

namespace {
enum class Place { First, Second, Form };

struct Journey {
    const char* name;
    bool toggle;
    Place press;
    Place release;  // reached after a stop on the bare form
    int firstClicks, secondClicks;
    bool valueAfter;
    bool drawnPressedAfter;
};

const Journey kJourneys[] = {
    {"pressed on one, let go on another", false, Place::First, Place::Second, 0, 0, false, false},
    {"pressed on the form, let go on a button", false, Place::Form, Place::Second, 0, 0, false, false},
    {"dragged off and back", false, Place::First, Place::First, 1, 0, false, false},
    {"a toggle dragged off and back", true, Place::First, Place::First, 0, 0, true, true},
    {"a toggle dragged off and let go there", true, Place::First, Place::Form, 0, 0, false, false},
};

struct Pair {
    explicit Pair(HostForm& form)
        : form(form),
          first(form, L"ThemedButton1", Bounds(10, 10, W, H)),
          second(form, L"ThemedButton2", Bounds(10, 50, W, H)) {
        first.Click.Subscribe([this] { ++firstClicks; });
        second.Click.Subscribe([this] { ++secondClicks; });
    }
    void MoveTo(Place place) {
        if (place == Place::Form)
            UserMoves(form.Handle(), 300, 200);
        else
            UserMoves((place == Place::First ? first : second).hWnd(), W / 2, H / 2);
    }
    HostForm& form;
    ThemedButton first;
    ThemedButton second;
    int firstClicks = 0;
    int secondClicks = 0;
};
}  // namespace

TEST(ThemedMouse, OnlyTheReleaseOfTheButtonsOwnPressClicksIt) {
    for (const Journey& j : kJourneys) {
        SCOPED_TRACE(j.name);
        Pair pair(SharedForm());
        pair.first.SetButtonType(j.toggle ? 1 : 0);
        pair.MoveTo(j.press);
        UserPresses();
        EXPECT_EQ(::GetCapture() == pair.first.hWnd(), j.press == Place::First);
        pair.MoveTo(Place::Form);
        EXPECT_EQ(pair.first.State(), 1) << "off the button it stands up";
        pair.MoveTo(j.release);
        UserReleases();
        EXPECT_EQ(::GetCapture(), nullptr);
        EXPECT_EQ(pair.firstClicks, j.firstClicks);
        EXPECT_EQ(pair.secondClicks, j.secondClicks);
        EXPECT_EQ(pair.first.Value(), j.valueAfter);
        EXPECT_EQ(pair.first.State() == 3, j.drawnPressedAfter);
        MoveMouseAway();
    }
}

// Records the double clicks that reach the button.
class DoubleClickProbe : public ThemedButton {
public:
    using ThemedButton::ThemedButton;
    int doubleClicks = 0;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        doubleClicks += message == WM_LBUTTONDBLCLK;
        return ThemedButton::HandleMessage(message, wParam, lParam);
    }
};

TEST(ThemedMouse, ADoubleClickFlipsAToggleTwice) {
    HostForm& form = SharedForm();
    DoubleClickProbe b(form, L"ThemedButton1", Bounds(10, 10, W, H));
    b.SetButtonType(1);
    UserMoves(b.hWnd(), W / 2, H / 2);
    for (int i = 0; i < 2; ++i) {
        UserPresses();
        UserReleases();
    }
    EXPECT_EQ(b.doubleClicks, 1);
    EXPECT_FALSE(b.Value()) << "on and off again, as a check box";
    EXPECT_EQ(Count(form, kClick), 1) << "the second release, from true";
    MoveMouseAway();
}

TEST(ThemedMouse, HidingDisablingOrDestroyingAPressedButtonLetsTheMouseGo) {
    const std::function<void(std::unique_ptr<ThemedButton>&)> endings[] = {
        [](auto& b) { ::ShowWindow(b->hWnd(), SW_HIDE); },
        [](auto& b) { b->SetEnabled(false); },
        [](auto& b) { b.reset(); },
    };
    for (const auto& end : endings) {
        HostForm& form = SharedForm();
        auto b = std::make_unique<ThemedButton>(form, L"ThemedButton1", Bounds(10, 10, W, H));
        UserMoves(b->hWnd(), W / 2, H / 2);
        UserPresses();
        ASSERT_EQ(::GetCapture(), b->hWnd());
        end(b);
        EXPECT_EQ(::GetCapture(), nullptr);
        EXPECT_TRUE(!b || b->State() != 3) << "no longer drawn pressed";
        UserReleases();
        EXPECT_EQ(Count(form, kClick), 0);
        MoveMouseAway();
    }
}
