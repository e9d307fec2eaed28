// The waveform window's Level menu as a user works it: its items from the command
// table, greyed without a selection; its dialogs (the field focused with its text
// selected, Return for OK, Escape for Cancel) and the clipping question, answered
// with real key presses; the settings cleared with the selection and the file.
#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "app/Form1.h"
#include "app/Shortcuts.h"
#include "support/DialogWatcher.h"
#include "support/WindowTesting.h"

using testing_support::FixturePath;
using testing_support::PumpFor;
using testing_support::PumpUntil;

namespace {

// How a dialog of the menu was found, and what the user then did in it.
struct Answer {
    const wchar_t* title;  // the dialog expected, or the clipping question's "Snipmill"
    std::wstring typed;    // typed over the selected field; empty to type nothing
    WORD key;              // VK_RETURN or VK_ESCAPE; for the question 'Y' or 'N'
};

struct Met {
    std::wstring title;
    std::wstring field;  // the field's text when it opened, or the question
    bool fieldFocused = false;
    bool wholeTextSelected = false;
};

class LevelMenu : public ::testing::Test {
protected:
    void SetUp() override {
        form.Show();
        form.OpenMp3(FixturePath(L"waveform\\tones.mp3"));
        ASSERT_TRUE(PumpUntil([&] { return form.player().PlayState() == app::MediaPlayer::kPlaying; }, 10000));
        form.player().Pause();
        form.ShowWaveform();
        ASSERT_TRUE(PumpUntil([&] { return form.Waveform()->Peaks()->Finished(); }, 20000));
    }

    void Mark(double start, double end) {
        form.clearsel();
        ASSERT_TRUE(form.MoveStart(start));
        ASSERT_TRUE(form.MoveEnd(end));
    }

    // Runs a Level command from the menu bar, answering its dialogs as `answers` say.
    void Run(app::WaveformCommand command, std::vector<Answer> answers) {
        {
            std::lock_guard lock(mutex_);
            answers_.assign(answers.begin(), answers.end());
        }
        ::PostMessageW(form.Waveform()->Handle(), WM_COMMAND, command, 0);
        ASSERT_TRUE(PumpUntil(
            [&] {
                std::lock_guard lock(mutex_);
                return answers_.empty();
            },
            10000));
        PumpFor(200);  // the last dialog closes
    }

    // Answers the menu's dialogs from the watcher's thread, with real keys.
    bool Answer(HWND dialog) {
        const std::wstring title = testing_support::WindowText(dialog);
        std::lock_guard lock(mutex_);
        if (answers_.empty() || title != answers_.front().title) return false;
        const ::Answer answer = answers_.front();
        Met met;
        met.title = title;
        HWND field = ::GetDlgItem(dialog, 1001);
        if (field) {
            met.field = testing_support::WindowText(field);
            GUITHREADINFO info{};
            info.cbSize = sizeof info;
            ::GetGUIThreadInfo(::GetWindowThreadProcessId(dialog, nullptr), &info);
            met.fieldFocused = info.hwndFocus == field;
            DWORD from = 1, to = 0;
            ::SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
            met.wholeTextSelected = from == 0 && to == met.field.size();
            if (!answer.typed.empty())
                ::SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(answer.typed.c_str()));
        } else {
            met.field = testing_support::ReadMessageBox(dialog).text;
        }
        met_.push_back(met);
        ::SetForegroundWindow(dialog);
        testing_support::UserTypes(answer.key);
        answers_.pop_front();
        return true;
    }

    std::vector<Met> MetSoFar() {
        std::lock_guard lock(mutex_);
        return met_;
    }

    std::mutex mutex_;
    std::deque<::Answer> answers_;
    std::vector<Met> met_;
    testing_support::DialogWatcher watcher{[this](HWND dialog) { return Answer(dialog); }};
    app::Form1 form;
};

}  // namespace

TEST_F(LevelMenu, ItsItemsComeFromTheCommandTableAndNeedASelection) {
    HMENU bar = ::GetMenu(form.Waveform()->Handle());
    HMENU level = nullptr;
    for (int i = 0; i < ::GetMenuItemCount(bar); ++i) {
        wchar_t text[64] = {};
        ::GetMenuStringW(bar, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        if (std::wstring(text) == L"&Level") level = ::GetSubMenu(bar, i);
    }
    ASSERT_NE(level, nullptr);
    std::vector<std::wstring> items;
    for (int i = 0; i < ::GetMenuItemCount(level); ++i) {
        wchar_t text[64] = {};
        if (::GetMenuStringW(level, static_cast<UINT>(i), text, 64, MF_BYPOSITION) > 0) items.push_back(text);
    }
    EXPECT_EQ(items, (std::vector<std::wstring>{L"Fade &In...", L"Fade &Out...", L"Change &Level...", L"&Normalize",
                                                L"No Level &Change"}));

    auto greyed = [&] {
        ::SendMessageW(form.Waveform()->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(level), 2);
        return (::GetMenuState(level, app::kFadeIn, MF_BYCOMMAND) & MF_GRAYED) != 0;
    };
    form.clearsel();
    EXPECT_TRUE(greyed());
    Mark(0.5, 2.5);
    EXPECT_FALSE(greyed());
}

TEST_F(LevelMenu, DialogsSetTheSelectionsFadesAndLevelAndANewSelectionClearsThem) {
    Mark(0.5, 2.5);
    Run(app::kFadeIn, {{L"Fade In", L"0.5", VK_RETURN}});
    Run(app::kFadeOut, {{L"Fade Out", L"9", VK_ESCAPE}});
    Run(app::kFadeOut, {{L"Fade Out", L"", VK_RETURN}});  // the default taken as it stands
    const std::vector<Met> met = MetSoFar();
    ASSERT_EQ(met.size(), 3u);
    EXPECT_EQ(met[0].field, L"1");
    EXPECT_EQ(met[1].field, L"2");
    for (const Met& m : met) {
        EXPECT_TRUE(m.fieldFocused);
        EXPECT_TRUE(m.wholeTextSelected);
    }
    EXPECT_EQ(form.Levels().Change(), (media::LevelChange{0.5, 2, 0}));
    EXPECT_EQ(form.Levels().StatusText(), L"Fade in 0.5 s, fade out 2.0 s");

    // The 440 Hz tone at half of full scale lies in the selection (a little below it as
    // decoded): +12 dB would clip it by a little under 6 dB.
    Run(app::kChangeLevel, {{L"Change Level", L"12", VK_RETURN}, {L"Snipmill", L"", 'N'}});
    EXPECT_EQ(form.Levels().Steps(), 0);
    ASSERT_EQ(MetSoFar().size(), 5u);
    EXPECT_EQ(MetSoFar()[3].field, L"0");
    EXPECT_NE(MetSoFar()[4].field.find(L"would clip the selection's loudest sample by 5."), std::wstring::npos)
        << std::string(MetSoFar()[4].field.begin(), MetSoFar()[4].field.end());
    Run(app::kChangeLevel, {{L"Change Level", L"12", VK_RETURN}, {L"Snipmill", L"", 'Y'}});
    EXPECT_EQ(form.Levels().LevelDb(), 12);
    // A fall asks nothing.
    Run(app::kChangeLevel, {{L"Change Level", L"-4.5", VK_RETURN}});
    EXPECT_EQ(form.Levels().LevelDb(), -4.5);

    // Normalizing: as loud as can be without clipping, the tone's peak a little under half of full scale.
    Run(app::kNormalize, {});
    EXPECT_EQ(form.Levels().Steps(), 4);  // +6.0 dB; +7.5 would clip
    EXPECT_EQ(form.Levels().FadeIn(), 0.5);

    // Play Selection plays the changed frames and still pauses at the end.
    form.RunCommand(4);
    ASSERT_TRUE(PumpUntil([&] { return form.player().PlayState() == app::MediaPlayer::kPaused; }, 10000));
    EXPECT_NEAR(form.player().CurrentPosition(), 2.5, 0.01);

    Run(app::kNoLevelChange, {});
    EXPECT_TRUE(form.Levels().None());
    form.Levels().SetFadeIn(1);
    form.RunCommand(6);  // New Selection
    EXPECT_TRUE(form.Levels().None());
    Mark(0.5, 2.5);
    form.Levels().SetLevelDb(-6);
    form.OpenMp3(FixturePath(L"waveform\\tones.mp3"));
    EXPECT_TRUE(form.Levels().None());
}
