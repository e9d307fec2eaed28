// The waveform window's Level menu as a user works it: its items, greyed without
// a selection; its dialogs (the field focused with its text selected, Return for
// OK, Escape for Cancel) and the clipping question, answered with real keys.
#include <windows.h>

#include <gtest/gtest.h>

#include <commctrl.h>

#include <deque>
#include <functional>
#include <mutex>

#include "app/Form1.h"
#include "app/Shortcuts.h"
#include "app/UserSettings.h"
#include "app/waveform/LevelCommands.h"
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
        if (HWND table = ::GetDlgItem(dialog, 1020)) {
            ReadTable(dialog, table);
        } else if (HWND field = ::GetDlgItem(dialog, 1001)) {
            GUITHREADINFO info{};
            info.cbSize = sizeof info;
            ::GetGUIThreadInfo(::GetWindowThreadProcessId(dialog, nullptr), &info);
            // An edit control, or a combo box whose own edit control has the focus.
            wchar_t kind[32] = {};
            ::GetClassNameW(field, kind, 32);
            const bool combo = std::wstring(kind) == L"ComboBox";
            DWORD from = 1, to = 0;
            ::SendMessageW(field, combo ? CB_GETEDITSEL : EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
            const bool focused = info.hwndFocus == field || (combo && ::IsChild(field, info.hwndFocus));
            const std::wstring text = WindowText(field);
            met_.push_back(text + (focused && from == 0 && to == text.size() ? L"" : L"!"));
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

    // Opens a fixture, paused, with its waveform window shown.
    void OpenWithWaveform(const wchar_t* fixture) {
        form.Show();
        form.OpenMp3(FixturePath(fixture));
        ASSERT_TRUE(PumpUntil([&] { return form.player().PlayState() == app::MediaPlayer::kPlaying; }, 10000));
        form.player().Pause();
        form.ShowWaveform();
    }

    // The Loudness window's rows as "name | loudness | range | true peak", and its picture.
    void ReadTable(HWND dialog, HWND table) {
        for (int row = 0; row < ListView_GetItemCount(table); ++row) {
            std::wstring line;
            for (int column = 0; column < 4; ++column) {
                wchar_t text[128] = {};
                ListView_GetItemText(table, row, column, text, 128);
                line += (column ? L" | " : L"") + std::wstring(text);
            }
            met_.push_back(line);
        }
        met_.push_back(WindowText(::GetDlgItem(dialog, 1021)));
        testing_support::WritePng(testing_support::ArtifactPath(L"loudness-window.png"), testing_support::CaptureWindow(dialog));
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
    ASSERT_NO_FATAL_FAILURE(OpenWithWaveform(L"waveform\\tones.mp3"));
    ASSERT_TRUE(PumpUntil([&] { return form.Waveform()->Peaks()->Finished(); }, 20000));

    // The menu, from the command table: greyed until there is a selection.
    HMENU level = ::GetSubMenu(::GetMenu(form.Waveform()->Handle()), 2);
    std::vector<std::wstring> items;
    for (int i = 0; i < ::GetMenuItemCount(level); ++i)
        if (wchar_t text[64]{}; ::GetMenuStringW(level, static_cast<UINT>(i), text, 64, MF_BYPOSITION) > 0) items.push_back(text);
    EXPECT_EQ(items, (std::vector<std::wstring>{L"Fade &In...", L"Fade &Out...", L"Change &Level...", L"&Normalize",
                                                L"Normalize Lou&dness...", L"No Level &Change", L"&Measure Loudness...",
                                                L"Write &ReplayGain Tags"}));
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
    ASSERT_NO_FATAL_FAILURE(OpenWithWaveform(L"waveform\\tones.mp3"));
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

// Pink noise measured by ffmpeg at -20.0 LUFS, true peak -9.2 dBTP, split at 5 s.
TEST_F(LevelMenu, MeasuresLoudnessAndNormalizesTheSelectionToATarget) {
    app::UserSettings().SetNumber(app::kLoudnessTargetSetting, -160);
    ASSERT_NO_FATAL_FAILURE(OpenWithWaveform(L"loudness\\pink_44k_stereo.mp3"));
    ASSERT_TRUE(PumpUntil([&] { return form.Waveform()->Peaks()->Finished(); }, 20000));
    form.Splits().Add(5 * 44100);

    // The table: the file and each piece; no selection yet.
    auto table = Run(app::kMeasureLoudness, {{L"Loudness", L"", VK_RETURN}});
    ASSERT_EQ(table.size(), 4u);
    EXPECT_EQ(table[0], L"File | \u221220.0 LUFS | 0.1 LU | \u22129.2 dBTP");
    EXPECT_EQ(table[1].rfind(L"Piece 1 | \u221220.0 LUFS | ", 0), 0u) << table[1];
    EXPECT_EQ(table[2].rfind(L"Piece 2 | \u221220.0 LUFS | ", 0), 0u) << table[2];
    EXPECT_EQ(table[3], L"");

    // The target offered and remembered; 4 dB up is nearest to 3 steps, +4.5 dB.
    ASSERT_TRUE(form.MoveStart(1));
    ASSERT_TRUE(form.MoveEnd(14));
    EXPECT_EQ(Run(app::kNormalizeLoudness, {{L"Normalize Loudness", L"-16", VK_RETURN}}), std::vector<std::wstring>{L"-16"});
    EXPECT_EQ(form.Levels().LevelDb(), 4.5);
    const media::Loudness selection = form.Waveform()->Peaks()->LoudnessOf(44100, 14 * 44100);
    EXPECT_LE(std::abs(selection.integrated + form.Levels().LevelDb() - -16), 0.75);
    table = Run(app::kMeasureLoudness, {{L"Loudness", L"", VK_RETURN}});
    ASSERT_EQ(table.size(), 5u);
    EXPECT_EQ(table[1].rfind(L"Selection | \u221215.5 LUFS | ", 0), 0u) << table[1];
    EXPECT_EQ(table[4], L"The selection and the pieces as they will be saved, with the level +4.5 dB. ");
    testing_support::WritePng(testing_support::ArtifactPath(L"loudness-status-line.png"),
                              testing_support::CaptureWindow(form.Waveform()->Handle()));

    // -5 LUFS is more than the highest level brings: +12 dB would take the true peak
    // over full scale, which is asked first.
    const auto asked = Run(app::kNormalizeLoudness, {{L"Normalize Loudness", L"-5", VK_RETURN}, {L"Snipmill", L"", 'N'}});
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0], L"-16");
    EXPECT_NE(asked[1].find(L"A level of +12.0 dB would bring the selection's true peak to +2.8 dBTP"), std::wstring::npos)
        << asked[1];
    EXPECT_EQ(form.Levels().LevelDb(), 4.5);
    EXPECT_EQ(app::UserSettings().Number(app::kLoudnessTargetSetting), -50);

    // Too short to measure: a selection shorter than one 400 ms block.
    ASSERT_TRUE(form.MoveEnd(1.3));
    EXPECT_EQ(Run(app::kNormalizeLoudness, {{L"Snipmill", L"", VK_RETURN}}),
              std::vector<std::wstring>{L"The selection is too short or too quiet to measure."});
    app::UserSettings().Clear();
}

TEST_F(LevelMenu, WriteReplayGainTagsIsACheckItemOffAtFirstAndRemembered) {
    app::UserSettings().Clear();
    ASSERT_NO_FATAL_FAILURE(OpenWithWaveform(L"waveform\\tones.mp3"));
    HMENU level = ::GetSubMenu(::GetMenu(form.Waveform()->Handle()), 2);
    auto checked = [&] {
        ::SendMessageW(form.Waveform()->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(level), 2);
        return (::GetMenuState(level, app::kReplayGainTags, MF_BYCOMMAND) & MF_CHECKED) != 0;
    };
    EXPECT_FALSE(checked());
    Run(app::kReplayGainTags, {});
    EXPECT_TRUE(checked());
    EXPECT_EQ(app::UserSettings().Number(app::kReplayGainTagsSetting), 1);
    Run(app::kReplayGainTags, {});
    EXPECT_FALSE(checked());
    app::UserSettings().Clear();
}
