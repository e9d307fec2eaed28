// The program itself, started as a user starts it: its window comes up, refuses
// to close, and the Exit button ends the process with exit code 0.
#include <windows.h>

#include <gtest/gtest.h>

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
