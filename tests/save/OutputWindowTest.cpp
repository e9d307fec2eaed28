#include "app/frmDOSOutput.h"

#include <gtest/gtest.h>

#include "SaveFixtures.h"
#include "UserActions.h"
#include "app/Files.h"
#include "app/TemporaryOutput.h"
#include "base/Handles.h"
#include "support/BadMp3.h"
#include "support/DialogWatcher.h"
#include "support/WindowTesting.h"

namespace {

using save_tests::Click;
using save_tests::PostClick;
using testing_support::DialogWatcher;
using testing_support::MessageBoxSeen;

std::wstring Encoder() { return L"\"" + app::ProgramFolder() + L"\\ffmpeg.exe\""; }

std::wstring SilentRun(double seconds) {
    return Encoder() + L" -nostdin -loglevel quiet -re -f lavfi -i anullsrc=r=8000 -t " + std::to_wstring(seconds) +
           L" -f null -";
}

class OutputWindow : public ::testing::Test {
protected:
    // Hands a command over as the main window does.
    std::vector<MessageBoxSeen> Run(const std::wstring& command) {
        DialogWatcher watcher;
        window.Show();
        window.Text2().SetText(L"T");
        window.txtCommand().SetText(command);
        window.cmdExecute_Click();
        return watcher.Seen();
    }

    app::frmDOSOutput window;
};

TEST_F(OutputWindow, HasItsCaptionSizeAndParts) {
    wchar_t caption[64] = {};
    ::GetWindowTextW(window.Handle(), caption, 64);
    EXPECT_STREQ(caption, L"DOS Outputs");
    RECT client{};
    ::GetClientRect(window.Handle(), &client);
    EXPECT_EQ(client.right, 515);
    EXPECT_EQ(client.bottom, 219);
    EXPECT_TRUE(::GetWindowLongW(window.Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);  // no taskbar button
    EXPECT_EQ(window.Label1().Caption(), L"Processing.Please wait....");
    EXPECT_EQ(window.zembutton1().Caption(), L"Cancel");
    EXPECT_EQ(window.zembutton1().ButtonStyle(), 13);
    EXPECT_EQ(window.pb().Color(), 11034163u);
    EXPECT_EQ(window.pb().Value(), 0);
    EXPECT_EQ(window.Text2().Text(), L"Text2");
    EXPECT_FALSE(::GetWindowLongW(window.txtOutput().Handle(), GWL_STYLE) &
                 WS_VISIBLE);  // hidden, also once its window shows
    EXPECT_EQ(window.cmdCancel().Caption(), L"&Cancel");
    EXPECT_EQ(window.Command1().Caption(), L"E&xecute");
    EXPECT_EQ(window.lblInfo().Caption(), L"Command to get output from:");
    EXPECT_TRUE(window.Timer1().Enabled());
    EXPECT_EQ(window.Timer1().Interval(), 1000u);
}

TEST_F(OutputWindow, LooksRightOnScreen) {
    window.Show();
    testing_support::PumpFor(100);
    auto pixels = testing_support::CaptureClient(window.Handle());
    ASSERT_TRUE(testing_support::WritePng(testing_support::ArtifactPath(L"frmDOSOutput.png"), pixels));
    const std::uint32_t barColour = 0x335EA8;  // red 51, green 94, blue 168
    EXPECT_NE(pixels.At(24 + 240, 72 + 12), barColour);
    window.pb().SetValue(100);  // as on completion: the bar redraws at once, full
    pixels = testing_support::CaptureClient(window.Handle());
    EXPECT_EQ(pixels.At(24 + 240, 72 + 12), barColour);
}

TEST_F(OutputWindow, ACleanRunWithNoOutputIsReportedAsSuccessAndHidesTheWindow) {
    auto boxes = Run(SilentRun(0.1));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"MP3 has been cut!");
    EXPECT_EQ(boxes[0].title, L"Success!");
    EXPECT_EQ(boxes[0].icon, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_FALSE(window.Visible());
    EXPECT_EQ(window.pb().Value(), 100);
    EXPECT_EQ(window.Label1().Caption(), L"Task Completed.");
    EXPECT_FALSE(window.Timer1().Enabled());
}

TEST_F(OutputWindow, AFailedEncoderRunIsReportedWithItsLastLines) {
    auto boxes = Run(Encoder() + L" -nostdin -i \"" + app::ProgramFolder() + L"\\no such input.mp3\"");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, L"Error");
    EXPECT_EQ(boxes[0].icon, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(boxes[0].text.rfind(L"The cut failed: the encoder stopped with exit code 1.", 0), 0u) << boxes[0].text;
    EXPECT_NE(boxes[0].text.find(L"no such input.mp3: No such file or directory"), std::wstring::npos) << boxes[0].text;
    EXPECT_FALSE(window.Visible());
    EXPECT_NE(window.Label1().Caption(), L"Task Completed.");
}

TEST_F(OutputWindow, TheOutputBoxGetsWindowsLineEnds) {
    Run(Encoder() + L" -nostdin -hide_banner -version");
    std::wstring text = window.txtOutput().Text();
    ASSERT_EQ(text.rfind(L"ffmpeg version", 0), 0u) << text;
    EXPECT_NE(text.find(L"\r\n"), std::wstring::npos);
    for (std::size_t at = text.find(L'\n'); at != std::wstring::npos; at = text.find(L'\n', at + 1))
        EXPECT_EQ(text[at - 1], L'\r');
}

TEST_F(OutputWindow, WithTheFlagAtFNothingIsReportedAndTheWindowStays) {
    DialogWatcher watcher;
    window.Show();
    window.Text2().SetText(L"F");
    window.txtCommand().SetText(SilentRun(0.1));
    window.cmdExecute_Click();
    EXPECT_TRUE(watcher.Seen().empty());
    EXPECT_TRUE(window.Visible());
    EXPECT_EQ(window.pb().Value(), 0);
    EXPECT_EQ(window.Label1().Caption(), L"Processing.Please wait....");
}

TEST_F(OutputWindow, AProgramThatCannotStartIsReportedWithTheSystemCode) {
    auto boxes = Run(L"\"" + app::ProgramFolder() + L"\\missing-encoder.exe\" -version");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Error!\r\nDescription: CreateProcess failed.\r\nLastDLLError: 2");
    EXPECT_EQ(boxes[0].title, L"Error");
    EXPECT_EQ(boxes[0].icon, static_cast<UINT>(MB_ICONERROR));
    EXPECT_TRUE(window.Visible());
}

TEST_F(OutputWindow, TheCancelButtonWhileIdleReports1202ThenHides) {
    DialogWatcher watcher;
    window.Show();
    Click(window.zembutton1().hWnd());
    auto boxes = watcher.Seen();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Error!\r\nDescription: Not currently processing a command!\r\nLastDLLError: 1202");
    EXPECT_FALSE(window.Visible());
}

TEST_F(OutputWindow, TheCancelButtonDuringARunHidesTheWindowAndReportsTheCancellation) {
    forms::Timer clickSoon(300, true);
    bool visibleAfterClick = true;
    clickSoon.Tick.Subscribe([&] {
        clickSoon.SetEnabled(false);
        PostClick(window.zembutton1().hWnd());
    });
    window.ReadOutput1().Canceled.Subscribe([&] { visibleAfterClick = window.Visible(); });
    auto boxes = Run(SilentRun(60));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Success! Process was canceled!");
    EXPECT_EQ(boxes[0].title, L"Snipmill");
    EXPECT_EQ(boxes[0].icon, 0u);
    EXPECT_FALSE(visibleAfterClick);
    EXPECT_EQ(window.txtOutput().Text(), L"");
}

TEST_F(OutputWindow, ASecondStartDuringARunIsRefusedWith1201AndTheRunGoesOn) {
    // The second start comes once the run is under way, however long it took to get there.
    window.ReadOutput1().Starting.Subscribe([&] {
        window.txtCommand().SetText(L"second command");
        window.cmdExecute_Click();
    });
    auto boxes = Run(SilentRun(0.5));
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, L"Error!\r\nDescription: Currently processing a command!\r\nLastDLLError: 1201");
    EXPECT_EQ(boxes[1].text, L"MP3 has been cut!");
    EXPECT_EQ(window.txtCommand().Text(), L"second command");
}

// Whether no one else has the file open: the worker that prepares a save's exact audio holds its source.
bool NoOneHolds(const std::wstring& path) {
    return static_cast<bool>(
        base::KernelHandle(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)));
}

TEST_F(OutputWindow, CancelWhileTheExactAudioIsPreparedEndsItAndLeavesNoFileAndNoThread) {
    save_tests::ScratchFolder folder(L"cancel-worker");
    // Twenty seconds of audio, then a gigabyte without any: reading it takes seconds.
    const testing_support::SparseFile source(
        L"beeps-and-a-hole.mp3", testing_support::ReadFileBytes(save_tests::Fixture(L"save-beeps.mp3")), 1ull << 30);
    Run(SilentRun(0.1));  // the first run sets up what the system keeps for the process
    const DWORD threads = testing_support::Threads();
    {
        app::TemporaryOutput file(folder / L"cut.mp3", source.Path(), 1, 5);
        bool preparing = false;
        window.ReadOutput1().Starting.Subscribe([&] {
            preparing = !NoOneHolds(source.Path());
            PostClick(window.zembutton1().hWnd());
        });
        window.SetOutputFile(&file);
        auto boxes = Run(SilentRun(60));
        EXPECT_TRUE(preparing) << "the exact audio was ready before the save was cancelled";
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, L"Success! Process was canceled!");
        EXPECT_FALSE(app::FileExists(file.Path()));
        EXPECT_TRUE(NoOneHolds(source.Path()));
    }
    EXPECT_TRUE(testing_support::PumpUntil([&] { return testing_support::Threads() == threads; }, 10000));
    EXPECT_EQ(folder.Files(), std::vector<std::wstring>{});
}

TEST_F(OutputWindow, AnEncoderThatFailsOnceTheExactAudioIsReadyLeavesNothingBehind) {
    save_tests::ScratchFolder folder(L"failed-encoder");
    save_tests::WriteAll(folder / L"cut.mp3", "an older file the user keeps");
    const DWORD threads = testing_support::Threads();
    {
        app::TemporaryOutput file(folder / L"cut.mp3", save_tests::Fixture(L"save-beeps.mp3"), 3.25, 6.5);
        // Its worker's thread ends when the audio is ready.
        ASSERT_TRUE(testing_support::PumpUntil([&] { return testing_support::Threads() == threads; }, 20000));
        window.SetOutputFile(&file);
        auto boxes = Run(Encoder() + L" -nostdin -i \"" + folder / L"no such input.mp3" + L"\"");
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text.rfind(L"The cut failed: the encoder stopped with exit code 1.", 0), 0u)
            << boxes[0].text;
        EXPECT_FALSE(app::FileExists(file.Path()));
    }
    EXPECT_EQ(save_tests::ReadAll(folder / L"cut.mp3"), "an older file the user keeps");
    EXPECT_EQ(folder.Files(), std::vector<std::wstring>{L"cut.mp3"});
}

}  // namespace
