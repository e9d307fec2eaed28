#pragma once
// A copy of the program started as a user starts it, for tests that drive it
// from outside. A test that fails half way does not leave it running.
#include <windows.h>

#include <string>

#include "base/Handles.h"

namespace testing_support {

class StartedProgram {
public:
    explicit StartedProgram(const std::wstring& exe);
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;
    ~StartedProgram();

    explicit operator bool() const noexcept { return static_cast<bool>(process_); }
    DWORD Id() const noexcept { return id_; }
    HANDLE Process() const noexcept { return process_.Get(); }

    // Its visible main window, once it is up; null if it is not within the time.
    HWND MainWindow(DWORD timeoutMs) const;
    // Whether it has ended within the time.
    bool Ended(DWORD timeoutMs) const;
    // Its exit code once it has ended.
    DWORD ExitCode() const;

private:
    base::KernelHandle process_;
    DWORD id_ = 0;
};

}  // namespace testing_support
