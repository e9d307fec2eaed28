#pragma once
// The process runner: runs one console command at a time as a hidden child and
// reports what it writes to standard output and standard error, through five
// events raised from inside ProcessCommand. ProcessCommand returns when the run
// is over; meanwhile the thread's window messages keep being dispatched, so
// the host's other handlers (a Cancel button, timers, painting) run nested in it.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "base/Event.h"
#include "runner/ChildProcess.h"

namespace runner {

class ReadOutput {
public:
    // Error numbers raised through Error (besides the system's codes).
    static constexpr std::int32_t kInvalidCommand = 1200;
    static constexpr std::int32_t kAlreadyProcessing = 1201;
    static constexpr std::int32_t kNotProcessing = 1202;
    static constexpr std::int32_t kCannotClose = 1203;

    ReadOutput() = default;
    ReadOutput(const ReadOutput&) = delete;
    ReadOutput& operator=(const ReadOutput&) = delete;

    // The command to run, stored unchanged; a change does not touch a run in progress.
    const std::wstring& SetCommand() const noexcept { return command_; }
    void SetCommand(std::wstring command) { command_ = std::move(command); }

    // False (the default): the command runs through the system's command
    // interpreter ("ComSpec" /c "command"). True: the command is a program's own
    // command line, started directly, so nothing in it is expanded or re-encoded.
    bool DirectStart() const noexcept { return directStart_; }
    void SetDirectStart(bool direct) noexcept { directStart_ = direct; }

    void ProcessCommand();
    void CancelProcess();
    // Asks the process's top-level windows to close. This runner's child, given
    // a moment to go when it had a window to ask, is then ended with whatever
    // is left of all it started; true only once none of them is left. Another
    // process is only asked.
    bool CloseProcess(std::int32_t processId, std::int32_t exitCode);

    // From the start of a run until its clean-up.
    bool Processing() const noexcept { return processing_; }
    // A cancellation was asked for and the run has not cleaned up yet.
    bool CancelRequested() const noexcept { return cancel_; }
    // The running child's process id; 0 when idle.
    DWORD ProcessId() const noexcept { return child_ ? child_->Id() : 0; }
    // The child's exit code, known from the last GotChunk of a run on (also
    // while Complete is handled) until the next run starts. An exit code cannot
    // tell a cancelled run: a cancelled child is ended with code 0.
    std::optional<std::uint32_t> ExitCode() const noexcept { return exitCode_; }

    base::Event<const std::wstring&, std::int32_t&> Error;
    base::Event<const std::wstring&, bool> GotChunk;
    base::Event<> Complete;
    base::Event<> Starting;
    base::Event<> Canceled;

private:
    void RunWithPipe(const std::wstring& quotedCommand);
    void RaiseError(const std::wstring& description, std::int32_t number);
    void Cancellation(DWORD processId);
    void CheckWindowsFamily();
    static bool PostToProcessWindows(DWORD processId, UINT message, WPARAM wParam);

    std::wstring command_;
    bool directStart_ = false;
    bool processing_ = false;
    bool cancel_ = false;
    bool familyKnown_ = false;
    bool legacyPlatform_ = false;
    const ChildProcess* child_ = nullptr;  // the running child, while there is one
    std::optional<std::uint32_t> exitCode_;
};

}  // namespace runner
