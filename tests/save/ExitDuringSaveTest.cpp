// Exit pressed while a save runs, in the program itself: a copy of it in a
// folder of its own, with the tests' child standing in as its encoder so the
// test decides when the encoding may go on (it then runs the real encoder).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "SaveFixtures.h"
#include "app/AudioCheck.h"
#include "app/Files.h"
#include "support/DialogWatcher.h"
#include "support/StartedProgram.h"
#include "support/WindowTesting.h"

namespace {

using save_tests::Fixture;
using save_tests::ReadAll;
using save_tests::ScratchFolder;
using testing_support::ClickButton;

// Dispatching nothing: the program under test is another process.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    for (DWORD waited = 0; !condition(); waited += 50) {
        if (waited >= timeoutMs) return false;
        ::Sleep(50);
    }
    return true;
}

bool ButtonEnabled(HWND window, const wchar_t* caption) {
    HWND button = ::FindWindowExW(window, nullptr, L"Snipmill.zembutton", caption);
    return button && ::IsWindowEnabled(button);
}

struct ExitCase {
    const char* name;
    bool encoderFinishes;  // within the time Exit gives it
};

void PrintTo(const ExitCase& exitCase, std::ostream* out) { *out << exitCase.name; }

class ExitDuringASave : public ::testing::TestWithParam<ExitCase> {};

TEST_P(ExitDuringASave, EndsWithZeroAndLeavesNothingBehind) {
    ScratchFolder folder(L"exit");
    const std::wstring target = folder / L"cut.mp3";
    ASSERT_TRUE(::CopyFileW(testing_support::BuildPath(L"bin", L"snipmill.exe").c_str(),
                            (folder / L"snipmill.exe").c_str(), FALSE));
    ASSERT_TRUE(::CopyFileW(testing_support::BuildPath(L"bin", L"testchild.exe").c_str(),
                            (folder / L"ffmpeg.exe").c_str(), FALSE));
    ASSERT_TRUE(::CopyFileW(Fixture(L"save-beeps.mp3").c_str(), (folder / L"song.mp3").c_str(), FALSE));
    save_tests::WriteAll(target, "an older file the user keeps");
    ::SetEnvironmentVariableW(L"SNIPMILL_REAL_ENCODER", testing_support::BuildPath(L"bin", L"ffmpeg.exe").c_str());
    base::KernelHandle started(::CreateEventW(nullptr, TRUE, FALSE, L"snipmill-test-encoder-started"));
    base::KernelHandle go(::CreateEventW(nullptr, TRUE, FALSE, L"snipmill-test-encoder-go"));

    testing_support::StartedProgram program(folder / L"snipmill.exe");
    ASSERT_TRUE(program);
    testing_support::DialogWatcher watcher(
        [&](HWND dialog) {
            const std::wstring title = testing_support::WindowText(dialog);
            if (title == L"Open" || title == L"Save As") {
                testing_support::ChooseFile(dialog, folder / (title == L"Open" ? L"song.mp3" : L"cut.mp3"));
                return true;
            }
            if (::GetDlgItem(dialog, IDYES)) {  // replacing the older file
                testing_support::PressButton(dialog, IDYES);
                return true;
            }
            return false;
        },
        program.Id());
    HWND window = program.MainWindow(10000);
    ASSERT_NE(window, nullptr);
    HWND slider = ::FindWindowExW(window, nullptr, TRACKBAR_CLASSW, nullptr);

    // Load the file, mark about two seconds of it while it plays, and save them.
    ASSERT_TRUE(ClickButton(window, L"Select MP3"));
    ASSERT_TRUE(WaitUntil([&] { return ButtonEnabled(window, L"Set Start"); }, 20000));
    ClickButton(window, L"Set Start");
    ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(slider, TBM_GETPOS, 0, 0) >= 3; }, 20000));
    ClickButton(window, L"Set End");
    ASSERT_TRUE(WaitUntil([&] { return ButtonEnabled(window, L"Save Selection"); }, 20000));
    ClickButton(window, L"Save Selection");
    ASSERT_EQ(::WaitForSingleObject(started.Get(), 20000), static_cast<DWORD>(WAIT_OBJECT_0));

    ClickButton(window, L"Exit");
    if (GetParam().encoderFinishes) {
        EXPECT_FALSE(program.Ended(1000)) << "Exit did not wait for the save";
        ::SetEvent(go.Get());
    }
    ASSERT_TRUE(program.Ended(60000));
    EXPECT_EQ(program.ExitCode(), 0u);
    EXPECT_EQ(testing_support::LiveChildrenOf(program.Id()), std::vector<std::wstring>{});
    if (GetParam().encoderFinishes)
        EXPECT_GT(app::AudioSeconds(target), 1.5);
    else
        EXPECT_EQ(ReadAll(target), "an older file the user keeps");
    EXPECT_EQ(folder.Files(), (std::vector<std::wstring>{L"cut.mp3", L"ffmpeg.exe", L"snipmill.exe", L"song.mp3"}));
    auto boxes = watcher.Seen();
    ASSERT_EQ(boxes.size(), 1u);  // "Playing the file", and nothing about the save
    EXPECT_EQ(boxes[0].text.rfind(L"Playing the file ", 0), 0u) << boxes[0].text;
}

INSTANTIATE_TEST_SUITE_P(Save, ExitDuringASave,
                         ::testing::Values(ExitCase{"the save finishes, then the program ends", true},
                                           ExitCase{"the save is given up after ten seconds", false}));

}  // namespace
