// The program itself, started as a user starts it: its window comes up, refuses
// to close, and the Exit button ends the process with exit code 0.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/Handles.h"
#include "support/WindowTesting.h"

namespace {

struct Search {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindMainWindow(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    wchar_t title[64] = {};
    ::GetWindowTextW(hwnd, title, 64);
    if (pid == search->process && std::wstring(title) == L"Tavrin Snipmill" && ::IsWindowVisible(hwnd)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND MainWindowOf(DWORD process) {
    Search search{process, nullptr};
    ::EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

TEST(Program, StartsRefusesToCloseAndExitsWithZero) {
    const std::wstring exe = testing_support::BuildPath(L"bin", L"snipmill.exe");
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                 &startup, &info));
    base::KernelHandle process(info.hProcess);
    base::KernelHandle thread(info.hThread);
    // A failed step must not leave the program running.
    struct EndAnyway {
        HANDLE process;
        ~EndAnyway() {
            if (::WaitForSingleObject(process, 0) == WAIT_TIMEOUT) ::TerminateProcess(process, 1);
        }
    } endAnyway{process.Get()};

    HWND window = nullptr;
    for (int i = 0; i < 200 && !window; ++i) {
        ::Sleep(50);
        window = MainWindowOf(info.dwProcessId);
    }
    ASSERT_NE(window, nullptr);

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(::WaitForSingleObject(process.Get(), 500), static_cast<DWORD>(WAIT_TIMEOUT));

    HWND exit = ::FindWindowExW(window, nullptr, L"Snipmill.zembutton", L"Exit");
    ASSERT_NE(exit, nullptr);
    ::PostMessageW(exit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::PostMessageW(exit, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_EQ(::WaitForSingleObject(process.Get(), 10000), static_cast<DWORD>(WAIT_OBJECT_0));
    DWORD code = 1;
    ::GetExitCodeProcess(process.Get(), &code);
    EXPECT_EQ(code, 0u);
}
