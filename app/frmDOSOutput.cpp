#include "app/frmDOSOutput.h"

#include <algorithm>
#include <utility>

#include "app/Artwork.h"
#include "app/OutputText.h"
#include "app/TemporaryOutput.h"
#include "base/MessageLoop.h"
#include "forms/Units.h"

namespace app {

namespace {

using forms::Bounds;
using forms::OleColor;

constexpr wchar_t kCaption[] = L"DOS Outputs";
constexpr wchar_t kWorking[] = L"Processing.Please wait....";
constexpr OleColor kBarColor = 11034163;  // red 51, green 94, blue 168
constexpr int kButtonStyle = 13;
// How many of the encoder's last lines a failure report quotes.
constexpr std::size_t kQuotedLines = 5;

}  // namespace

frmDOSOutput::frmDOSOutput() {
    CreateForm(L"Snipmill.frmDOSOutput", kCaption, kClientWidth, kClientHeight, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
               WS_EX_TOOLWINDOW);
    CreateControls();
    CenterOnScreen();

    readOutput1_.SetDirectStart(true);  // the encoder is started without an interpreter
    readOutput1_.Error.Subscribe([this](const std::wstring& d, std::int32_t& n) { ReadOutput1_Error(d, n); });
    readOutput1_.GotChunk.Subscribe([this](const std::wstring& c, bool last) { ReadOutput1_GotChunk(c, last); });
    readOutput1_.Complete.Subscribe([this] { ReadOutput1_Complete(); });
    readOutput1_.Starting.Subscribe([this] { ReadOutput1_Starting(); });
    readOutput1_.Canceled.Subscribe([this] { ReadOutput1_Canceled(); });
    giveUp_.Tick.Subscribe([this] {
        giveUp_.SetEnabled(false);
        if (readOutput1_.Processing()) readOutput1_.CancelProcess();
    });
}

frmDOSOutput::~frmDOSOutput() = default;

void frmDOSOutput::CreateControls() {
    decoration_.push_back(std::make_unique<forms::Image>(*this, L"Image1", Bounds(0, 0, kClientWidth, 217),
                                                         OutputBackgroundPicture(kClientWidth, 217)));
    label1_ = std::make_unique<forms::Label>(*this, L"Label1", Bounds(24, 24, 297, 33), kWorking,
                                             forms::Font::Create(L"Segoe UI", 14.25, true),
                                             forms::SystemColor(COLOR_HIGHLIGHT));
    label1_->Expose(ROLE_SYSTEM_STATICTEXT);

    forms::PropertyBag barProperties;
    barProperties.Write(L"BrushStyle", std::int32_t{0});
    barProperties.Write(L"Color", std::int32_t{kBarColor});
    barProperties.Write(L"Font", forms::Font::CreateDefault());  // "MS Sans Serif" 8.25 pt
    pb_ = std::make_unique<controls::XP_ProgressBar>(*this, L"pb", Bounds(24, 72, 481, 25), barProperties);

    zembutton1_ = std::make_unique<controls::zembutton>(*this, L"zembutton1", Bounds(208, 128, 105, 25));
    zembutton1_->SetCaption(L"Cancel");
    zembutton1_->SetButtonStyle(kButtonStyle);
    zembutton1_->SetFont(forms::Font::Create(L"Tahoma", 8.25));
    zembutton1_->SetBackColor(0);
    zembutton1_->Click.Subscribe([this] { zembutton1_Click(); });

    // Below the client area, out of sight: the fields the main window fills in and the working parts.
    const HWND window = Handle();
    text2_ = std::make_unique<forms::TextBox>(window, Bounds(24, 240, 97, 21), L"Text2", false);
    txtOutput_ = std::make_unique<forms::TextBox>(window, Bounds(24, 272, 481, 89), L"", false, true);
    text1_ = std::make_unique<forms::TextBox>(window, Bounds(24, 376, 353, 21), L"ping -n 4 www.example.com", true);
    command1_ = std::make_unique<forms::CommandButton>(*this, Bounds(392, 374, 113, 25), L"E&xecute", true);
    cmdCancel_ = std::make_unique<forms::CommandButton>(*this, Bounds(392, 406, 113, 25), L"&Cancel", true);
    cmdCancel_->Click.Subscribe([this] { cmdCancel_Click(); });
    txtCommand_ = std::make_unique<forms::TextBox>(window, Bounds(24, 408, 353, 21), L"", false);
    cmdExit_ = std::make_unique<forms::CommandButton>(*this, Bounds(392, 438, 113, 25), L"Exit", false);
    cmdExecute_ = std::make_unique<forms::CommandButton>(*this, Bounds(392, 470, 113, 25), L"Execute", false);
    lblInfo_ =
        std::make_unique<forms::Label>(*this, L"lblInfo", Bounds(24, 440, 353, 25), L"Command to get output from:",
                                       forms::Font::Create(L"Verdana", 12, true), forms::SystemColor(COLOR_WINDOWTEXT));
}

void frmDOSOutput::CenterOnScreen() {
    RECT frame{};
    ::GetWindowRect(Handle(), &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    ::SetWindowPos(Handle(), nullptr, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                   (::GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmDOSOutput::cmdExecute_Click() {
    TemporaryOutput* offered = std::exchange(offeredOutput_, nullptr);
    if (readOutput1_.Processing()) {  // refused with 1201; the running command keeps its own file
        readOutput1_.SetCommand(txtCommand_->Text());
        readOutput1_.ProcessCommand();
        return;
    }
    runOutput_ = offered;
    readOutput1_.SetCommand(txtCommand_->Text());
    readOutput1_.ProcessCommand();
    runOutput_ = nullptr;
}

void frmDOSOutput::RunPieces(const std::wstring& command, PiecesRun& run) {
    if (readOutput1_.Processing()) {  // the commands refuse a second save; this keeps the first one's run as it is
        run.failure = L"another save is running.";
        return;
    }
    pieces_ = &run;
    text2_->SetText(L"T");
    txtCommand_->SetText(command);
    ShowPiece(run.first);
    readOutput1_.SetCommand(command);
    readOutput1_.ProcessCommand();
    // A run that ended neither complete nor cancelled could not be run at all.
    if (run.placed < run.files.size() && !run.canceled && run.failure.empty())
        run.failure = L"the encoder could not be run.";
    for (std::size_t i = run.placed; i < run.files.size(); ++i) run.files[i]->Abandon();
    pieces_ = nullptr;
}

void frmDOSOutput::ShowPiece(std::size_t number) {
    const std::size_t total = pieces_->total;
    label1_->SetCaption(L"Piece " + std::to_wstring(std::min(number + 1, total)) + L" of " + std::to_wstring(total));
    pb_->SetValue(total ? static_cast<int>(number * 100 / total) : 0);
}

// Each piece is made exact and put in place in turn; the first that cannot be stops the rest.
void frmDOSOutput::PlacePieces() {
    PiecesRun& run = *pieces_;
    if (const std::optional<std::uint32_t> exitCode = readOutput1_.ExitCode(); !exitCode || *exitCode != 0) {
        run.failure = FailureOfRun();
        return;
    }
    for (TemporaryOutput* file : run.files) {
        if (std::wstring failure = file->PutInPlace(); !failure.empty()) {
            run.failure = std::move(failure);
            return;
        }
        ++run.placed;
        ShowPiece(run.first + run.placed);
        base::DoEvents();
        if (readOutput1_.CancelRequested()) {
            run.canceled = true;
            return;
        }
    }
}

void frmDOSOutput::FinishQuietly(UINT graceMs) {
    if (quiet_) return;
    quiet_ = true;
    giveUp_.SetInterval(graceMs);
    giveUp_.SetEnabled(true);
}

void frmDOSOutput::cmdCancel_Click() { readOutput1_.CancelProcess(); }

void frmDOSOutput::zembutton1_Click() {
    readOutput1_.CancelProcess();
    Hide();
}

void frmDOSOutput::ReadOutput1_Starting() {
    txtOutput_->SetText(L"");
    transcript_.clear();
    timer1_.SetEnabled(true);
    if (pieces_) return;
    // A window shown again for a new run starts over.
    label1_->SetCaption(kWorking);
    pb_->SetValue(0);
}

void frmDOSOutput::ReadOutput1_GotChunk(const std::wstring& chunk, bool) {
    txtOutput_->Append(ChunkText(chunk));
    transcript_ += chunk;
}

std::wstring frmDOSOutput::FailureOfRun() {
    const std::optional<std::uint32_t> exitCode = readOutput1_.ExitCode();
    if (!exitCode) return L"the encoder's exit code could not be read.";
    if (*exitCode != 0) return L"the encoder stopped with exit code " + std::to_wstring(*exitCode) + L".";
    return runOutput_ ? runOutput_->PutInPlace() : std::wstring();
}

void frmDOSOutput::ReadOutput1_Complete() {
    if (text2_->Text() == L"F") return;
    timer1_.SetEnabled(false);
    if (readOutput1_.CancelRequested()) return;  // the cancellation is reported next
    if (pieces_) {
        PlacePieces();
        return;
    }
    std::wstring failure = FailureOfRun();
    // Nothing is left behind by the time the failure is reported.
    if (!failure.empty() && runOutput_) runOutput_->Abandon();
    if (quiet_) {
        Hide();
        return;
    }
    if (failure.empty()) {
        pb_->SetValue(100);
        label1_->SetCaption(L"Task Completed.");
        const std::wstring notice = runOutput_ ? runOutput_->Notice() : std::wstring();
        base::ShowMessage(Handle(), notice.empty() ? L"MP3 has been cut!" : L"MP3 has been cut!\r\n\r\n" + notice,
                          MB_OK | (notice.empty() ? MB_ICONINFORMATION : MB_ICONWARNING), L"Success!");
    } else {
        std::wstring text = L"The cut failed: " + failure;
        std::wstring lines = LastLines(transcript_, kQuotedLines);
        if (!lines.empty()) text += L"\r\n\r\nThe encoder's last output:\r\n" + lines;
        base::ShowMessage(Handle(), text, MB_OK | MB_ICONERROR, L"Error");
    }
    Hide();
}

void frmDOSOutput::ReadOutput1_Error(const std::wstring& description, std::int32_t& number) {
    if (pieces_ && pieces_->failure.empty()) pieces_->failure = description;
    if (quiet_ || pieces_) return;
    base::ShowMessage(Handle(),
                      L"Error!\r\nDescription: " + description + L"\r\nLastDLLError: " + std::to_wstring(number),
                      MB_OK | MB_ICONERROR, L"Error");
}

void frmDOSOutput::ReadOutput1_Canceled() {
    if (pieces_) {
        pieces_->canceled = true;
        return;
    }
    if (runOutput_) runOutput_->Abandon();
    if (!quiet_) base::ShowMessage(Handle(), L"Success! Process was canceled!", MB_OK);
    txtOutput_->SetText(L"");
}

LRESULT frmDOSOutput::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        // Closing the window is cancelling: the window itself stays, since a run may be on the stack.
        if (readOutput1_.Processing()) readOutput1_.CancelProcess();
        Hide();
        return 0;
    }
    return Form::HandleMessage(message, wParam, lParam);
}

}  // namespace app
