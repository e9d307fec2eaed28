#pragma once
// What the save benchmarks share: a clock, the median, a command started bare,
// and the program's report answered the moment it appears.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/Handles.h"

namespace benchmarks {

inline double Now() {
    LARGE_INTEGER counter{}, frequency{};
    ::QueryPerformanceCounter(&counter);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The fixtures' folder of that name: under the folder given as the one argument
// (scripts/benchmark gives it), or without one under the build's own.
inline std::wstring FixturesFolder(const std::wstring& name) {
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    std::wstring named = argv && argc > 1 ? argv[1] : L"";
    ::LocalFree(argv);
    if (named.empty()) {
        wchar_t module[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, module, MAX_PATH);
        named = module;
        named.resize(named.find_last_of(L'\\'));      // ...\bin
        named.resize(named.find_last_of(L'\\') + 1);  // the build folder
        named += L"fixtures";
    }
    return named + L"\\" + name;
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Seconds the command takes started on its own, hidden, its output thrown away.
inline double Bare(const std::wstring& commandLine) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    base::KernelHandle nul(
        ::CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inheritable, OPEN_EXISTING, 0, nullptr));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.hStdOutput = nul.Get();
    startup.hStdError = nul.Get();
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    PROCESS_INFORMATION info{};
    const double start = Now();
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
        std::fwprintf(stderr, L"could not start: %ls\n", commandLine.c_str());
        std::exit(1);
    }
    base::KernelHandle process(info.hProcess);
    base::KernelHandle thread(info.hThread);
    ::WaitForSingleObject(process.Get(), INFINITE);
    return Now() - start;
}

// Seconds to copy the bytes of `input` between two fractions of its size, read and written in large blocks.
inline double ByteCopy(const std::wstring& input, const std::wstring& output, double fromFraction, double toFraction) {
    const double start = Now();
    base::KernelHandle source(::CreateFileW(input.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    base::KernelHandle target(::CreateFileW(output.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    LARGE_INTEGER size{};
    ::GetFileSizeEx(source.Get(), &size);
    LARGE_INTEGER from{};
    from.QuadPart = static_cast<LONGLONG>(static_cast<double>(size.QuadPart) * fromFraction);
    auto remaining = static_cast<LONGLONG>(static_cast<double>(size.QuadPart) * (toFraction - fromFraction));
    ::SetFilePointerEx(source.Get(), from, nullptr, FILE_BEGIN);
    std::vector<char> buffer(1 << 20);
    while (remaining > 0) {
        DWORD read = 0, written = 0;
        auto want = static_cast<DWORD>(std::min<LONGLONG>(remaining, static_cast<LONGLONG>(buffer.size())));
        if (!::ReadFile(source.Get(), buffer.data(), want, &read, nullptr) || read == 0) break;
        ::WriteFile(target.Get(), buffer.data(), read, &written, nullptr);
        remaining -= read;
    }
    return Now() - start;
}

// While it lives, the first message box the program shows ends the work being
// timed: when it appeared and what it said are kept, and it is answered at once.
// A window hook sees it on the program's own thread.
class ReportWatch {
public:
    ReportWatch() {
        active_ = this;
        hook_.Reset(::SetWindowsHookExW(WH_CBT, &Watch, nullptr, ::GetCurrentThreadId()));
    }
    ReportWatch(const ReportWatch&) = delete;
    ReportWatch& operator=(const ReportWatch&) = delete;
    ~ReportWatch() { active_ = nullptr; }

    double ShownAt() const { return shownAt_; }
    const std::wstring& Text() const { return text_; }

private:
    static LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_ACTIVATE && active_) {
            auto dialog = reinterpret_cast<HWND>(wParam);
            wchar_t name[16] = {};
            ::GetClassNameW(dialog, name, 16);
            if (std::wstring(name) == L"#32770" && active_->shownAt_ == 0) {
                active_->shownAt_ = Now();
                wchar_t text[512] = {};
                ::GetDlgItemTextW(dialog, 0xFFFF, text, 512);
                active_->text_ = text;
                ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
            }
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline ReportWatch* active_ = nullptr;
    double shownAt_ = 0;
    std::wstring text_;
    base::HookHandle hook_;
};

}  // namespace benchmarks
