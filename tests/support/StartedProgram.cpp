#include "support/StartedProgram.h"

#include "support/WindowTesting.h"

namespace testing_support {

StartedProgram::StartedProgram(const std::wstring& exe) {
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info))
        return;
    ::CloseHandle(info.hThread);
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
