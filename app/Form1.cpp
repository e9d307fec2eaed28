#include "app/Form1.h"

#include <shellapi.h>

#include <cmath>
#include <utility>

#include "app/Artwork.h"
#include "app/FineMarks.h"
#include "app/MakerSite.h"
#include "app/OpenRequests.h"
#include "app/SaveSelection.h"
#include "app/Shortcuts.h"
#include "app/TemporaryOutput.h"
#include "app/TimeText.h"
#include "app/modCloseBtn.h"
#include "Version.h"  // generated from the project's version
#include "base/MessageLoop.h"
#include "base/Rounding.h"
#include "forms/Focus.h"
#include "media/Media.h"
#include "forms/Units.h"

namespace app {

namespace {

using forms::Bounds;
using forms::OleColor;
using forms::SystemColor;

constexpr wchar_t kCaption[] = L"Tavrin Snipmill";
constexpr wchar_t kLabelFace[] = L"@Kozuka Gothic Pro M";
constexpr wchar_t kMp3Filter[] = L"Audio Files (*.mp3)|*.mp3";
constexpr OleColor kButtonBackColor = 0xFFD1AD;
constexpr int kSquareBands = 8;
// How long Exit waits for a save in progress before giving it up.
constexpr UINT kExitGraceMs = 10000;
// The system menu's item that shows the waveform (the system keeps the low four bits).
constexpr UINT kWaveformMenuId = 0x1000;
// The playing position is announced to screen readers no more often than this.
constexpr DWORD kPositionAnnounceMs = 1000;
constexpr wchar_t kEndBeforeStart[] = L"The end point must be greater than the start point !";

struct LabelLayout {
    int number;
    RECT bounds;
    const wchar_t* caption;
    double points;
    bool underline;
    OleColor color;
    bool autoSize;
};

struct ButtonLayout {
    int number;
    RECT bounds;
    const wchar_t* caption;
};

const ButtonLayout kButtons[] = {
    {9, Bounds(152, 104, 97, 25), L"Home"},
    {10, Bounds(256, 104, 97, 25), L"Help"},
    {11, Bounds(360, 104, 97, 25), L"Check for updates"},
    {1, Bounds(40, 264, 97, 25), L"Select MP3"},
    {3, Bounds(144, 264, 97, 25), L"Set End"},
    {5, Bounds(248, 264, 97, 25), L"Save Selection"},
    {7, Bounds(352, 264, 97, 25), L"Pause/Play"},
    {2, Bounds(40, 296, 97, 25), L"Set Start"},
    {4, Bounds(144, 296, 97, 25), L"Play Selection"},
    {6, Bounds(248, 296, 97, 25), L"New Selection"},
    {8, Bounds(352, 296, 97, 25), L"Exit"},
};

}  // namespace

Form1::Form1(UserSettings settings) : settings_(std::move(settings)) {
    bigIcon_ = ProgramIcon(32);
    smallIcon_ = ProgramIcon(16);
    CreateForm(L"Snipmill.Form1", kCaption, kClientWidth, kClientHeight,
               WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, nullptr, bigIcon_.Get(), smallIcon_.Get());
    cdb_ = CommonDialog(Handle());
    ::DragAcceptFiles(Handle(), TRUE);
    CreateControls();
    timer1_.Tick.Subscribe([this] { Timer1_Timer(); });
    timer2_.Tick.Subscribe([this] { Timer2_Timer(); });
    timer3_.Tick.Subscribe([this] { Timer3_Timer(); });
    Form_Load();
}

Form1::~Form1() = default;

std::vector<RECT> Form1::ControlAreas() const {
    std::vector<RECT> areas;
    for (HWND child = ::GetWindow(Handle(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT area{};
        if (::IsWindowVisible(child) && !forms::OutOfView(child) && ::GetWindowRect(child, &area))
            areas.push_back(area);
    }
    for (const auto& label : labels_) {
        if (!label->Visible() || label->Caption().empty()) continue;
        RECT area = label->Bounds();
        ::MapWindowPoints(Handle(), nullptr, reinterpret_cast<POINT*>(&area), 2);
        areas.push_back(area);
    }
    return areas;
}

void Form1::CreateControls() {
    const OleColor highlight = SystemColor(COLOR_HIGHLIGHT);
    const OleColor activeCaption = SystemColor(COLOR_ACTIVECAPTION);
    HCURSOR hand = ::LoadCursorW(nullptr, IDC_HAND);

    // Back to front: the background twice, the logo, then the frames.
    auto background = BackgroundPicture(672, 616);
    decoration_.push_back(std::make_unique<forms::Image>(*this, L"Image1", Bounds(-8, 0, 672, 616), background));
    decoration_.push_back(std::make_unique<forms::Image>(*this, L"Image4", Bounds(-16, -8, 672, 616), background));
    decoration_.push_back(std::make_unique<forms::Image>(*this, L"Image3", Bounds(24, 24, 111, 111), LogoPicture(111)));
    decoration_.push_back(
        std::make_unique<forms::Frame>(*this, L"Shape1", Bounds(16, 168, 465, 65), SystemColor(COLOR_BTNSHADOW)));
    decoration_.push_back(std::make_unique<forms::Frame>(*this, L"Shape4", Bounds(40, 184, 409, 33), highlight));
    decoration_.push_back(
        std::make_unique<forms::Frame>(*this, L"Shape3", Bounds(16, 256, 465, 73), SystemColor(COLOR_BTNSHADOW)));
    decoration_.push_back(
        std::make_unique<forms::Frame>(*this, L"Shape2", Bounds(16, 352, 465, 73), SystemColor(COLOR_BTNSHADOW)));

    const std::wstring makerHost = MakerHost();
    const LabelLayout labels[] = {
        {1, Bounds(144, 40, 281, 41), L"Tavrin Snipmill 1.1", 18, false, highlight, false},
        // The captions and links fit their text: the face that stands in for the named one is wider.
        {10, Bounds(256, 72, 169, 17), makerHost.c_str(), 9.75, false, highlight, true},
        {3, Bounds(64, 368, 89, 17), L"Current Position", 8.25, false, activeCaption, true},
        {2, Bounds(168, 368, 97, 17), kTimeNotSet.data(), 8.25, false, activeCaption, false},
        {6, Bounds(256, 368, 89, 17), L"End Point", 8.25, false, activeCaption, true},
        {7, Bounds(360, 368, 97, 17), kTimeNotSet.data(), 8.25, false, activeCaption, false},
        {4, Bounds(64, 392, 89, 17), L"Start Point", 8.25, false, activeCaption, true},
        {5, Bounds(168, 392, 97, 17), kTimeNotSet.data(), 8.25, false, activeCaption, false},
        {8, Bounds(256, 392, 89, 17), L"Duration", 8.25, false, activeCaption, true},
        {9, Bounds(360, 392, 97, 17), kTimeNotSet.data(), 8.25, false, activeCaption, false},
        {11, Bounds(136, 456, 201, 17), L"Click here to download free software.", 8.25, true, activeCaption, true},
    };
    for (const LabelLayout& l : labels) {
        auto font = forms::Font::Create(kLabelFace, l.points, true, false, l.underline);
        labels_[static_cast<std::size_t>(l.number - 1)] = std::make_unique<forms::Label>(
            *this, L"Label" + std::to_wstring(l.number), l.bounds, l.caption, std::move(font), l.color);
        Label(l.number).SetAutoSize(l.autoSize);
    }
    for (int link : {1, 10, 11}) Label(link).SetCursor(hand);

    slider_ = std::make_unique<app::Slider>(*this, Bounds(41, 186, 407, 30));
    slider_->Scroll.Subscribe([this] { Slider1_Scroll(); });

    for (const ButtonLayout& b : kButtons) {
        auto button = std::make_unique<controls::zembutton>(*this, L"zembutton" + std::to_wstring(b.number), b.bounds);
        button->SetButtonStyle(kSquareBands);
        button->SetBackColor(kButtonBackColor);
        button->SetFont(forms::Font::CreateDefault());
        button->SetPicturePushOnHover(true);
        button->SetCaptionEffects(0);
        button->SetShowFocusRect(true);  // Tab must show where it went
        button->SetCaption(b.caption);
        buttons_[static_cast<std::size_t>(b.number - 1)] = std::move(button);
    }
    for (int link : {9, 10, 11}) zembutton(link).SetMouseIcon(hand);
    for (const ButtonLayout& b : kButtons) {
        const std::wstring tip = ToolTipWithShortcuts(b.caption, b.number, MainWindowShortcuts());
        if (!tip.empty()) zembutton(b.number).SetToolTip(tip);
    }
    SetShortcuts(AcceleratorTable(MainWindowShortcuts()));
    zembutton(1).Click.Subscribe([this] { SelectMp3(); });
    zembutton(2).Click.Subscribe([this] { SetStart(); });
    zembutton(3).Click.Subscribe([this] { SetEnd(); });
    zembutton(4).Click.Subscribe([this] { PlaySelection(); });
    zembutton(5).Click.Subscribe([this] { zembutton5_Click(); });
    zembutton(6).Click.Subscribe([this] { clearsel(); });
    zembutton(7).Click.Subscribe([this] { PausePlay(); });
    zembutton(8).Click.Subscribe([this] { Exit(); });

    // Holds the loaded file's path; never shown.
    text1_ = std::make_unique<forms::TextBox>(Handle(), Bounds(kClientWidth + 40, 0, 100, 20), L"Text1", false);

    // The links go through the hidden themed button's OpenLink; its twin has no role.
    themedButton1_ = std::make_unique<controls::ThemedButton>(*this, L"ThemedButton1", Bounds(16, 480, 97, 25), false);
    themedButton1_->SetCaption(L"ThemedButton");
    themedButton1_->SetFont(forms::Font::Create(L"Verdana", 8.25));
    themedButton5_ =
        std::make_unique<controls::ThemedButton>(*this, L"ThemedButton5", Bounds(16, kClientHeight + 8, 97, 25));
    themedButton5_->SetCaption(L"ThemedButton");
    zembutton(9).Click.Subscribe([this] { OpenMakerPage({}); });
    for (int link : {1, 10, 11}) Label(link).Click.Subscribe([this] { OpenMakerPage({}); });
    zembutton(10).Click.Subscribe([this] { OpenMakerPage(L"/?q=node/8"); });
    zembutton(11).Click.Subscribe([this] { OpenMakerPage(L"/checkupdates.php?name=SNPML&ver=" SNIPMILL_VERSION); });
    MakeAccessible();
}

// Tab goes through the commands row by row, the slider, then what leads to the
// maker's site: its buttons and the drawn links. Screen readers read the drawn
// read-outs, named by the captions beside them, and the links.
void Form1::MakeAccessible() {
    auto button = [this](int number) { return zembutton(number).Handle(); };
    SetTabOrder({button(1), button(3), button(5), button(7), button(2), button(4), button(6), button(8),
                 slider_->Handle(), button(9), button(10), button(11)});
    for (int link : {1, 10, 11}) {
        Label(link).SetTabStop(true);
        Label(link).Expose(ROLE_SYSTEM_LINK);
    }
    const std::pair<int, int> readOuts[] = {{2, 3}, {5, 4}, {7, 6}, {9, 8}};  // value, caption
    for (auto [value, caption] : readOuts) Label(value).Expose(ROLE_SYSTEM_STATICTEXT, Label(caption).Caption());
    Label(2).SetAnnounceInterval(kPositionAnnounceMs);
}

void Form1::Form_Load() {
    SwitchCloseCommand(Handle(), false);
    HMENU system = ::GetSystemMenu(Handle(), FALSE);
    ::AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(system, MF_STRING | MF_GRAYED, kWaveformMenuId, L"Waveform\tW");
    for (int number : {2, 3, 4, 5, 6, 7}) zembutton(number).SetEnabled(false);
}

void Form1::EnableButtons(std::initializer_list<int> numbers) {
    for (int number : numbers) zembutton(number).SetEnabled(true);
}

void Form1::SelectMp3() {
    StopForAnotherFile();
    cdb_.SetFilter(kMp3Filter);
    cdb_.ShowOpen();
    const std::wstring path = cdb_.FileName();
    if (path.empty()) return;
    LoadMp3(path, cdb_.FileTitle());
}

void Form1::OpenMp3(const std::wstring& path) {
    if (!zembutton(1).Enabled() || path.empty()) return;
    StopForAnotherFile();
    LoadMp3(path, CommonDialog::TitleOf(path));
}

void Form1::StopForAnotherFile() {
    slider_->ClearSel();
    if (player_.PlayState() == MediaPlayer::kPlaying) player_.Stop();
}

void Form1::LoadMp3(const std::wstring& path, const std::wstring& title) {
    if (!player_.SetURL(path)) {
        base::ShowMessage(Handle(), L"Snipmill cannot open the file\r\n" + path + L"\r\n\r\n" + player_.ErrorText(),
                          MB_ICONERROR);
        return;
    }
    // The player opens and starts the file while the message is up.
    base::ShowMessage(Handle(), L"Playing the file " + player_.CurrentMedia().name, MB_ICONINFORMATION);
    if (!player_.Notice().empty()) base::ShowMessage(Handle(), player_.Notice(), MB_ICONWARNING);
    player_.Play();
    levels_.Clear();
    slider_->SetMin(-1);
    slider_->SetMax(base::RoundToInt(player_.CurrentMedia().duration));
    slider_->SetTickFrequency(20);
    EnableButtons({2, 7});
    text1_->SetText(path);
    Label(11).SetCaption(L"Loaded " + title);
    ::EnableMenuItem(::GetSystemMenu(Handle(), FALSE), kWaveformMenuId, MF_BYCOMMAND | MF_ENABLED);
    splits_.Reset(player_.Index() ? player_.Index()->PlayableSampleCount() : 0);
    if (waveform_) waveform_->ShowFile(player_.URL(), player_.Index());
}

void Form1::SetStart() {
    WriteStart(player_.CurrentPosition());
    MarksChanged();
}

void Form1::WriteStart(double seconds) {
    Label(5).SetCaption(FormatSeconds(seconds));
    EnableButtons({3});
    slider_->SetSelStart(base::RoundToInt(ParseSeconds(Label(5).Caption())));
}

Marks Form1::CurrentMarks() {
    auto read = [this](int label) -> std::optional<double> {
        const std::wstring text = Label(label).Caption();
        if (!IsTimeSet(text)) return std::nullopt;
        return ParseSeconds(text);
    };
    return {read(5), read(7), read(9), player_.CurrentMedia().duration};
}

bool Form1::MoveStart(double seconds, HWND asker) {
    const Marks marks = CurrentMarks();
    if (marks.RefusesStart(seconds)) {
        base::ShowMessage(asker ? asker : Handle(), kEndBeforeStart, MB_ICONERROR);
        return false;
    }
    WriteStart(seconds);
    // The save cuts the length from the start: the length is written again from the end mark, which stays.
    if (marks.end) return MoveEnd(*marks.end, asker);
    MarksChanged();
    return true;
}

void Form1::SetEnd() { MoveEnd(player_.CurrentPosition()); }

bool Form1::MoveEnd(double seconds, HWND asker) {
    if (CurrentMarks().RefusesEnd(seconds)) {
        base::ShowMessage(asker ? asker : Handle(), kEndBeforeStart, MB_ICONERROR);
        return false;
    }
    Label(7).SetCaption(FormatSeconds(seconds));
    Label(9).SetCaption(FormatSeconds(ParseSeconds(Label(7).Caption()) - ParseSeconds(Label(5).Caption())));
    EnableButtons({3, 4, 5, 6});
    slider_->SetSelLength(base::RoundToInt(ParseSeconds(Label(9).Caption())));
    MarksChanged();
    return true;
}

void Form1::SelectPiece(std::size_t piece) {
    if (piece >= splits_.Pieces() || player_.URL().empty()) return;
    const double rate = player_.Index()->format.sampleRate;
    WriteStart(static_cast<double>(splits_.PieceFirst(piece)) / rate);
    MoveEnd(static_cast<double>(splits_.PieceEnd(piece)) / rate);
}

void Form1::MarksChanged() {
    if (waveform_) waveform_->MarksChanged();
}

void Form1::LevelsChanged() { MarksChanged(); }

std::optional<media::SampleRange> Form1::SelectionSamples() const {
    const std::shared_ptr<const media::Mp3Index> index = player_.Index();
    const std::wstring start = labels_[5 - 1]->Caption();
    const std::wstring length = labels_[9 - 1]->Caption();
    if (!index || !IsTimeSet(start) || !IsTimeSet(length)) return std::nullopt;
    return media::SelectionSamples(ParseSeconds(start), ParseSeconds(length), index->format.sampleRate);
}

std::shared_ptr<const media::GainPlan> Form1::SelectionGains() const {
    const std::optional<media::SampleRange> range = SelectionSamples();
    if (levels_.None() || !range) return nullptr;
    return std::make_shared<const media::GainPlan>(levels_.Change(), *range, player_.Index()->format.sampleRate);
}

void Form1::PlaySelection() {
    const double end = ParseSeconds(Label(7).Caption());
    const double start = ParseSeconds(Label(5).Caption());
    if (end < start) {
        base::ShowMessage(Handle(), L"End point must be greater than the start point", MB_ICONERROR);
        return;
    }
    if (player_.PlayState() == MediaPlayer::kPlaying) player_.Stop();
    if (auto gains = SelectionGains()) {
        // Heard as it will be saved: the player pauses at the end by itself.
        player_.PlayRange(start, end, std::move(gains));
    } else {
        player_.SetCurrentPosition(start);
        player_.Play();
    }
    timer3_.SetEnabled(true);
}

void Form1::PausePlay() {
    const int state = player_.PlayState();
    player_.SetCurrentPosition(slider_->Value());
    if (state == MediaPlayer::kPlaying)
        player_.Pause();
    else
        player_.Play();
}

void Form1::Exit() {
    // A save in progress ends first, so that its temporary file is checked and
    // moved into place, or removed, rather than left behind half written.
    if (dosOutput_ && dosOutput_->ReadOutput1().Processing()) {
        exitAfterSave_ = true;
        dosOutput_->FinishQuietly(kExitGraceMs);
        return;
    }
    EndProgram();
}

void Form1::EndProgram() {
    TemporaryOutput::RemoveLeftovers();
    // No window is closed one by one.
    ::ExitProcess(0);
}

void Form1::clearsel() {
    slider_->ClearSel();
    for (int number : {5, 7, 9}) Label(number).SetCaption(std::wstring(kTimeNotSet));
    levels_.Clear();
    MarksChanged();
}

void Form1::zembutton5_Click() {
    SaveSelection(*this);
    ExitIfAskedDuringSave();
}

// The outermost save ends the program if Exit came meanwhile.
void Form1::ExitIfAskedDuringSave() {
    if (exitAfterSave_ && !DOSOutput().ReadOutput1().Processing()) EndProgram();
}

bool Form1::RefuseWhileSaving(HWND owner) {
    if (!dosOutput_ || !dosOutput_->ReadOutput1().Processing()) return false;
    base::ShowMessage(owner, L"A save is running. Please wait until it has finished, or cancel it.",
                      MB_OK | MB_ICONINFORMATION);
    return true;
}

// Nothing is reported when the address cannot be opened.
void Form1::OpenMakerPage(std::wstring_view pathAndQuery) { themedButton1_->OpenLink(MakerAddress(pathAndQuery)); }

frmDOSOutput& Form1::DOSOutput() {
    if (!dosOutput_) dosOutput_ = std::make_unique<frmDOSOutput>();
    return *dosOutput_;
}

void Form1::Slider1_Scroll() { player_.SetCurrentPosition(slider_->Value()); }

void Form1::Timer1_Timer() {
    double position = player_.CurrentPosition();
    if (position != -1) Label(2).SetCaption(FormatSeconds(position));
}

void Form1::Timer2_Timer() { slider_->SetValue(base::RoundToInt(player_.CurrentPosition())); }

void Form1::Timer3_Timer() {
    double end = ParseSeconds(Label(7).Caption());
    double current = ParseSeconds(Label(2).Caption());
    if (end <= current && player_.PlayState() == MediaPlayer::kPlaying) {
        player_.Pause();
        timer3_.SetEnabled(false);
    }
}

void Form1::ShowWaveform() {
    if (player_.URL().empty()) return;
    if (!waveform_) {
        waveform_ = std::make_unique<WaveformWindow>(*this);
        waveform_->ShowFile(player_.URL(), player_.Index());
    }
    waveform_->Show(::IsIconic(waveform_->Handle()) ? SW_RESTORE : SW_SHOW);
    ::SetForegroundWindow(waveform_->Handle());
}

// A shortcut runs its button's command only when the button could be clicked,
// and the fine-marking commands only once a file is loaded.
void Form1::RunCommand(WORD command) {
    if (command == kShowWaveform) {
        ShowWaveform();
    } else if (command == kSplitHere) {
        if (const auto index = player_.Index(); index && !player_.URL().empty())
            splits_.Add(static_cast<std::uint64_t>(std::llround(player_.CurrentPosition() * index->format.sampleRate)));
    } else if (command >= kShowWaveform) {
        if (!player_.URL().empty()) RunMarkCommand(*this, static_cast<MarkCommand>(command));
    } else if (controls::zembutton& button = zembutton(command); button.Enabled()) {
        button.OnAccessKey(L'\0');
    }
}

void Form1::OnShortcut(WORD command) { RunCommand(command); }

bool Form1::ShortcutRepeats(WORD command) const { return RepeatsWhileHeld(command); }

LRESULT Form1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        return 0;  // the Close command is switched off: Exit is the way out
    case WM_DROPFILES:
        OpenMp3(FirstDroppedFile(reinterpret_cast<HDROP>(wParam)));
        return 0;
    case WM_ENABLE:
        // A dialog or message box of this window holds the waveform window too:
        // no mark may move under a save or a second box open over the first.
        if (waveform_) ::EnableWindow(waveform_->Handle(), static_cast<BOOL>(wParam));
        return Form::HandleMessage(message, wParam, lParam);
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == kWaveformMenuId) {
            ShowWaveform();
            return 0;
        }
        return Form::HandleMessage(message, wParam, lParam);
    default:
        return Form::HandleMessage(message, wParam, lParam);
    }
}

}  // namespace app
