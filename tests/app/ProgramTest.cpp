// The program itself, started as a user starts it: its window comes up, refuses
// to close, opens the file named on its command line, and the Exit button ends
// the process with exit code 0.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "forms/Handles.h"
#include "support/DialogWatcher.h"
#include "support/WindowTesting.h"
#include "UserFiles.h"

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

// snipmill.exe started with the given arguments; ended by force if a test leaves it running.
class Program {
public:
    explicit Program(const std::wstring& arguments, const wchar_t* folder = nullptr) {
        const std::wstring exe = testing_support::BuildPath(L"bin", L"snipmill.exe");
        std::wstring commandLine = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder, &startup,
                             &info)) {
            process_.Reset(info.hProcess);
            forms::KernelHandle thread(info.hThread);
            id_ = info.dwProcessId;
        }
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program() {
        if (process_ && ::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) ::TerminateProcess(process_.Get(), 1);
    }

    bool Started() const { return static_cast<bool>(process_); }
    DWORD Id() const { return id_; }
    HANDLE Process() const { return process_.Get(); }

    HWND MainWindow() const {
        Search search{id_, nullptr};
        for (int i = 0; i < 200 && !search.found; ++i) {
            ::Sleep(50);
            ::EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
        }
        return search.found;
    }

    // Clicks Exit and returns the exit code, or -1 when the program did not end.
    long Exit() const {
        HWND exit = ::FindWindowExW(MainWindow(), nullptr, L"Snipmill.zembutton", L"Exit");
        ::PostMessageW(exit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        ::PostMessageW(exit, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        if (::WaitForSingleObject(process_.Get(), 10000) != WAIT_OBJECT_0) return -1;
        DWORD code = 1;
        ::GetExitCodeProcess(process_.Get(), &code);
        return static_cast<long>(code);
    }

private:
    forms::KernelHandle process_;
    DWORD id_ = 0;
};

}  // namespace

TEST(Program, StartsRefusesToCloseAndExitsWithZero) {
    Program program(L"");
    ASSERT_TRUE(program.Started());
    HWND window = program.MainWindow();
    ASSERT_NE(window, nullptr);

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(::WaitForSingleObject(program.Process(), 500), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(program.Exit(), 0);
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
        Program program(c.arguments, c.folder);
        ASSERT_TRUE(program.Started());
        testing_support::DialogWatcher watcher(nullptr, program.Id());
        HWND window = program.MainWindow();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(testing_support::PumpUntil([&] { return !watcher.Seen().empty(); }, 10000));
        const testing_support::MessageBoxSeen box = watcher.Seen().front();
        EXPECT_EQ(box.text.substr(0, c.message.size()), c.message) << box.text;
        EXPECT_EQ(box.owner, window);
        EXPECT_EQ(program.Exit(), 0);
    }
}
