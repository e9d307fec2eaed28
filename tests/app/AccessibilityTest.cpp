// What a screen reader gets from the windows: each control's client object
// through AccessibleObjectFromWindow, the form's drawn read-outs and links as
// children of the form's client object, and the events that announce changes.
#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/Form1.h"
#include "app/TimeText.h"
#include "controls/imagebutton/ButtonProperties.h"
#include "support/DialogWatcher.h"
#include "support/WindowTesting.h"

using testing_support::FixturePath;
using testing_support::PumpFor;
using testing_support::PumpUntil;

namespace {

// An accessible object, released when it goes.
class Object {
public:
    explicit Object(HWND window) {
        ::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                     reinterpret_cast<void**>(&object_));
    }
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    ~Object() {
        if (object_) object_->Release();
    }
    IAccessible* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

    static VARIANT Child(long id) {
        VARIANT v;
        ::VariantInit(&v);
        v.vt = VT_I4;
        v.lVal = id;
        return v;
    }
    long Number(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*), long child = CHILDID_SELF) const {
        VARIANT out;
        ::VariantInit(&out);
        if ((object_->*get)(Child(child), &out) != S_OK || out.vt != VT_I4) return -1;
        return out.lVal;
    }
    std::wstring Text(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*), long child = CHILDID_SELF) const {
        BSTR text = nullptr;
        if ((object_->*get)(Child(child), &text) != S_OK || !text) return L"";
        std::wstring result(text, ::SysStringLen(text));
        ::SysFreeString(text);
        return result;
    }
    long Role(long child = CHILDID_SELF) const { return Number(&IAccessible::get_accRole, child); }
    long State(long child = CHILDID_SELF) const { return Number(&IAccessible::get_accState, child); }
    std::wstring Name(long child = CHILDID_SELF) const { return Text(&IAccessible::get_accName, child); }
    std::wstring Value(long child = CHILDID_SELF) const { return Text(&IAccessible::get_accValue, child); }
    std::wstring Action(long child = CHILDID_SELF) const { return Text(&IAccessible::get_accDefaultAction, child); }
    long Children() const {
        long count = -1;
        object_->get_accChildCount(&count);
        return count;
    }
    // The simple child of that name, or 0.
    long ChildNamed(const std::wstring& name) const {
        for (long child = 1; child <= Children(); ++child)
            if (Name(child) == name) return child;
        return 0;
    }
    // The windows of the children that are windows.
    std::vector<HWND> ChildWindows() const {
        std::vector<HWND> windows;
        for (long child = 1; child <= Children(); ++child) {
            IDispatch* dispatch = nullptr;
            if (object_->get_accChild(Child(child), &dispatch) != S_OK || !dispatch) continue;
            IAccessible* accessible = nullptr;
            if (SUCCEEDED(dispatch->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&accessible)))) {
                HWND window = nullptr;
                ::WindowFromAccessibleObject(accessible, &window);
                windows.push_back(window);
                accessible->Release();
            }
            dispatch->Release();
        }
        return windows;
    }

private:
    IAccessible* object_ = nullptr;
};

constexpr long kShown = STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN;

class Accessibility : public ::testing::Test {
protected:
    void Load() {
        form.OpenMp3(FixturePath(L"media\\tone440_12s.mp3"));
        ASSERT_TRUE(PumpUntil([&] { return form.player().PlayState() == app::MediaPlayer::kPlaying; }, 3000));
    }

    app::Form1 form;
    testing_support::DialogWatcher watcher;
};

std::vector<std::pair<HWND, long>> valueChanges;
std::vector<DWORD> valueChangeTimes;  // when each was raised, in the system's milliseconds

void CALLBACK RecordValueChange(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD time) {
    if (object != OBJID_CLIENT) return;
    valueChanges.emplace_back(window, child);
    valueChangeTimes.push_back(time);
}

}  // namespace

TEST_F(Accessibility, EachControlTellsItsRoleNameStateAndAction) {
    form.Show();
    PumpFor(100);
    form.zembutton(9).SetMode(controls::imagebutton::Modes::CheckBox);
    form.zembutton(9).SetValue(true);
    form.ThemedButton1().SetButtonType(1);
    form.ThemedButton1().SetValue(true);
    ::SetFocus(form.zembutton(1).Handle());
    struct Case {
        HWND window;
        long role;
        const wchar_t* name;
        long statesHeld;
        long statesNotHeld;
        const wchar_t* action;
    };
    const Case cases[] = {
        {form.zembutton(1).Handle(), ROLE_SYSTEM_PUSHBUTTON, L"Select MP3",
         STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED, STATE_SYSTEM_UNAVAILABLE | kShown, L"Press"},
        {form.zembutton(2).Handle(), ROLE_SYSTEM_PUSHBUTTON, L"Set Start", STATE_SYSTEM_UNAVAILABLE,
         STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED | kShown, L"Press"},
        {form.zembutton(9).Handle(), ROLE_SYSTEM_CHECKBUTTON, L"Home", STATE_SYSTEM_CHECKED | STATE_SYSTEM_FOCUSABLE,
         STATE_SYSTEM_FOCUSED | kShown, L"Press"},
        {form.zembutton(7).Handle(), ROLE_SYSTEM_PUSHBUTTON, L"Pause/Play", STATE_SYSTEM_UNAVAILABLE,
         STATE_SYSTEM_CHECKED, L"Press"},
        {form.Slider1().Handle(), ROLE_SYSTEM_SLIDER, L"Position", STATE_SYSTEM_FOCUSABLE, kShown, L""},
        // Below the client area: out of sight.
        {form.ThemedButton5().Handle(), ROLE_SYSTEM_PUSHBUTTON, L"ThemedButton", kShown, STATE_SYSTEM_FOCUSABLE,
         L"Press"},
        // Never shown, and a toggle that is down.
        {form.ThemedButton1().Handle(), ROLE_SYSTEM_CHECKBUTTON, L"ThemedButton",
         STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_CHECKED, STATE_SYSTEM_FOCUSABLE, L"Press"},
    };
    for (const Case& c : cases) {
        Object object(c.window);
        ASSERT_TRUE(object) << c.name;
        EXPECT_EQ(object.Role(), c.role) << c.name;
        EXPECT_EQ(object.Name(), c.name);
        EXPECT_EQ(object.State() & c.statesHeld, c.statesHeld) << c.name << " " << std::hex << object.State();
        EXPECT_EQ(object.State() & c.statesNotHeld, 0) << c.name << " " << std::hex << object.State();
        EXPECT_EQ(object.Action(), c.action) << c.name;
    }
    EXPECT_EQ(Object(form.Slider1().Handle()).Value(), std::to_wstring(form.Slider1().Value()));
}

TEST_F(Accessibility, PressingSetStartMarksTheStart) {
    ASSERT_NO_FATAL_FAILURE(Load());
    Object setStart(form.zembutton(2).Handle());
    ASSERT_TRUE(setStart);
    EXPECT_EQ(setStart->accDoDefaultAction(Object::Child(CHILDID_SELF)), S_OK);
    EXPECT_TRUE(PumpUntil([&] { return form.Label(5).Caption() != L"00:00"; }, 3000));
}

TEST_F(Accessibility, ReadOutsAndLinksAreChildrenOfTheWindow) {
    Object window(form.Handle());
    ASSERT_TRUE(window);
    struct Case {
        const wchar_t* name;
        long role;
        int valueLabel;  // 0: no value
        const wchar_t* action;
    };
    const Case cases[] = {
        {L"Current Position", ROLE_SYSTEM_STATICTEXT, 2, L""},
        {L"Start Point", ROLE_SYSTEM_STATICTEXT, 5, L""},
        {L"End Point", ROLE_SYSTEM_STATICTEXT, 7, L""},
        {L"Duration", ROLE_SYSTEM_STATICTEXT, 9, L""},
        {L"Tavrin Snipmill 1.1", ROLE_SYSTEM_LINK, 0, L"Jump"},
        {L"Click here to download free software.", ROLE_SYSTEM_LINK, 0, L"Jump"},
    };
    auto check = [&](const char* when) {
        for (const Case& c : cases) {
            const long child = window.ChildNamed(c.name);
            ASSERT_NE(child, 0) << c.name << " " << when;
            EXPECT_EQ(window.Role(child), c.role) << c.name;
            EXPECT_EQ(window.Value(child), c.valueLabel ? form.Label(c.valueLabel).Caption() : L"") << c.name << when;
            EXPECT_EQ(window.Action(child), c.action) << c.name;
        }
    };
    check("before the marks");
    EXPECT_EQ(window.Value(window.ChildNamed(L"Start Point")), L"00:00");
    ASSERT_NO_FATAL_FAILURE(Load());
    // The link under the read-outs now names the file.
    EXPECT_NE(window.ChildNamed(L"Loaded tone440_12s.mp3"), 0);
    ASSERT_TRUE(Object(form.zembutton(2).Handle())->accDoDefaultAction(Object::Child(CHILDID_SELF)) == S_OK);
    ASSERT_TRUE(PumpUntil([&] { return form.Label(5).Caption() != L"00:00"; }, 3000));
    ASSERT_TRUE(form.MoveEnd(form.player().CurrentPosition() + 1));
    for (const Case& c : cases) {
        if (!c.valueLabel) continue;
        const long child = window.ChildNamed(c.name);
        EXPECT_EQ(window.Value(child), form.Label(c.valueLabel).Caption()) << c.name;
        EXPECT_NE(window.Value(child), L"00:00") << c.name;
    }
}

TEST_F(Accessibility, ChangingTheStartIsAnnounced) {
    ASSERT_NO_FATAL_FAILURE(Load());
    Object window(form.Handle());
    ASSERT_TRUE(window);
    const long startPoint = window.ChildNamed(L"Start Point");
    ASSERT_NE(startPoint, 0);
    valueChanges.clear();
    HWINEVENTHOOK hook = ::SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr,
                                           RecordValueChange, ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    form.RunCommand(2);  // Set Start
    const std::pair<HWND, long> expected{form.Handle(), startPoint};
    EXPECT_TRUE(PumpUntil(
        [&] { return std::find(valueChanges.begin(), valueChanges.end(), expected) != valueChanges.end(); }, 3000));
    // The playing position, which changes ten times a second, is announced at most once a second.
    valueChanges.clear();
    valueChangeTimes.clear();
    const std::pair<HWND, long> position{form.Handle(), window.ChildNamed(L"Current Position")};
    const auto announced = [&] {
        std::vector<DWORD> times;
        for (std::size_t i = 0; i < valueChanges.size(); ++i)
            if (valueChanges[i] == position) times.push_back(valueChangeTimes[i]);
        return times;
    };
    EXPECT_TRUE(PumpUntil([&] { return announced().size() >= 3; }, 10000));
    const std::vector<DWORD> times = announced();
    for (std::size_t i = 1; i < times.size(); ++i) EXPECT_GE(times[i] - times[i - 1], 1000u) << i;
    ::UnhookWinEvent(hook);
}

TEST(OutputWindowAccessibility, ShowsOnlyWhatIsInSight) {
    app::frmDOSOutput window;
    window.Show();
    PumpFor(100);
    Object client(window.Handle());
    ASSERT_TRUE(client);
    const std::vector<HWND> windows = client.ChildWindows();
    EXPECT_EQ(windows, (std::vector<HWND>{window.pb().Handle(), window.zembutton1().Handle()}));
    EXPECT_NE(client.ChildNamed(L"Processing.Please wait...."), 0);
    Object bar(window.pb().Handle());
    EXPECT_EQ(bar.Role(), ROLE_SYSTEM_PROGRESSBAR);
    EXPECT_EQ(bar.Value(), L"0%");
    for (HWND hidden : {window.Text1().Handle(), window.Command1().Handle(), window.cmdCancel().Handle()})
        EXPECT_TRUE(::IsWindowVisible(hidden));  // they stay as the window has them, only out of sight
}

TEST_F(Accessibility, TheWaveformWindowReadsItsStatusLineAndMarks) {
    form.Show();
    form.OpenMp3(FixturePath(L"waveform\\tones.mp3"));
    ASSERT_TRUE(PumpUntil([&] { return form.player().PlayState() == app::MediaPlayer::kPlaying; }, 10000));
    form.player().Pause();
    ASSERT_TRUE(form.MoveStart(1.0));
    ASSERT_TRUE(form.MoveEnd(2.5));
    form.ShowWaveform();
    ASSERT_TRUE(PumpUntil([&] { return form.Waveform() && form.Waveform()->Peaks()->Finished(); }, 20000));
    const HWND waveform = form.Waveform()->Handle();
    Object window(waveform);
    ASSERT_TRUE(window);
    struct Case {
        const wchar_t* name;
        long role;
        double seconds;
    };
    const Case cases[] = {
        {L"Playhead", ROLE_SYSTEM_STATICTEXT, form.player().CurrentPosition()},
        {L"Start", ROLE_SYSTEM_STATICTEXT, 1.0},
        {L"End", ROLE_SYSTEM_STATICTEXT, 2.5},
        {L"Length", ROLE_SYSTEM_STATICTEXT, 1.5},
        {L"Start mark", ROLE_SYSTEM_INDICATOR, 1.0},
        {L"End mark", ROLE_SYSTEM_INDICATOR, 2.5},
    };
    for (const Case& c : cases) {
        const long child = window.ChildNamed(c.name);
        ASSERT_NE(child, 0) << c.name;
        EXPECT_EQ(window.Role(child), c.role) << c.name;
        EXPECT_EQ(window.Value(child), app::FormatClock(c.seconds)) << c.name;
    }
    // A moved start is announced and read anew.
    valueChanges.clear();
    HWINEVENTHOOK hook = ::SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr,
                                           RecordValueChange, ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_TRUE(form.MoveStart(1.25));
    const std::pair<HWND, long> start{waveform, window.ChildNamed(L"Start")};
    EXPECT_TRUE(PumpUntil(
        [&] { return std::find(valueChanges.begin(), valueChanges.end(), start) != valueChanges.end(); }, 3000));
    EXPECT_EQ(window.Value(start.second), app::FormatClock(1.25));
    ::UnhookWinEvent(hook);
    // With nothing to tab to, the focus stays on the waveform window, where Space still plays.
    ::SetForegroundWindow(waveform);
    ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == waveform; }, 3000));
    testing_support::UserTypes(VK_TAB);
    testing_support::UserTypes(VK_SPACE);
    EXPECT_TRUE(PumpUntil([&] { return form.player().PlayState() == app::MediaPlayer::kPlaying; }, 3000));
    EXPECT_EQ(::GetFocus(), waveform);
}
