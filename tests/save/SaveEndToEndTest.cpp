// Saving a selection as a user does: the main window, its "Save Selection"
// button, the save dialog, the output window and the real encoder beside the
// program; the written file is measured with the host's own tools.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <memory>

#include "SaveFixtures.h"
#include "UserActions.h"
#include "app/AudioCheck.h"
#include "app/Files.h"
#include "app/Form1.h"
#include "app/SaveSelection.h"
#include "app/TimeText.h"
#include "app/frmDOSOutput.h"
#include "base/Handles.h"
#include "base/SystemErrorText.h"
#include "support/DialogWatcher.h"
#include "support/WindowTesting.h"

namespace {

using save_tests::Fixture;
using save_tests::HostPath;
using save_tests::Probe;
using save_tests::ReadAll;
using save_tests::RunOnHost;
using save_tests::ScratchFolder;
using testing_support::DialogWatcher;
using testing_support::MessageBoxSeen;

constexpr double kFrame = 1152.0 / 44100;  // one MP3 frame at 44.1 kHz
constexpr wchar_t kSource[] = L"save-beeps.mp3";
constexpr wchar_t kTitle[] = L"Snipmill test beeps";

const Probe& SourceProbe() {
    static const Probe probe = save_tests::ProbeFile(Fixture(kSource));
    return probe;
}

std::vector<std::wstring> LeftoverTemporaryFiles(const ScratchFolder& folder) {
    std::vector<std::wstring> left;
    for (const auto& name : folder.Files())
        if (name.rfind(L"~snipmill-", 0) == 0) left.push_back(name);
    return left;
}

// Encoders this process started that are still running.
int RunningEncoders() {
    const auto children = testing_support::LiveChildrenOf(::GetCurrentProcessId());
    return static_cast<int>(std::count_if(children.begin(), children.end(),
                                          [](auto& name) { return _wcsicmp(name.c_str(), L"ffmpeg.exe") == 0; }));
}

class SaveSelection : public ::testing::Test {
protected:
    SaveSelection()
        : watcher([this](HWND dialog) {
              const std::wstring title = testing_support::WindowText(dialog);
              if (title == L"Open" || title == L"Save As") {
                  const std::wstring& file = title == L"Open" ? toOpen : toSave;
                  if (title == L"Save As") saveDialogShown = true;
                  if (file.empty())
                      testing_support::PressButton(dialog, IDCANCEL);
                  else
                      testing_support::ChooseFile(dialog, file);
                  return true;
              }
              if (::GetDlgItem(dialog, IDYES)) {  // the save dialog asks before replacing a file
                  replaceAsked = true;
                  testing_support::PressButton(dialog, IDYES);
                  return true;
              }
              return false;
          }) {
        form.Show();
    }

    static void Click(controls::zembutton& button) { save_tests::Click(button.hWnd()); }

    // Select MP3, answered with the file; its "Playing the file" message is answered too.
    void Load(const std::wstring& file) {
        toOpen = file;
        Click(form.zembutton(1));
        ASSERT_EQ(form.Text1().Text(), file);
        boxesBefore = watcher.Seen().size();
    }
    // Set Start or Set End, clicked while playback is held at the position.
    void MarkAt(int button, double seconds) {
        form.player().Pause();
        form.player().SetCurrentPosition(seconds);
        ASSERT_TRUE(
            testing_support::PumpUntil([&] { return form.Label(2).Caption() == app::FormatSeconds(seconds); }, 2000));
        Click(form.zembutton(button));
    }
    void Mark(double start, double end) {
        MarkAt(2, start);
        MarkAt(3, end);
    }

    // Clicks "Save Selection" and answers the save dialog with `target` (an
    // empty target cancels it); agrees to replace an existing file. Returns
    // the message boxes the save showed, in order.
    std::vector<MessageBoxSeen> Save(const std::wstring& target) {
        toSave = target;
        Click(form.zembutton(5));
        auto boxes = watcher.Seen();
        return {boxes.begin() + static_cast<std::ptrdiff_t>(boxesBefore), boxes.end()};
    }

    // Loads the file, marks 3.25 s to 9.75 s, saves it and checks the new file.
    void SaveAndCheck(const std::wstring& input, const std::wstring& target, const ScratchFolder& folder) {
        const double start = 3.25, length = 6.5;
        Load(input);
        Mark(start, start + length);
        EXPECT_EQ(form.Label(9).Caption(), L"6.5");
        form.player().Play();
        ASSERT_TRUE(
            testing_support::PumpUntil([&] { return form.player().PlayState() == app::MediaPlayer::kPlaying; }, 3000));
        auto boxes = Save(target);
        EXPECT_EQ(form.player().PlayState(), app::MediaPlayer::kPaused);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, L"MP3 has been cut!") << boxes[0].text;
        EXPECT_EQ(boxes[0].title, L"Success!");
        EXPECT_TRUE(LeftoverTemporaryFiles(folder).empty());
        ASSERT_TRUE(app::FileExists(target));
        Probe cut = save_tests::ProbeFile(target);
        ASSERT_TRUE(cut.ok) << cut.raw;
        EXPECT_NEAR(cut.duration, length, 0.5 / 44100);  // to the sample
        EXPECT_NEAR(save_tests::MeasuredStart(SourceProbe(), cut, start), start, kFrame) << cut.raw;
        EXPECT_EQ(cut.title, kTitle);
        EXPECT_TRUE(cut.hasCover);
        EXPECT_EQ(cut.audioStreams, 1);
    }

    app::Form1 form;
    std::wstring toOpen;
    std::wstring toSave;
    bool saveDialogShown = false;
    bool replaceAsked = false;
    std::size_t boxesBefore = 0;
    DialogWatcher watcher;
};

TEST_F(SaveSelection, WritesTheSelectionAsANewMp3WithItsTagsAndCover) {
    ScratchFolder folder(L"save");
    ASSERT_TRUE(SourceProbe().ok) << SourceProbe().raw;
    ASSERT_TRUE(::CopyFileW(Fixture(kSource).c_str(), (folder / L"song.mp3").c_str(), FALSE));
    SaveAndCheck(folder / L"song.mp3", folder / L"cut.mp3", folder);
    EXPECT_TRUE(saveDialogShown);
    const std::wstring encoder = L"\"" + app::ProgramFolder() + L"\\ffmpeg.exe\"";
    EXPECT_EQ(form.DOSOutput().txtCommand().Text().rfind(encoder + L" -nostdin -y -ss 3.25 -t 6.5 -i \"", 0), 0u)
        << form.DOSOutput().txtCommand().Text();
}

TEST_F(SaveSelection, TheOutputWindowShowsOneBlockWhileTheEncoderRunsAndAFullBarWhenItIsDone) {
    ScratchFolder folder(L"save-bar");
    ASSERT_TRUE(::CopyFileW(Fixture(kSource).c_str(), (folder / L"song.mp3").c_str(), FALSE));
    Load(folder / L"song.mp3");
    Mark(3.25, 9.75);
    app::frmDOSOutput& output = form.DOSOutput();
    testing_support::Pixels running;
    output.ReadOutput1().Starting.Subscribe([&] {
        ::RedrawWindow(output.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        running = testing_support::CaptureClient(output.Handle());
    });
    auto boxes = Save(folder / L"cut.mp3");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"MP3 has been cut!");
    ASSERT_EQ(running.width, app::frmDOSOutput::kClientWidth);
    EXPECT_TRUE(testing_support::WritePng(testing_support::ArtifactPath(L"output-window-running.png"), running));
    // The bar at (24, 72): one six-pixel block at x = 4 to 9 of the bar, then white.
    const std::uint32_t barColour = 0x335EA8;  // red 51, green 94, blue 168, as the screen's RGB
    const int row = 72 + 12;
    for (int x = 4; x <= 9; ++x) EXPECT_EQ(running.At(24 + x, row), barColour) << x;
    for (int x = 10; x < 470; ++x) ASSERT_EQ(running.At(24 + x, row), 0xFFFFFFu) << x;

    EXPECT_EQ(output.pb().Value(), 100);
    // Shown again (as for the next save), the window still has the full bar of the finished run.
    output.Show();
    ::RedrawWindow(output.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const testing_support::Pixels done = testing_support::CaptureClient(output.Handle());
    output.Hide();
    EXPECT_TRUE(testing_support::WritePng(testing_support::ArtifactPath(L"output-window-done.png"), done));
    // Full: along the bar's inside (x = 4 to 478), any eight pixels in a row hold one
    // six-pixel block, whatever the blocks' phase, and the blocks reach its right end.
    int lastBar = 0;
    for (int x = 4; x < 479; ++x) {
        if (done.At(24 + x, row) == barColour) lastBar = x;
        if (x + 8 > 479) continue;
        int inBlocks = 0;
        for (int k = 0; k < 8; ++k) inBlocks += done.At(24 + x + k, row) == barColour;
        ASSERT_EQ(inBlocks, 6) << x;
    }
    EXPECT_GT(lastBar, 478 - 8);
}

class UnusualNames : public SaveSelection, public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(UnusualNames, CutCorrectly) {
    ScratchFolder folder(L"names");
    const std::wstring input = folder / (std::wstring(GetParam()) + L" in.mp3");
    const std::wstring target = folder / (std::wstring(GetParam()) + L" out.mp3");
    ASSERT_TRUE(::CopyFileW(Fixture(kSource).c_str(), input.c_str(), FALSE));
    SaveAndCheck(input, target, folder);
}

INSTANTIATE_TEST_SUITE_P(Save, UnusualNames,
                         ::testing::Values(L"with spaces", L"accents \u00e9\u00e8\u00fc\u00f1\u00e7",
                                           L"\u65e5\u672c\u8a9e", L"emoji \U0001F3B5\U0001F600", L"%PATH%", L"100%",
                                           L"bang!", L"caret^", L"this & that", L"(parentheses)",
                                           L"mixed %TEMP% !x! ^& (y)"));

TEST_F(SaveSelection, WorksInFoldersDeeperThanTheClassicPathLimit) {
    ScratchFolder folder(L"long");
    std::wstring deep = folder.Path();
    while (deep.size() < 300) {
        deep += L"\\a folder with a long name for testing";
        ASSERT_TRUE(::CreateDirectoryW(app::ExtendedLengthPath(deep).c_str(), nullptr));
    }
    const std::wstring input = deep + L"\\song.mp3";
    const std::wstring target = deep + L"\\cut.mp3";
    ASSERT_GT(target.size(), 260u);
    ASSERT_TRUE(::CopyFileW(Fixture(kSource).c_str(), app::ExtendedLengthPath(input).c_str(), FALSE));
    // Wine's file dialogs cannot take names this long: the file is opened and
    // the new name handed over where the dialogs would hand them over.
    ASSERT_TRUE(form.player().SetURL(input));
    form.Text1().SetText(input);
    Mark(3.25, 9.75);
    app::SaveSelectionAs(form, target);
    auto boxes = watcher.Seen();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"MP3 has been cut!") << boxes[0].text;
    Probe cut = save_tests::ProbeFile(target);
    ASSERT_TRUE(cut.ok) << cut.raw;
    EXPECT_NEAR(cut.duration, 6.5, 2 * kFrame);
}

TEST_F(SaveSelection, ACancelledDialogWritesNothing) {
    ScratchFolder folder(L"dialog");
    ASSERT_TRUE(::CopyFileW(Fixture(kSource).c_str(), (folder / L"song.mp3").c_str(), FALSE));
    Load(folder / L"song.mp3");
    Mark(3.25, 9.75);
    auto boxes = Save(L"");
    EXPECT_TRUE(saveDialogShown);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(folder.Files(), std::vector<std::wstring>{L"song.mp3"});
    EXPECT_EQ(RunningEncoders(), 0);
}

TEST_F(SaveSelection, AFailedSaveKeepsTheExistingTarget) {
    ScratchFolder folder(L"failed");
    ASSERT_TRUE(::CopyFileW(Fixture(L"save-short.mp3").c_str(), (folder / L"short.mp3").c_str(), FALSE));
    save_tests::WriteAll(folder / L"cut.mp3", "an older file the user keeps");
    // A selection marked in a longer file, kept when a 3-second file is loaded: nothing to copy.
    Load(Fixture(kSource));
    Mark(10, 15);
    Load(folder / L"short.mp3");
    auto boxes = Save(folder / L"cut.mp3");
    EXPECT_TRUE(replaceAsked);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, L"Error");
    // The encoder writes a lone frame that its own LAME tag trims to nothing.
    EXPECT_EQ(boxes[0].text.rfind(L"The cut failed: the encoder wrote no audio. The start point may lie beyond the "
                                  L"end of the file.",
                                  0),
              0u)
        << boxes[0].text;
    EXPECT_EQ(ReadAll(folder / L"cut.mp3"), "an older file the user keeps");
    EXPECT_TRUE(LeftoverTemporaryFiles(folder).empty());
}

// A target the new file cannot replace, and what the save must say about it.
struct Unreplaceable {
    const char* name;
    // Makes `target` in `folder` unreplaceable; what it returns undoes that when
    // it goes. Returns nothing when this host cannot do it.
    std::function<std::shared_ptr<void>(const std::wstring& folder, const std::wstring& target)> lock;
    std::wstring reason;  // what the error box says right after naming the target
};

void PrintTo(const Unreplaceable& kind, std::ostream* out) { *out << kind.name; }

const Unreplaceable kUnreplaceable[] = {
    {"open in another program",
     [](const std::wstring&, const std::wstring& target) -> std::shared_ptr<void> {
         HANDLE held = ::CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
         if (held == INVALID_HANDLE_VALUE) return nullptr;
         return std::shared_ptr<void>(held, ::CloseHandle);
     },
     L" (" + base::SystemErrorText(ERROR_ACCESS_DENIED) + L")."},
    {"read-only",
     [](const std::wstring&, const std::wstring& target) -> std::shared_ptr<void> {
         if (!::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY)) return nullptr;
         return std::shared_ptr<void>(new std::wstring(target), [](std::wstring* path) {
             ::SetFileAttributesW(path->c_str(), FILE_ATTRIBUTE_NORMAL);
             delete path;
         });
     },
     L" (the file is read-only)."},
    {"in a read-only folder",
     [](const std::wstring& folder, const std::wstring&) -> std::shared_ptr<void> {
         // Nothing on Wine's side makes a folder refuse new files: the host's file system does.
         std::string host = "'";
         host += HostPath(folder);
         host += "'";
         RunOnHost("chmod a-w " + host + "; chattr +i " + host);
         auto undo = std::shared_ptr<void>(new std::string(host), [](std::string* path) {
             RunOnHost("chattr -i " + *path + "; chmod u+w " + *path);
             delete path;
         });
         base::KernelHandle probe(::CreateFileW((folder + L"\\probe").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                                FILE_FLAG_DELETE_ON_CLOSE, nullptr));
         return probe ? nullptr : undo;
     },
     L"\r\n\r\n" + base::SystemErrorText(ERROR_ACCESS_DENIED)},
};

class UnreplaceableTarget : public SaveSelection, public ::testing::WithParamInterface<Unreplaceable> {};

TEST_P(UnreplaceableTarget, IsNamedWithTheReasonAndStaysAsItWas) {
    ScratchFolder folder(L"locked");
    const std::wstring locked = folder / L"locked";
    ASSERT_TRUE(::CreateDirectoryW(locked.c_str(), nullptr));
    const std::wstring target = locked + L"\\cut.mp3";
    save_tests::WriteAll(target, "an older file the user keeps");
    ASSERT_TRUE(::CopyFileW(Fixture(kSource).c_str(), (folder / L"song.mp3").c_str(), FALSE));
    Load(folder / L"song.mp3");
    Mark(3.25, 9.75);
    std::shared_ptr<void> undo = GetParam().lock(locked, target);
    if (!undo) GTEST_SKIP() << "this host cannot make the target " << GetParam().name;
    auto boxes = Save(target);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].icon, static_cast<UINT>(MB_ICONERROR));
    const std::size_t named = boxes[0].text.find(target);
    ASSERT_NE(named, std::wstring::npos) << boxes[0].text;
    EXPECT_EQ(boxes[0].text.substr(named + target.size(), GetParam().reason.size()), GetParam().reason)
        << boxes[0].text;
    undo.reset();
    EXPECT_EQ(ReadAll(target), "an older file the user keeps");
    EXPECT_TRUE(LeftoverTemporaryFiles(folder).empty());
}

INSTANTIATE_TEST_SUITE_P(Save, UnreplaceableTarget, ::testing::ValuesIn(kUnreplaceable));

// How the user stops a save in the middle.
struct Stop {
    const char* name;
    void (*stop)(app::frmDOSOutput& output);
};

void PrintTo(const Stop& stop, std::ostream* out) { *out << stop.name; }

const Stop kStops[] = {
    {"the Cancel button", [](app::frmDOSOutput& output) { save_tests::PostClick(output.zembutton1().hWnd()); }},
    {"the window's Close box",
     [](app::frmDOSOutput& output) { ::PostMessageW(output.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
};

class StoppedInTheMiddle : public SaveSelection, public ::testing::WithParamInterface<Stop> {};

TEST_P(StoppedInTheMiddle, LeavesNothingBehindAndTheNextSaveWorks) {
    ScratchFolder folder(L"stopped");
    const std::wstring input = folder / L"hour.mp3";
    ASSERT_TRUE(::CopyFileW(Fixture(L"save-60min.mp3").c_str(), input.c_str(), FALSE));
    // The user stops the save once the encoder is writing.
    app::frmDOSOutput& output = form.DOSOutput();
    bool stopped = false;
    bool writing = false;
    std::wstring seen;
    output.ReadOutput1().GotChunk.Subscribe([&](const std::wstring& chunk, bool) {
        seen += chunk;
        if (!stopped && seen.find(L"Output #0") != std::wstring::npos) {
            stopped = true;
            writing = !LeftoverTemporaryFiles(folder).empty();
            GetParam().stop(output);
        }
    });
    Load(input);
    Mark(60, 3300);
    auto boxes = Save(folder / L"cut.mp3");
    EXPECT_TRUE(writing) << "the encoder had not started writing when the save was stopped";
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Success! Process was canceled!");
    EXPECT_EQ(folder.Files(), std::vector<std::wstring>{L"hour.mp3"});
    EXPECT_EQ(RunningEncoders(), 0);
    EXPECT_FALSE(output.Visible());

    Mark(60, 66.5);
    boxesBefore += boxes.size();
    boxes = Save(folder / L"cut.mp3");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"MP3 has been cut!") << boxes[0].text;
    EXPECT_NEAR(app::AudioSeconds(folder / L"cut.mp3"), 6.5, 0.25);
}

INSTANTIATE_TEST_SUITE_P(Save, StoppedInTheMiddle, ::testing::ValuesIn(kStops));

TEST_F(SaveSelection, AHundredSavesAndAHundredCancelsLeaveNothingBehind) {
    ScratchFolder folder(L"repeat");
    const std::wstring input = folder / L"song.mp3";
    ASSERT_TRUE(::CopyFileW(Fixture(kSource).c_str(), input.c_str(), FALSE));
    // The selection as Set Start and Set End leave it, with the player left
    // alone: its threads and handles come and go with playback, not with saves.
    form.Text1().SetText(input);
    form.Label(5).SetCaption(L"3.25");
    form.Label(7).SetCaption(L"9.75");
    form.Label(9).SetCaption(L"6.5");
    app::frmDOSOutput& output = form.DOSOutput();
    bool cancel = false;
    // The click is handled at the run's first look at the window messages, before any output.
    output.ReadOutput1().Starting.Subscribe([&] {
        if (cancel) save_tests::PostClick(output.zembutton1().hWnd());
    });
    auto saves = [&](int count, bool cancelled) {
        cancel = cancelled;
        for (int i = 0; i < count; ++i) app::SaveSelectionAs(form, folder / L"cut.mp3");
    };
    saves(1, false);  // the first run and cancel set up what the system keeps for the process
    saves(1, true);
    const std::size_t handles = testing_support::KernelHandles().size();
    const DWORD threads = testing_support::Threads();
    const DWORD gdi = testing_support::GdiObjects();
    const DWORD user = testing_support::UserObjects();
    saves(100, false);
    saves(100, true);
    // A reader thread may still be on its way out. (The handles go first: a failed
    // check starts a thread of the test framework's own.)
    testing_support::PumpUntil([&] { return testing_support::Threads() == threads; }, 10000);
    EXPECT_EQ(testing_support::KernelHandles().size(), handles);
    EXPECT_EQ(testing_support::Threads(), threads);
    EXPECT_EQ(testing_support::GdiObjects(), gdi);
    EXPECT_EQ(testing_support::UserObjects(), user);
    std::map<std::wstring, int> reports;
    for (const auto& box : watcher.Seen()) ++reports[box.text];
    EXPECT_EQ(reports,
              (std::map<std::wstring, int>{{L"MP3 has been cut!", 101}, {L"Success! Process was canceled!", 101}}));
    EXPECT_EQ(folder.Files(), (std::vector<std::wstring>{L"cut.mp3", L"song.mp3"}));
    EXPECT_EQ(RunningEncoders(), 0);
}

TEST_F(SaveSelection, AMissingInputIsReportedWithTheEncodersWords) {
    ScratchFolder folder(L"missing");
    ASSERT_TRUE(::CopyFileW(Fixture(kSource).c_str(), (folder / L"gone.mp3").c_str(), FALSE));
    Load(folder / L"gone.mp3");
    Mark(1, 2);
    // Moved away while the player still has it open.
    ASSERT_TRUE(::MoveFileW((folder / L"gone.mp3").c_str(), (folder / L"moved.mp3").c_str()));
    auto boxes = Save(folder / L"cut.mp3");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find(L"exit code 1"), std::wstring::npos) << boxes[0].text;
    EXPECT_NE(boxes[0].text.find(L"gone.mp3: No such file or directory"), std::wstring::npos) << boxes[0].text;
    EXPECT_EQ(folder.Files(), std::vector<std::wstring>{L"moved.mp3"});
}

TEST_F(SaveSelection, AnExistingTargetIsReplacedWhenTheUserAgrees) {
    ScratchFolder folder(L"replace");
    ASSERT_TRUE(::CopyFileW(Fixture(kSource).c_str(), (folder / L"song.mp3").c_str(), FALSE));
    save_tests::WriteAll(folder / L"cut.mp3", "an older cut");
    SaveAndCheck(folder / L"song.mp3", folder / L"cut.mp3", folder);
    EXPECT_TRUE(replaceAsked);
}

class InputAsOutput : public SaveSelection,
                      public ::testing::WithParamInterface<std::wstring (*)(const std::wstring&)> {};

TEST_P(InputAsOutput, IsRefusedAndTheInputStaysIntact) {
    ScratchFolder folder(L"same");
    const std::wstring input = folder / L"My Favourite Song.mp3";
    ASSERT_TRUE(::CopyFileW(Fixture(kSource).c_str(), input.c_str(), FALSE));
    const std::string before = ReadAll(input);
    ::CreateDirectoryW((folder / L"sub").c_str(), nullptr);
    Load(input);
    Mark(3.25, 9.75);
    auto boxes = Save(GetParam()(input));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.rfind(L"The selection cannot be saved over the file it comes from", 0), 0u)
        << boxes[0].text;
    EXPECT_EQ(boxes[0].icon, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(ReadAll(input), before);
    EXPECT_EQ(folder.Files(), (std::vector<std::wstring>{L"My Favourite Song.mp3", L"sub"}));
}

std::wstring SameSpelling(const std::wstring& path) { return path; }
std::wstring OtherCase(const std::wstring& path) {
    std::wstring upper = path;
    for (wchar_t& c : upper) c = static_cast<wchar_t>(::towupper(c));
    return upper;
}
std::wstring ThroughSubfolder(const std::wstring& path) {
    return app::FolderOf(path) + L"\\sub\\..\\My Favourite Song.mp3";
}
std::wstring ShortName(const std::wstring& path) {
    wchar_t name[MAX_PATH] = {};
    ::GetShortPathNameW(path.c_str(), name, MAX_PATH);
    return name;
}

INSTANTIATE_TEST_SUITE_P(Save, InputAsOutput,
                         ::testing::Values(&SameSpelling, &OtherCase, &ThroughSubfolder, &ShortName));

// Each refusal, reached through the commands a user would click; nothing is asked or written after it.
class Refusals : public SaveSelection {
protected:
    void SetUp() override {
        Load(Fixture(kSource));
        Mark(3.25, 9.75);  // "Save Selection" is usable from here on
    }
    void ExpectRefusal(const std::wstring& message) {
        auto boxes = Save(L"");
        EXPECT_FALSE(saveDialogShown);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, message);
        EXPECT_EQ(boxes[0].title, L"Snipmill");
        EXPECT_EQ(boxes[0].icon, static_cast<UINT>(MB_ICONERROR));
    }
};

TEST_F(Refusals, AStartNotSetAfterNewSelection) {
    Click(form.zembutton(6));
    ExpectRefusal(L"Please select a start point before saving a selection");
}

TEST_F(Refusals, AnEndNotSetAfterNewSelectionAndSetStart) {
    Click(form.zembutton(6));
    MarkAt(2, 1);
    ExpectRefusal(L"Please select a end point before saving a selection");
}

TEST_F(Refusals, AStartMovedPastTheEnd) {
    MarkAt(2, 12);
    ExpectRefusal(L"End point must be greater than the start point");
}

TEST_F(Refusals, AnEmptySelection) {
    Mark(4, 4);
    ExpectRefusal(L"The selection is empty: please set an end point after the start point before saving");
}

}  // namespace
