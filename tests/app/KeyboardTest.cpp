// Tab, Shift+Tab, Space, Return and K on the main window and the output
// window, typed as a user types them: real key presses through the system's
// input queue.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Form1.h"
#include "support/DialogWatcher.h"
#include "support/Png.h"
#include "support/WindowTesting.h"

using testing_support::FixturePath;
using testing_support::PumpUntil;

namespace {

constexpr int kPlaying = app::MediaPlayer::kPlaying;

void BringToFront(HWND window) {
    ::ShowWindow(window, SW_SHOW);
    ::SetForegroundWindow(window);
    ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == window; }, 3000));
}

// Returns once the keys are handled, and what they posted with them.
void Press(WORD key, std::initializer_list<WORD> modifiers = {}) { testing_support::UserTypes(key, modifiers); }

// Returns once every window of the form shows what it holds now.
void Painted(HWND form) { ::RedrawWindow(form, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

class Keyboard : public ::testing::Test {
protected:
    void SetUp() override { BringToFront(form.Handle()); }

    // The tab stop that has the focus, by its name.
    std::wstring Focused() {
        HWND focus = ::GetFocus();
        if (focus == form.Handle()) return form.FocusedElement() ? form.FocusedElement()->Name() : L"the window";
        if (focus == form.Slider1().Handle()) return L"Slider1";
        for (int number = 1; number <= 11; ++number)
            if (focus == form.zembutton(number).Handle()) return form.zembutton(number).Name();
        return L"elsewhere";
    }

    // Tabs until the named stop has the focus.
    void TabTo(const std::wstring& stop) {
        for (int presses = 0; presses < 20 && Focused() != stop; ++presses) Press(VK_TAB);
        ASSERT_EQ(Focused(), stop);
    }

    void Load() {
        form.OpenMp3(FixturePath(L"media\\tone440_12s.mp3"));
        ASSERT_TRUE(PumpUntil([&] { return form.player().PlayState() == kPlaying; }, 3000));
    }

    app::Form1 form;
    // Cancels the open dialog; presses OK on every message box.
    testing_support::DialogWatcher watcher{[](HWND dialog) {
        if (testing_support::WindowText(dialog) != L"Open") return false;
        testing_support::PressButton(dialog, IDCANCEL);
        return true;
    }};
};

}  // namespace

TEST_F(Keyboard, TabAndShiftTabGoRoundTheEnabledStopsInOrder) {
    struct Case {
        bool loaded;
        std::vector<std::wstring> stops;
    };
    const std::vector<std::wstring> after = {L"Slider1", L"zembutton9", L"zembutton10", L"zembutton11",
                                             L"Label1",  L"Label10",    L"Label11"};
    auto with = [&](std::vector<std::wstring> buttons) {
        buttons.insert(buttons.end(), after.begin(), after.end());
        return buttons;
    };
    const Case cases[] = {
        {false, with({L"zembutton1", L"zembutton8"})},
        {true, with({L"zembutton1", L"zembutton7", L"zembutton2", L"zembutton8"})},
    };
    for (const Case& c : cases) {
        if (c.loaded) {
            ASSERT_NO_FATAL_FAILURE(Load());
        }
        ::SetFocus(form.Handle());
        const std::size_t count = c.stops.size();
        // Twice round forwards from the window itself, then twice round back.
        for (std::size_t press = 0; press < 2 * count; ++press) {
            Press(VK_TAB);
            EXPECT_EQ(Focused(), c.stops[press % count]) << "Tab " << press;
        }
        for (std::size_t press = 1; press <= 2 * count; ++press) {
            Press(VK_TAB, {VK_SHIFT});
            EXPECT_EQ(Focused(), c.stops[(3 * count - 1 - press) % count]) << "Shift+Tab " << press;
        }
    }
}

TEST_F(Keyboard, FocusComesBackAfterAMessageBoxOrADialog) {
    for (const wchar_t* stop : {L"zembutton8", L"Slider1", L"Label10"}) {
        ASSERT_NO_FATAL_FAILURE(TabTo(stop));
        const std::size_t boxes = watcher.Seen().size();
        EXPECT_FALSE(form.MoveEnd(-1));  // refused with a message box
        ASSERT_EQ(watcher.Seen().size(), boxes + 1);
        EXPECT_TRUE(PumpUntil([&] { return Focused() == stop; }, 3000)) << stop << " lost it to " << Focused();
    }
    // Space on Select MP3 opens the file dialog, which is cancelled.
    ASSERT_NO_FATAL_FAILURE(TabTo(L"zembutton1"));
    Press(VK_SPACE);
    EXPECT_TRUE(PumpUntil([&] { return Focused() == L"zembutton1"; }, 3000)) << Focused();
    EXPECT_TRUE(form.player().URL().empty());
}

TEST_F(Keyboard, SpaceAndReturnPressTheFocusedButtonAndKPlaysAndPausesEverywhere) {
    struct Case {
        const wchar_t* stop;
        WORD key;
        bool marksStart;
        bool pauses;
    };
    const Case cases[] = {
        {L"zembutton2", VK_SPACE, true, false},   // Set Start, pressed
        {L"zembutton2", VK_RETURN, true, false},  // Set Start, pressed
        {L"zembutton2", 'K', false, true},
        {L"Slider1", VK_SPACE, false, true},  // no button: the shortcut
        {L"Slider1", 'K', false, true},
        {L"Label11", VK_SPACE, false, true},
    };
    ASSERT_NO_FATAL_FAILURE(Load());
    for (const Case& c : cases) {
        form.clearsel();
        if (form.player().PlayState() != kPlaying) form.player().Play();
        ASSERT_TRUE(PumpUntil([&] { return form.player().PlayState() == kPlaying; }, 3000));
        ASSERT_NO_FATAL_FAILURE(TabTo(c.stop));
        Press(c.key);
        const auto marked = [&] { return form.Label(5).Caption() != L"00:00"; };
        const auto paused = [&] { return form.player().PlayState() != kPlaying; };
        PumpUntil([&] { return marked() == c.marksStart && paused() == c.pauses; }, 3000);
        EXPECT_EQ(marked(), c.marksStart) << c.stop << " key " << c.key;
        EXPECT_EQ(paused(), c.pauses) << c.stop << " key " << c.key;
        EXPECT_EQ(Focused(), c.stop);
    }
}

TEST_F(Keyboard, AFocusedButtonInTheMainWindowPictured) {
    testing_support::MoveMouseAway();
    ASSERT_NO_FATAL_FAILURE(TabTo(L"zembutton1"));
    EXPECT_TRUE(form.zembutton(1).HasFocus());
    EXPECT_TRUE(form.zembutton(1).IsDefault());  // the focused button shows as the default one
    EXPECT_TRUE(PumpUntil([&] { return form.zembutton(1).State() == 0; }, 3000)) << "not hot";
    Painted(form.Handle());
    const testing_support::Pixels button = testing_support::CaptureClient(form.zembutton(1).Handle());
    ASSERT_TRUE(testing_support::WritePng(testing_support::ArtifactPath(L"Form1-focused-button.png"),
                                          testing_support::CaptureClient(form.Handle())));
    // A focused link shows the focus rectangle around it, and the button no longer does.
    const testing_support::Pixels unfocused = testing_support::CaptureClient(form.Handle());
    ASSERT_NO_FATAL_FAILURE(TabTo(L"Label10"));
    Painted(form.Handle());
    const testing_support::Pixels focused = testing_support::CaptureClient(form.Handle());
    const testing_support::Pixels plainButton = testing_support::CaptureClient(form.zembutton(1).Handle());
    // The dotted rectangle two pixels in changes every other pixel of its sides.
    int dots = 0;
    for (int x = 3; x < button.width - 3; ++x) {
        const std::size_t at = 2 * static_cast<std::size_t>(button.width) + static_cast<std::size_t>(x);
        dots += button.data[at] != plainButton.data[at];
    }
    EXPECT_GT(dots, (button.width - 6) / 3) << "Tab shows where the focus is";
    const RECT link = form.Label(10).Bounds();
    int changed = 0;
    for (int y = link.top - 1; y <= link.bottom; ++y)
        for (int x = link.left - 1; x <= link.right; ++x) {
            const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(focused.width) + x;
            changed += focused.data[at] != unfocused.data[at];
        }
    EXPECT_GT(changed, link.right - link.left);  // dots along its edges
    ASSERT_TRUE(testing_support::WritePng(testing_support::ArtifactPath(L"Form1-focused-link.png"), focused));
}

TEST(OutputWindowKeyboard, TabStaysOnTheButtonInSightAndItShowsTheFocus) {
    app::frmDOSOutput window;
    ASSERT_NO_FATAL_FAILURE(BringToFront(window.Handle()));
    // The text box and the platform's buttons below the client area take no focus.
    for (int press = 0; press < 3; ++press) {
        Press(VK_TAB);
        EXPECT_EQ(::GetFocus(), window.zembutton1().Handle()) << press;
    }
    Press(VK_TAB, {VK_SHIFT});
    EXPECT_EQ(::GetFocus(), window.zembutton1().Handle());
    testing_support::MoveMouseAway();
    Painted(window.Handle());
    const testing_support::Pixels focused = testing_support::CaptureClient(window.Handle());
    ::SetFocus(window.Handle());
    Painted(window.Handle());
    const testing_support::Pixels unfocused = testing_support::CaptureClient(window.Handle());
    EXPECT_NE(focused.data, unfocused.data);  // the button's style shows the focus
    ASSERT_TRUE(testing_support::WritePng(testing_support::ArtifactPath(L"frmDOSOutput-focused-button.png"), focused));
}
