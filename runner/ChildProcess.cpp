#include "runner/ChildProcess.h"

#include <vector>

namespace runner {

namespace {

// How often the end of a job's last process is looked for.
constexpr DWORD kPollMs = 10;

}  // namespace

OutputPipe OutputPipe::Create() {
    OutputPipe pipe;
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, nullptr, 0)) {
        pipe.error = ::GetLastError();
        return pipe;
    }
    pipe.readEnd.Reset(readEnd);
    pipe.writeEnd.Reset(writeEnd);
    if (!::SetHandleInformation(writeEnd, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT)) {
        pipe.error = ::GetLastError();
        pipe.readEnd.Reset();
        pipe.writeEnd.Reset();
    }
    return pipe;
}

ChildProcess ChildProcess::Start(const std::wstring& commandLine, HANDLE output, DWORD& error) {
    ChildProcess child;
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');  // CreateProcessW may write into its command line

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = nullptr;
    startup.hStdOutput = output;
    startup.hStdError = output;
    PROCESS_INFORMATION info{};
    // Suspended until it sits in its job, so nothing it starts escapes the job.
    auto create = [&] {
        return ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS | CREATE_SUSPENDED,
                                nullptr, nullptr, &startup, &info);
    };
    // Wine now and then refuses one start among hundreds with an internal error
    // that the next attempt does not meet; it is tried once more.
    if (!create() && (::GetLastError() != ERROR_INTERNAL_ERROR || !create())) {
        error = ::GetLastError();
        return child;
    }
    child.process_.Reset(info.hProcess);
    child.thread_.Reset(info.hThread);
    child.id_ = info.dwProcessId;
    base::KernelHandle job(::CreateJobObjectW(nullptr, nullptr));
    if (job && ::AssignProcessToJobObject(job.Get(), child.process_.Get())) child.job_ = std::move(job);
    ::ResumeThread(child.thread_.Get());
    error = 0;
    return child;
}

bool ChildProcess::WaitForExit(DWORD timeoutMs) const noexcept {
    return process_ && ::WaitForSingleObject(process_.Get(), timeoutMs) == WAIT_OBJECT_0;
}

bool ChildProcess::AnyLeft() const noexcept {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
    if (job_ && ::QueryInformationJobObject(job_.Get(), JobObjectBasicAccountingInformation, &accounting,
                                            sizeof accounting, nullptr))
        return accounting.ActiveProcesses != 0;
    return !WaitForExit(0);
}

bool ChildProcess::EndAll(UINT exitCode, DWORD timeoutMs) const noexcept {
    if (!process_) return false;
    // Without a job (the system refused one) only the child itself can be reached.
    if (job_)
        ::TerminateJobObject(job_.Get(), exitCode);
    else
        ::TerminateProcess(process_.Get(), exitCode);
    for (DWORD waited = 0; AnyLeft(); waited += kPollMs) {
        if (waited >= timeoutMs) return false;
        ::Sleep(kPollMs);
    }
    return true;
}

}  // namespace runner
