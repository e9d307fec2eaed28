#pragma once
// The window shown while a selection is being saved: it runs the encoder
// command through its process runner, collects what the encoder prints and
// reports the outcome. Created once, then only hidden and shown again.
#include <memory>
#include <string>
#include <vector>

#include "controls/imagebutton/zembutton.h"
#include "controls/progress/XP_ProgressBar.h"
#include "forms/CommandButton.h"
#include "forms/Form.h"
#include "forms/TextBox.h"
#include "forms/Timer.h"
#include "forms/Windowless.h"
#include "runner/ReadOutput.h"

namespace app {

class TemporaryOutput;

// One run of the encoder that writes several pieces of a file, each into its own
// temporary file; the window puts them in place, in order, once the run is done.
struct PiecesRun {
    std::vector<TemporaryOutput*> files;
    std::size_t first = 0;  // the number of the run's first piece, from 0
    std::size_t total = 0;  // pieces in the whole save
    // What became of them: how many were put in place, and why the rest were not.
    std::size_t placed = 0;
    bool canceled = false;
    std::wstring failure;  // empty when every piece was put in place or the run was cancelled
};

class frmDOSOutput : public forms::Form {
public:
    static constexpr int kClientWidth = 515;
    static constexpr int kClientHeight = 219;

    frmDOSOutput();
    ~frmDOSOutput() override;

    // Runs the command in txtCommand; returns when the run is over.
    void cmdExecute_Click();

    // The file the next run writes: checked and put in place when the run
    // succeeds, abandoned when it fails or is cancelled. Taken by the next
    // cmdExecute_Click that starts a run.
    void SetOutputFile(TemporaryOutput* output) noexcept { offeredOutput_ = output; }

    // Runs `command`, which writes the run's pieces, saying which piece is being
    // saved and filling the bar with the pieces done; returns when the run is
    // over. Reports nothing itself: the caller tells how the whole save went.
    void RunPieces(const std::wstring& command, PiecesRun& run);

    // For a program that is ending: the run in progress finishes without a
    // word (its file checked and put in place) if it can within `graceMs`,
    // and is cancelled otherwise. The window reports nothing from then on.
    void FinishQuietly(UINT graceMs);
    bool EndingQuietly() const noexcept { return quiet_; }

    // The window's parts, by their names.
    forms::Label& Label1() { return *label1_; }
    controls::XP_ProgressBar& pb() { return *pb_; }
    controls::zembutton& zembutton1() { return *zembutton1_; }
    forms::TextBox& Text2() { return *text2_; }
    forms::TextBox& txtOutput() { return *txtOutput_; }
    forms::TextBox& Text1() { return *text1_; }
    forms::CommandButton& Command1() { return *command1_; }
    forms::CommandButton& cmdCancel() { return *cmdCancel_; }
    forms::Timer& Timer1() { return timer1_; }
    forms::TextBox& txtCommand() { return *txtCommand_; }
    forms::CommandButton& cmdExit() { return *cmdExit_; }
    forms::CommandButton& cmdExecute() { return *cmdExecute_; }
    runner::ReadOutput& ReadOutput1() { return readOutput1_; }
    forms::Label& lblInfo() { return *lblInfo_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateControls();
    void CenterOnScreen();
    void cmdCancel_Click();
    void zembutton1_Click();
    void ReadOutput1_Starting();
    void ReadOutput1_GotChunk(const std::wstring& chunk, bool lastChunk);
    void ReadOutput1_Complete();
    void ReadOutput1_Error(const std::wstring& description, std::int32_t& number);
    void ReadOutput1_Canceled();
    // Why the finished run did not give a good file, or empty when it did.
    std::wstring FailureOfRun();
    void ShowPiece(std::size_t number);
    void PlacePieces();

    runner::ReadOutput readOutput1_;
    forms::Timer timer1_{1000, true};
    forms::Timer giveUp_{1, false};  // ends a quiet run that takes too long
    std::vector<std::unique_ptr<forms::WindowlessElement>> decoration_;
    std::unique_ptr<forms::Label> label1_;
    std::unique_ptr<controls::XP_ProgressBar> pb_;
    std::unique_ptr<controls::zembutton> zembutton1_;
    std::unique_ptr<forms::TextBox> text2_;
    std::unique_ptr<forms::TextBox> txtOutput_;
    std::unique_ptr<forms::TextBox> text1_;
    std::unique_ptr<forms::CommandButton> command1_;
    std::unique_ptr<forms::CommandButton> cmdCancel_;
    std::unique_ptr<forms::TextBox> txtCommand_;
    std::unique_ptr<forms::CommandButton> cmdExit_;
    std::unique_ptr<forms::CommandButton> cmdExecute_;
    std::unique_ptr<forms::Label> lblInfo_;

    std::wstring transcript_;  // the run's output as it came, for a failure report
    TemporaryOutput* offeredOutput_ = nullptr;
    TemporaryOutput* runOutput_ = nullptr;  // the file the run in progress writes
    PiecesRun* pieces_ = nullptr;           // or the pieces it writes
    bool quiet_ = false;
};

}  // namespace app
