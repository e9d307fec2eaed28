#pragma once
// Starting a console program as a hidden child whose standard output and
// standard error both go to one anonymous pipe.
#include <windows.h>

#include <string>

#include "base/Handles.h"

namespace runner {

// The system's default buffer size. Only the write end is inheritable: a child
// started with it gets that end and no other handle of ours.
struct OutputPipe {
    base::KernelHandle readEnd;
    base::KernelHandle writeEnd;
    DWORD error = 0;  // the system's code when the pipe could not be made

    static OutputPipe Create();
    explicit operator bool() const noexcept { return readEnd && writeEnd; }
};

// A running child and the job that holds it and everything it starts, so that
// a cancelled run can be ended with all its descendants. Closing the job does
// not end the child: a run left alone goes on. The process and thread handles
// kept here are not inheritable, so no child started later gets them.
class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(ChildProcess&&) noexcept = default;
    ChildProcess& operator=(ChildProcess&&) noexcept = default;

    // Starts the command line (program and arguments, no interpreter) hidden,
    // with no standard input and `output` as standard output and error. On
    // failure the result is empty and `error` holds the system's code.
    static ChildProcess Start(const std::wstring& commandLine, HANDLE output, DWORD& error);

    explicit operator bool() const noexcept { return static_cast<bool>(process_); }
    DWORD Id() const noexcept { return id_; }
    HANDLE Process() const noexcept { return process_.Get(); }

    // Waits up to `timeoutMs` for the child itself to end; true once it has.
    bool WaitForExit(DWORD timeoutMs) const noexcept;
    // Ends the child and all it started with the given exit code, and waits up
    // to `timeoutMs` until none of them is left; true once none is.
    bool EndAll(UINT exitCode, DWORD timeoutMs) const noexcept;

private:
    bool AnyLeft() const noexcept;

    base::KernelHandle process_;
    base::KernelHandle thread_;
    base::KernelHandle job_;
    DWORD id_ = 0;
};

}  // namespace runner
