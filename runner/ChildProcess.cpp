#include "runner/ChildProcess.h"

#include <vector>

namespace runner {

namespace {

SECURITY_ATTRIBUTES Inheritable() {
    SECURITY_ATTRIBUTES attributes{};
    attributes.nLength = sizeof attributes;
    attributes.lpSecurityDescriptor = nullptr;
    attributes.bInheritHandle = TRUE;
    return attributes;
}

}  // namespace

OutputPipe OutputPipe::Create() {
    OutputPipe pipe;
    SECURITY_ATTRIBUTES attributes = Inheritable();
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &attributes, 0)) {
        pipe.error = ::GetLastError();
        return pipe;
    }
    pipe.readEnd.Reset(readEnd);
    pipe.writeEnd.Reset(writeEnd);
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
    SECURITY_ATTRIBUTES attributes = Inheritable();
    PROCESS_INFORMATION info{};
    // Suspended until it sits in its job, so nothing it starts escapes the job.
    if (!::CreateProcessW(nullptr, line.data(), &attributes, &attributes, TRUE,
                          NORMAL_PRIORITY_CLASS | CREATE_SUSPENDED, nullptr, nullptr, &startup, &info)) {
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

bool ChildProcess::Terminate(UINT exitCode) const noexcept {
    if (job_) return ::TerminateJobObject(job_.Get(), exitCode) != FALSE;
    // Without a job (the system refused one) only the child itself can be reached.
    return process_ && ::TerminateProcess(process_.Get(), exitCode) != FALSE;
}

}  // namespace runner
