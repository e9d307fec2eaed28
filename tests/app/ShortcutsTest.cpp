// The main window's keyboard shortcuts, typed as a user types them: real key
// presses through the system's input queue while a real file plays.
#include "app/Shortcuts.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <vector>

#include "app/Form1.h"
#include "app/TimeText.h"
#include "support/DialogWatcher.h"
#include "support/WindowTesting.h"

using testing_support::FixturePath;
using testing_support::PumpUntil;

namespace {

constexpr int kPlaying = app::MediaPlayer::kPlaying;
constexpr int kPaused = app::MediaPlayer::kPaused;

class Shortcuts : public ::testing::Test {
protected:
    void SetUp() override {
        form.Show();
        ::SetForegroundWindow(form.Handle());
        ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == form.Handle(); }, 3000));
    }

    // A key pressed and released, with Ctrl held around it when asked.
    void Press(WORD key, bool control = false) {
        if (control)
            testing_support::UserTypes(key, {VK_CONTROL});
        else
            testing_support::UserTypes(key);  // returns once the keys and what they posted are handled
    }

    void Load(const std::wstring& name) {
        form.OpenMp3(FixturePath(L"media\\" + name));
        ASSERT_TRUE(PumpUntil([&] { return form.player().PlayState() == kPlaying; }, 10000));
    }
    std::wstring Caption(int label) { return form.Label(label).Caption(); }
    double Seconds(int label) { return app::ParseSeconds(Caption(label)); }
    std::vector<std::wstring> FileDialogs() {
        std::lock_guard lock(mutex);
        return fileDialogs;
    }

    app::Form1 form;
    std::mutex mutex;
    std::vector<std::wstring> fileDialogs;
    // The open dialog is answered with tone440.mp3, the save dialog cancelled,
    // message boxes answered with OK.
    testing_support::DialogWatcher watcher{[this](HWND dialog) {
        const std::wstring title = testing_support::WindowText(dialog);
        if (title != L"Open" && title != L"Save As") return false;
        {
            std::lock_guard lock(mutex);
            fileDialogs.push_back(title);
        }
        if (title == L"Open")
            testing_support::ChooseFile(dialog, FixturePath(L"media\\tone440.mp3"));
        else
            testing_support::PressButton(dialog, IDCANCEL);
        return true;
    }};
};

}  // namespace

TEST(ShortcutTable, TooltipsNameTheShortcuts) {
    app::Form1 form;
    // Each button's own key first; the keys that act on its mark follow, a line each.
    const std::pair<int, const wchar_t*> expected[] = {
        {1, L"Select MP3 (Ctrl+O)\r\nW: show the waveform\r\nM: split the file at the playhead"},
        {2, L"Set Start (I)\r\nCtrl+Left: start 10 ms earlier\r\nCtrl+Right: start 10 ms later\r\n"
            L"Shift+I: play 2 s from the start\r\nQ: move the mark nearer the playhead to a pause"},
        {3, L"Set End (O)\r\nCtrl+Shift+Left: end 10 ms earlier\r\nCtrl+Shift+Right: end 10 ms later\r\n"
            L"Shift+O: play the 2 s before the end\r\nQ: move the mark nearer the playhead to a pause"},
        {4, L"Play Selection (P)"},
        {5, L"Save Selection (Ctrl+S)"},
        {6, L"New Selection (Ctrl+N)"},
        {7, L"Pause/Play (Space, K)"},
        {8, L""},
        {9, L""},
    };
    for (const auto& [button, tooltip] : expected) EXPECT_EQ(form.zembutton(button).ToolTip(), tooltip) << button;
    // Every key is named by some tooltip.
    for (const app::Shortcut& shortcut : app::MainWindowShortcuts()) {
        bool named = false;
        for (int button = 1; button <= 11; ++button)
            named = named || form.zembutton(button).ToolTip().find(shortcut.name) != std::wstring::npos;
        EXPECT_TRUE(named) << shortcut.name;
    }
}

TEST_F(Shortcuts, OfDisabledButtonsDoNothing) {
    for (WORD key : {WORD('I'), WORD('O'), WORD('P'), WORD(VK_SPACE)}) Press(key);
    Press('S', true);
    Press('N', true);
    for (int label : {5, 7, 9}) EXPECT_EQ(Caption(label), L"00:00") << label;
    EXPECT_NE(form.player().PlayState(), kPlaying);
    EXPECT_FALSE(form.Timer3().Enabled());
    EXPECT_TRUE(watcher.Seen().empty());
    EXPECT_TRUE(FileDialogs().empty());
}

TEST_F(Shortcuts, IThenOMarksWhatWasHeard) {
    Load(L"tone440_12s.mp3");
    Press('I');
    ASSERT_NE(Caption(5), L"00:00");
    const double start = Seconds(5);
    ASSERT_TRUE(PumpUntil([&] { return form.player().CurrentPosition() >= start + 2.0; }, 20000));
    // The end is what was heard while O went down and up, however long that took.
    const double before = form.player().CurrentPosition();
    Press('O');
    const double after = form.player().CurrentPosition();
    EXPECT_GE(Seconds(7), before) << "start " << Caption(5) << ", end " << Caption(7);
    EXPECT_LE(Seconds(7), after) << "start " << Caption(5) << ", end " << Caption(7);
    EXPECT_NEAR(Seconds(9), Seconds(7) - start, 1e-9);
    for (int number : {4, 5, 6}) EXPECT_TRUE(form.zembutton(number).Enabled()) << number;
}

TEST_F(Shortcuts, SpacePausesAndResumes) {
    Load(L"tone440_12s.mp3");
    ASSERT_TRUE(PumpUntil([&] { return form.player().CurrentPosition() > 1.0; }, 10000));
    Press(VK_SPACE);
    ASSERT_TRUE(PumpUntil([&] { return form.player().PlayState() == kPaused; }, 2000));
    const double held = form.player().CurrentPosition();
    // The position stands still while the timer that shows it ticks five times more.
    auto ticks = std::make_shared<int>(0);
    form.Timer1().Tick.Subscribe([ticks] { ++*ticks; });
    ASSERT_TRUE(PumpUntil([&] { return *ticks >= 1; }, 10000));
    const std::wstring shown = Caption(2);
    ASSERT_TRUE(PumpUntil([&] { return *ticks >= 6; }, 10000));
    EXPECT_EQ(form.player().CurrentPosition(), held);
    EXPECT_EQ(Caption(2), shown);
    Press(VK_SPACE);
    EXPECT_TRUE(PumpUntil([&] { return form.player().CurrentPosition() > held + 0.3; }, 10000));
    EXPECT_EQ(form.player().PlayState(), kPlaying);
}

TEST_F(Shortcuts, AfterAClickSpacePressesTheFocusedButtonAndKStillPlaysAndPauses) {
    Load(L"tone440_12s.mp3");
    HWND setStart = form.zembutton(2).hWnd();
    ::SendMessageW(setStart, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::SendMessageW(setStart, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ::SetFocus(setStart);
    ASSERT_TRUE(PumpUntil([&] { return Caption(5) != L"00:00"; }, 5000));
    const std::wstring start = Caption(5);
    ASSERT_TRUE(PumpUntil([&] { return form.player().CurrentPosition() > Seconds(5) + 0.3; }, 10000));
    Press(VK_SPACE);
    EXPECT_TRUE(PumpUntil([&] { return Caption(5) != start; }, 2000));  // Set Start ran again
    EXPECT_EQ(form.player().PlayState(), kPlaying);
    Press('K');
    EXPECT_TRUE(PumpUntil([&] { return form.player().PlayState() == kPaused; }, 2000));
    Press('K');
    EXPECT_TRUE(PumpUntil([&] { return form.player().PlayState() == kPlaying; }, 2000));
    EXPECT_EQ(::GetFocus(), setStart);
}

TEST_F(Shortcuts, AHeldKeyRunsItsCommandOnce) {
    Load(L"tone440_12s.mp3");
    // The keyboard's repeats of a held Space: the first press, then repeats (bit 30 set).
    for (int i = 0; i < 4; ++i) {
        const LPARAM repeat = i == 0 ? 1 : (1 | (1L << 30));
        ::PostMessageW(form.Handle(), WM_KEYDOWN, VK_SPACE, repeat);
    }
    ::PostMessageW(form.Handle(), WM_KEYUP, VK_SPACE, 1 | (1L << 30) | (1L << 31));
    EXPECT_TRUE(PumpUntil([] { return HIWORD(::GetQueueStatus(QS_POSTMESSAGE)) == 0; }, 3000));
    EXPECT_EQ(form.player().PlayState(), kPaused);
}

TEST_F(Shortcuts, ArrowKeysStillMoveTheSlider) {
    Load(L"tone440_12s.mp3");
    Press(VK_SPACE);
    ::SetFocus(form.Slider1().Handle());
    const int before = form.Slider1().Value();
    Press(VK_RIGHT);
    EXPECT_EQ(form.Slider1().Value(), before + 1);
    EXPECT_EQ(form.player().CurrentPosition(), before + 1.0);
    Press('I');  // the shortcuts work with the focus on the slider too
    EXPECT_EQ(Caption(5), app::FormatSeconds(before + 1.0));
    Press(VK_RIGHT, true);  // Ctrl+Right moves the start mark, not the slider
    EXPECT_EQ(Caption(5), app::FormatSeconds(before + 1.01));
    EXPECT_EQ(form.Slider1().Value(), before + 1);
}

TEST_F(Shortcuts, CtrlKeysRunSelectSaveAndNewSelection) {
    Press('O', true);
    ASSERT_TRUE(PumpUntil([&] { return form.Text1().Text() == FixturePath(L"media\\tone440.mp3"); }, 5000));
    Press('I');
    ASSERT_TRUE(PumpUntil([&] { return form.player().CurrentPosition() > Seconds(5) + 0.3; }, 10000));
    Press('O');
    ASSERT_TRUE(form.zembutton(5).Enabled());
    Press('S', true);
    ASSERT_TRUE(PumpUntil([&] { return FileDialogs().size() == 2; }, 5000));
    EXPECT_EQ(FileDialogs(), (std::vector<std::wstring>{L"Open", L"Save As"}));
    Press('N', true);
    for (int label : {5, 7, 9}) EXPECT_EQ(Caption(label), L"00:00") << label;
}
