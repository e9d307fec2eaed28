// The waveform window's Level menu as a user works it: its items, greyed without
// a selection; its dialogs (the field focused with its text selected, Return for
// OK, Escape for Cancel) and the clipping question, answered with real keys.
#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <mutex>

#include "app/Form1.h"
#include "app/Shortcuts.h"
#include "support/DialogWatcher.h"
#include "support/WindowTesting.h"

using testing_support::FixturePath;
using testing_support::PumpUntil;
using testing_support::WindowText;

namespace {

// A dialog expected ("Snipmill" for the question), the text typed over its field, and the key that ends it.
struct Answer {
    std::wstring title, typed;
    WORD key;
};

class LevelMenu : public ::testing::Test {
protected:
    // Runs a Level command as the menu bar does, answering its dialogs; returns each
    // one's field (or the question) as it opened, "!" after it where it was not focused and selected.
    std::vector<std::wstring> Run(app::WaveformCommand command, std::vector<Answer> answers) {
        {
            std::lock_guard lock(mutex_);
            answers_.assign(answers.begin(), answers.end());
            met_.clear();
        }
        // The dialogs' own message loops run inside; the watcher answers them from its thread.
        ::SendMessageW(form.Waveform()->Handle(), WM_COMMAND, command, 0);
        std::lock_guard lock(mutex_);
        EXPECT_TRUE(answers_.empty());
        return met_;
    }

    bool Answer(HWND dialog) {
        std::lock_guard lock(mutex_);
        if (answers_.empty() || WindowText(dialog) != answers_.front().title) return false;
        if (HWND field = ::GetDlgItem(dialog, 1001)) {
            GUITHREADINFO info{};
            info.cbSize = sizeof info;
            ::GetGUIThreadInfo(::GetWindowThreadProcessId(dialog, nullptr), &info);
            DWORD from = 1, to = 0;
            ::SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
            const std::wstring text = WindowText(field);
            met_.push_back(text + (info.hwndFocus == field && from == 0 && to == text.size() ? L"" : L"!"));
            if (!answers_.front().typed.empty())
                ::SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(answers_.front().typed.c_str()));
        } else {
            met_.push_back(testing_support::ReadMessageBox(dialog).text);
        }
        mainEnabled_.push_back(::IsWindowEnabled(form.Handle()) != FALSE);
        if (during_) during_();
        // The key goes where the keyboard is: only once the dialog is in front.
        ::SetForegroundWindow(dialog);
        if (!PumpUntil([&] { return ::GetForegroundWindow() == dialog; }, 5000)) met_.push_back(L"(not in front)");
        testing_support::UserTypes(answers_.front().key);
        answers_.pop_front();
        return true;
    }

    std::mutex mutex_;
    std::deque<::Answer> answers_;
    std::vector<std::wstring> met_;
    std::vector<bool> mainEnabled_;   // the main window's state under each dialog
    std::function<void()> during_;    // done from the watcher's thread under each dialog
    testing_support::DialogWatcher watcher{[this](HWND dialog) { return Answer(dialog); }};
    app::Form1 form;
};

}  // namespace

TEST_F(LevelMenu, SetsTheSelectionsFadesAndLevelWhichANewSelectionClears) {
    form.Show();
    form.OpenMp3(FixturePath(L"waveform\\tones.mp3"));
    ASSERT_TRUE(PumpUntil([&] { return form.player().PlayState() == app::MediaPlayer::kPlaying; }, 10000));
    form.player().Pause();
    form.ShowWaveform();
    ASSERT_TRUE(PumpUntil([&] { return form.Waveform()->Peaks()->Finished(); }, 20000));

    // The menu, from the command table: greyed until there is a selection.
    HMENU level = ::GetSubMenu(::GetMenu(form.Waveform()->Handle()), 2);
    std::vector<std::wstring> items;
    for (int i = 0; i < ::GetMenuItemCount(level); ++i)
        if (wchar_t text[64]{}; ::GetMenuStringW(level, static_cast<UINT>(i), text, 64, MF_BYPOSITION) > 0) items.push_back(text);
    EXPECT_EQ(items, (std::vector<std::wstring>{L"Fade &In...", L"Fade &Out...", L"Change &Level...", L"&Normalize",
                                                L"No Level &Change"}));
    auto greyed = [&] {
        ::SendMessageW(form.Waveform()->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(level), 2);
        return (::GetMenuState(level, app::kFadeIn, MF_BYCOMMAND) & MF_GRAYED) != 0;
    };
    EXPECT_TRUE(greyed());
    ASSERT_TRUE(form.MoveStart(0.5));
    ASSERT_TRUE(form.MoveEnd(2.5));
    EXPECT_FALSE(greyed());

    EXPECT_EQ(Run(app::kFadeIn, {{L"Fade In", L"0.5", VK_RETURN}}), std::vector<std::wstring>{L"1"});
    EXPECT_EQ(Run(app::kFadeOut, {{L"Fade Out", L"9", VK_ESCAPE}}), std::vector<std::wstring>{L"2"});
    EXPECT_EQ(Run(app::kFadeOut, {{L"Fade Out", L"", VK_RETURN}}), std::vector<std::wstring>{L"2"});
    EXPECT_EQ(form.Levels().StatusText(), L"Fade in 0.5 s, fade out 2.0 s");

    // The 440 Hz tone at half of full scale (a little under, decoded) is in the selection:
    // +12 dB asks first, and No leaves the level as it was.
    const auto asked = Run(app::kChangeLevel, {{L"Change Level", L"12", VK_RETURN}, {L"Snipmill", L"", 'N'}});
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0], L"0");
    EXPECT_NE(asked[1].find(L"would clip the selection's loudest sample by 5."), std::wstring::npos);
    EXPECT_EQ(form.Levels().Steps(), 0);
    Run(app::kChangeLevel, {{L"Change Level", L"12", VK_RETURN}, {L"Snipmill", L"", 'Y'}});
    EXPECT_EQ(form.Levels().LevelDb(), 12);
    Run(app::kChangeLevel, {{L"Change Level", L"-4.5", VK_RETURN}});  // a fall asks nothing
    EXPECT_EQ(form.Levels().LevelDb(), -4.5);
    Run(app::kNormalize, {});
    EXPECT_EQ(form.Levels().LevelDb(), 6);  // +7.5 would clip

    // Play Selection plays the changed frames, and pauses at the end.
    form.RunCommand(4);
    ASSERT_TRUE(PumpUntil([&] { return form.player().PlayState() == app::MediaPlayer::kPaused; }, 10000));
    EXPECT_NEAR(form.player().CurrentPosition(), 2.5, 0.01);

    Run(app::kNoLevelChange, {});
    EXPECT_TRUE(form.Levels().None());
    form.Levels().SetFadeIn(1);
    form.RunCommand(6);  // New Selection
    EXPECT_TRUE(form.Levels().None());
    form.Levels().SetLevelDb(-6);
    form.OpenMp3(FixturePath(L"waveform\\tones.mp3"));
    EXPECT_TRUE(form.Levels().None());
}

// New Selection while a Level dialog is up (the main window is disabled then, but a
// file may still be opened from elsewhere): the answer changes nothing, and no fade
// from before the dialog comes back.
TEST_F(LevelMenu, ADialogAnsweredAfterTheSelectionWentChangesNothing) {
    form.Show();
    form.OpenMp3(FixturePath(L"waveform\\tones.mp3"));
    ASSERT_TRUE(PumpUntil([&] { return form.player().PlayState() == app::MediaPlayer::kPlaying; }, 10000));
    form.player().Pause();
    form.ShowWaveform();
    ASSERT_TRUE(PumpUntil([&] { return form.Waveform()->Peaks()->Finished(); }, 20000));
    struct Case {
        const char* what;
        app::WaveformCommand command;
        ::Answer answer;
    } const kCases[] = {
        {"a fall", app::kChangeLevel, {L"Change Level", L"-4.5", VK_RETURN}},
        {"a rise that would ask about clipping", app::kChangeLevel, {L"Change Level", L"12", VK_RETURN}},
        {"a fade in", app::kFadeIn, {L"Fade In", L"0.5", VK_RETURN}},
        {"a fade out", app::kFadeOut, {L"Fade Out", L"0.5", VK_RETURN}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(form.MoveStart(0.5));
        ASSERT_TRUE(form.MoveEnd(2.5));
        form.Levels().SetFadeIn(0.25);
        {
            std::lock_guard lock(mutex_);
            mainEnabled_.clear();
            during_ = [&] { ::SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(6, 1), 0); };  // New Selection
        }
        Run(c.command, {c.answer});
        std::lock_guard lock(mutex_);
        during_ = nullptr;
        EXPECT_EQ(mainEnabled_, std::vector<bool>{false});
        EXPECT_FALSE(form.SelectionSamples());
        EXPECT_TRUE(form.Levels().None()) << form.Levels().StatusText();
        EXPECT_TRUE(::IsWindowEnabled(form.Handle()));
    }
}
