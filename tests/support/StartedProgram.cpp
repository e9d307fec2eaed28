#include "support/StartedProgram.h"

#include "support/WindowTesting.h"

namespace testing_support {

StartedProgram::StartedProgram(const std::wstring& exe, const std::wstring& arguments, const wchar_t* folder) {
    std::wstring commandLine = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder, &startup,
                          &info))
        return;
    base::KernelHandle thread(info.hThread);  // only the process is watched
    process_.Reset(info.hProcess);
    id_ = info.dwProcessId;
}

StartedProgram::~StartedProgram() {
    if (process_ && !Ended(0)) ::TerminateProcess(process_.Get(), 1);
}

HWND StartedProgram::MainWindow(DWORD timeoutMs) const {
    for (DWORD waited = 0;; waited += 50) {
        if (HWND window = MainWindowOf(id_)) return window;
        if (waited >= timeoutMs) return nullptr;
        ::Sleep(50);
    }
}

bool StartedProgram::Ended(DWORD timeoutMs) const {
    return ::WaitForSingleObject(process_.Get(), timeoutMs) == WAIT_OBJECT_0;
}

DWORD StartedProgram::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(process_.Get(), &code);
    return code;
}

}  // namespace testing_support
