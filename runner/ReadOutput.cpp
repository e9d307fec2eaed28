#include "runner/ReadOutput.h"

#include <utility>

#include "base/MessageLoop.h"
#include "runner/AnsiDecoder.h"
#include "runner/PipeReader.h"

namespace runner {

namespace {

// How long a child asked to close may take before it is ended anyway.
constexpr DWORD kCloseGraceMs = 1000;
// How long a cancelled child may take to go after it was told to end.
constexpr DWORD kEndingTimeoutMs = 2000;

std::wstring Interpreter() {
    DWORD size = ::GetEnvironmentVariableW(L"ComSpec", nullptr, 0);
    if (size == 0) return {};
    std::wstring value(size, L'\0');
    DWORD length = ::GetEnvironmentVariableW(L"ComSpec", value.data(), size);
    value.resize(length < size ? length : 0);
    return value;
}

// Sleeps until a block is waiting or a message arrives for this thread.
void WaitForBlockOrMessage(HANDLE blockReady) {
    ::MsgWaitForMultipleObjectsEx(1, &blockReady, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

}  // namespace

void ReadOutput::RaiseError(const std::wstring& description, std::int32_t number) { Error.Raise(description, number); }

void ReadOutput::ProcessCommand() {
    if (command_.empty()) {
        RaiseError(L"Invalid Command.", kInvalidCommand);
    } else if (processing_) {
        RaiseError(L"Currently processing a command!", kAlreadyProcessing);
    } else {
        RunWithPipe(L"\"" + command_ + L"\"");
    }
}

void ReadOutput::RunWithPipe(const std::wstring& quotedCommand) {
    processing_ = true;
    exitCode_.reset();
    OutputPipe pipe = OutputPipe::Create();
    if (!pipe) {
        processing_ = false;
        RaiseError(L"CreatePipe failed.", static_cast<std::int32_t>(pipe.error));
        return;
    }
    std::wstring commandLine = directStart_ ? command_ : Interpreter() + L" /c " + quotedCommand;
    DWORD error = 0;
    ChildProcess child = ChildProcess::Start(commandLine, pipe.writeEnd.Get(), error);
    if (!child) {
        processing_ = false;
        pipe = OutputPipe{};
        RaiseError(L"CreateProcess failed.", static_cast<std::int32_t>(error));
        return;
    }
    pipe.writeEnd.Reset();  // the child's copy is the only one left: its end closes the pipe
    PipeReader reader(std::move(pipe.readEnd), child.Process());
    if (!reader.Started()) {
        child.EndAll(0, kEndingTimeoutMs);
        processing_ = false;
        RaiseError(L"CreateProcess failed.", static_cast<std::int32_t>(reader.Error()));
        return;
    }
    child_ = &child;

    Starting.Raise();
    cancel_ = false;
    AnsiDecoder decoder;
    for (;;) {
        base::DoEvents();
        if (cancel_) {
            Cancellation(child.Id());
            break;
        }
        std::optional<PipeReader::Block> block = reader.Take();
        if (!block) {
            WaitForBlockOrMessage(reader.BlockReady());
            continue;
        }
        if (block->readSucceeded) {
            GotChunk.Raise(decoder.Decode(block->bytes), false);
            continue;
        }
        exitCode_ = block->exitCode;
        GotChunk.Raise(decoder.Decode(block->bytes) + decoder.Flush(), true);
        Complete.Raise();
        if (cancel_) Cancellation(child.Id());
        break;
    }

    child_ = nullptr;
    processing_ = false;
    cancel_ = false;
}

void ReadOutput::Cancellation(DWORD processId) {
    if (CloseProcess(static_cast<std::int32_t>(processId), 0)) {
        Canceled.Raise();
    } else {
        RaiseError(L"Cannot close process id: " + std::to_wstring(processId), kCannotClose);
    }
}

void ReadOutput::CancelProcess() {
    if (processing_)
        cancel_ = true;
    else
        RaiseError(L"Not currently processing a command!", kNotProcessing);
}

bool ReadOutput::CloseProcess(std::int32_t processId, std::int32_t exitCode) {
    if (!familyKnown_) CheckWindowsFamily();
    const auto id = static_cast<DWORD>(processId);
    const auto code = static_cast<UINT>(exitCode);
    const ChildProcess* ours = child_ && child_->Id() == id ? child_ : nullptr;
    if (legacyPlatform_) {
        if (PostToProcessWindows(id, WM_ENDSESSION, static_cast<WPARAM>(-1))) {
            base::KernelHandle process(::OpenProcess(PROCESS_TERMINATE, FALSE, id));
            return process && ::TerminateProcess(process.Get(), code);
        }
    } else if (PostToProcessWindows(id, WM_CLOSE, 0)) {
        if (!ours) return true;  // asking is all that can be done with another's process
        // Our child gets a moment to close by itself, then is ended anyway:
        // a cancelled run is over only once none of its processes is left.
        ours->WaitForExit(kCloseGraceMs);
    }
    // A console child (the usual case) has no window to ask: it is ended with its job.
    return ours && ours->EndAll(code, kEndingTimeoutMs);
}

void ReadOutput::CheckWindowsFamily() {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (::GetVersionExW(&version)) {
        const DWORD major = version.dwMajorVersion;
        const DWORD minor = version.dwMinorVersion;
        legacyPlatform_ =
            ((major > 4 || (major == 4 && minor == 0)) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) ||
            (major == 4 && minor > 0);
    }
    familyKnown_ = true;
}

bool ReadOutput::PostToProcessWindows(DWORD processId, UINT message, WPARAM wParam) {
    HWND window = ::GetWindow(::GetDesktopWindow(), GW_CHILD);
    bool posted = false;
    for (; window; window = ::GetWindow(window, GW_HWNDNEXT)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (!::GetParent(window) && owner == processId && ::PostMessageW(window, message, wParam, 0)) posted = true;
    }
    return posted;
}

}  // namespace runner
