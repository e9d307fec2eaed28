// A small program the tests start as a real child process. What it does
// depends on its arguments:
//   testchild window FILE    holds FILE open, owns a top-level window that
//                            ignores WM_CLOSE, prints "ready" and runs until ended
//   testchild -ARGS... FILE  stands in for the encoder (copied as ffmpeg.exe beside
//                            a copy of the program): holds FILE, its output, open,
//                            sets the event "snipmill-test-encoder-started", and once
//                            "snipmill-test-encoder-go" is set runs the real encoder
//                            named by SNIPMILL_REAL_ENCODER with the same arguments.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "base/Handles.h"

namespace {

void Print(const std::string& text) {
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

// Opened for writing and shared with no one, as an encoder holds its output.
base::KernelHandle Hold(const std::wstring& path) {
    return base::KernelHandle(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
}

LRESULT CALLBACK IgnoreClose(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) return 0;
    return ::DefWindowProcW(window, message, wParam, lParam);
}

int HoldWithWindow(const std::wstring& file) {
    base::KernelHandle held = Hold(file);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = IgnoreClose;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"SnipmillTestChild";
    ::RegisterClassW(&windowClass);
    HWND window = ::CreateWindowW(windowClass.lpszClassName, L"Test child", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                  nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!held || !window) return 2;
    Print("ready\n");
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
    return 0;
}

// The command line without the program's own name.
std::wstring Arguments() {
    const wchar_t* line = ::GetCommandLineW();
    if (*line == L'"') {
        for (++line; *line && *line != L'"'; ++line) {
        }
        if (*line) ++line;
    } else {
        while (*line && *line != L' ') ++line;
    }
    return line;
}

int StandInForTheEncoder(const std::wstring& output) {
    base::KernelHandle held = Hold(output);
    base::KernelHandle started(::OpenEventW(EVENT_MODIFY_STATE, FALSE, L"snipmill-test-encoder-started"));
    base::KernelHandle go(::OpenEventW(SYNCHRONIZE, FALSE, L"snipmill-test-encoder-go"));
    if (!held || !started || !go) return 3;
    ::SetEvent(started.Get());
    ::WaitForSingleObject(go.Get(), INFINITE);
    held.Reset();

    wchar_t encoder[MAX_PATH] = {};
    ::GetEnvironmentVariableW(L"SNIPMILL_REAL_ENCODER", encoder, MAX_PATH);
    std::wstring line = L"\"" + std::wstring(encoder) + L"\"" + Arguments();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) return 4;
    base::KernelHandle process(info.hProcess);
    base::KernelHandle thread(info.hThread);
    ::WaitForSingleObject(process.Get(), INFINITE);
    DWORD code = 5;
    ::GetExitCodeProcess(process.Get(), &code);
    return static_cast<int>(code);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!arguments || count < 2) return 1;
    const std::wstring first = arguments[1];
    const std::wstring last = arguments[count - 1];
    ::LocalFree(arguments);
    if (first == L"window" && count == 3) return HoldWithWindow(last);
    if (first.rfind(L"-", 0) == 0) return StandInForTheEncoder(last);
    return 1;
}
