// The program itself, started as a user starts it: its window comes up, refuses
// to close, opens the file named on its command line, and the Exit button ends
// the process with exit code 0.
#include <windows.h>

#include <gtest/gtest.h>

#include "UserFiles.h"
#include "support/DialogWatcher.h"
#include "support/StartedProgram.h"
#include "support/WindowTesting.h"

TEST(Program, StartsRefusesToCloseAndExitsWithZero) {
    testing_support::StartedProgram program(testing_support::BuildPath(L"bin", L"snipmill.exe"));
    ASSERT_TRUE(program);
    HWND window = program.MainWindow(10000);
    ASSERT_NE(window, nullptr);

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(program.Ended(500));

    ASSERT_TRUE(testing_support::ClickButton(window, L"Exit"));
    ASSERT_TRUE(program.Ended(10000));
    EXPECT_EQ(program.ExitCode(), 0u);
}

TEST(Program, OpensTheFileNamedOnItsCommandLine) {
    const std::wstring odd = app_tests::CopyOfFixture(L"cbr128_info.mp3", app_tests::kOddName);
    const std::wstring oddFolder = odd.substr(0, odd.rfind(L'\\'));
    const std::wstring longPath = app_tests::CopyOfFixture(L"cbr128_info.mp3", app_tests::LongName());
    const std::wstring playing = std::wstring(L"Playing the file ") + app_tests::kOddTitle;
    struct Case {
        std::wstring arguments;
        const wchar_t* folder;
        std::wstring message;
    };
    const Case cases[] = {
        {L"\"" + odd + L"\"", nullptr, playing},
        {odd, nullptr, playing},  // without quotes
        {L"\"" + odd + L"\" \"" + longPath + L"\" /more", nullptr, playing},
        {L"\"Chanson d'été 100% ü.mp3\"", oddFolder.c_str(), playing},
        {L"\"" + longPath + L"\"", nullptr, L"Playing the file long path"},
        {L"\"" + oddFolder + L"\\missing.mp3\"", nullptr,
         L"Snipmill cannot open the file\r\n" + oddFolder + L"\\missing.mp3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        testing_support::StartedProgram program(testing_support::BuildPath(L"bin", L"snipmill.exe"), c.arguments,
                                                c.folder);
        ASSERT_TRUE(program);
        testing_support::DialogWatcher watcher(nullptr, program.Id());
        HWND window = program.MainWindow(10000);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(testing_support::PumpUntil([&] { return !watcher.Seen().empty(); }, 10000));
        const testing_support::MessageBoxSeen box = watcher.Seen().front();
        EXPECT_EQ(box.text.substr(0, c.message.size()), c.message) << box.text;
        EXPECT_EQ(box.owner, window);
        ASSERT_TRUE(testing_support::ClickButton(window, L"Exit"));
        ASSERT_TRUE(program.Ended(10000));
        EXPECT_EQ(program.ExitCode(), 0u);
    }
}
