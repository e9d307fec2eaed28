#pragma once
// The main window: the time read-outs, the slider, the command buttons and the
// timers that keep the display in step with playback.
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "app/components/CommonDialog.h"
#include "app/components/MediaPlayer.h"
#include "app/components/Slider.h"
#include "app/LevelSettings.h"
#include "app/Marks.h"
#include "app/SplitPoints.h"
#include "app/UserSettings.h"
#include "app/waveform/WaveformWindow.h"
#include "app/frmDOSOutput.h"
#include "base/Handles.h"
#include "controls/imagebutton/zembutton.h"
#include "controls/themedbutton/ThemedButton.h"
#include "forms/Form.h"
#include "forms/TextBox.h"
#include "forms/Timer.h"
#include "forms/Windowless.h"

namespace app {

class Form1 : public forms::Form {
public:
    static constexpr int kClientWidth = 494;
    static constexpr int kClientHeight = 517;
    static constexpr int kTimerInterval = 100;

    // The user's remembered settings are kept under `settings` (tests give a key of their own).
    explicit Form1(UserSettings settings = UserSettings());
    ~Form1() override;

    // Clears the selection, and its fades and level.
    void clearsel();

    // The selection's fades and level; after changing them, LevelsChanged().
    LevelSettings& Levels() { return levels_; }
    void LevelsChanged();
    // The selection's samples as the save cuts them, once a start and a length are set.
    std::optional<media::SampleRange> SelectionSamples() const;
    // The plan that makes them, for the selection as the save cuts it; null
    // when none is set or there is no selection.
    std::shared_ptr<const media::GainPlan> SelectionGains() const;

    // Opens a file named on the command line or dropped on the window as if it
    // had been chosen with "Select MP3", if that button is usable now.
    void OpenMp3(const std::wstring& path);

    // Marks placed other than at the playhead (by the fine-marking keys or the
    // waveform), written as Set Start and Set End write them, with the length
    // kept to the end mark. A start after the end, or an end before the start, is
    // refused with Set End's message, shown over `asker` (this window by default);
    // false then.
    bool MoveStart(double seconds, HWND asker = nullptr);
    bool MoveEnd(double seconds, HWND asker = nullptr);
    // The marks as the read-outs show them.
    Marks CurrentMarks();

    // Where the loaded file is split into pieces.
    SplitPoints& Splits() { return splits_; }
    // Sets the start and end marks to a piece's bounds, as Set Start and Set End write them.
    void SelectPiece(std::size_t piece);

    // Ends the program once the save that Exit waited for is over.
    void ExitIfAskedDuringSave();
    // While a save runs, another is refused: says so over `owner` and returns true.
    bool RefuseWhileSaving(HWND owner);

    // Runs a shortcut's command (a button's only while it is enabled), from
    // this window or the waveform window.
    void RunCommand(WORD command);

    // Shows the waveform window, once a file is loaded.
    void ShowWaveform();
    // The waveform window, or nullptr before it was first shown.
    WaveformWindow* Waveform() { return waveform_.get(); }

    const UserSettings& Settings() const noexcept { return settings_; }
    // Where the window's controls and labels are on the screen, that no other window should hide.
    std::vector<RECT> ControlAreas() const;

    // The window's parts, by their names.
    forms::Label& Label(int number) { return *labels_.at(static_cast<std::size_t>(number - 1)); }
    controls::zembutton& zembutton(int number) { return *buttons_.at(static_cast<std::size_t>(number - 1)); }
    Slider& Slider1() { return *slider_; }
    MediaPlayer& player() { return player_; }
    CommonDialog& cdb() { return cdb_; }
    forms::TextBox& Text1() { return *text1_; }
    forms::Timer& Timer1() { return timer1_; }
    forms::Timer& Timer2() { return timer2_; }
    forms::Timer& Timer3() { return timer3_; }
    controls::ThemedButton& ThemedButton1() { return *themedButton1_; }
    controls::ThemedButton& ThemedButton5() { return *themedButton5_; }
    // The output window of the save command, created on first use.
    frmDOSOutput& DOSOutput();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnShortcut(WORD command) override;
    bool ShortcutRepeats(WORD command) const override;

private:
    void CreateControls();
    void MakeAccessible();
    void Form_Load();
    void SelectMp3();
    void StopForAnotherFile();
    void LoadMp3(const std::wstring& path, const std::wstring& title);
    void SetStart();
    void WriteStart(double seconds);
    void SetEnd();
    void MarksChanged();
    void PlaySelection();
    void PausePlay();
    void Exit();
    // Removes what saves left behind and ends the process at once.
    [[noreturn]] void EndProgram();
    void EnableButtons(std::initializer_list<int> numbers);
    void Slider1_Scroll();
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void zembutton5_Click();
    void OpenMakerPage(std::wstring_view pathAndQuery);

    UserSettings settings_;
    base::IconHandle bigIcon_;
    base::IconHandle smallIcon_;
    MediaPlayer player_;
    CommonDialog cdb_{nullptr};
    forms::Timer timer1_{kTimerInterval, true};
    forms::Timer timer2_{kTimerInterval, true};
    forms::Timer timer3_{kTimerInterval, false};

    std::vector<std::unique_ptr<forms::WindowlessElement>> decoration_;
    std::array<std::unique_ptr<forms::Label>, 11> labels_;
    std::array<std::unique_ptr<controls::zembutton>, 11> buttons_;
    std::unique_ptr<Slider> slider_;
    std::unique_ptr<forms::TextBox> text1_;
    std::unique_ptr<controls::ThemedButton> themedButton1_;
    std::unique_ptr<controls::ThemedButton> themedButton5_;
    std::unique_ptr<frmDOSOutput> dosOutput_;
    SplitPoints splits_;
    std::unique_ptr<WaveformWindow> waveform_;
    LevelSettings levels_;
    bool exitAfterSave_ = false;
};

}  // namespace app
