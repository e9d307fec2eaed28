#pragma once
// One-shot command capture: runs a program (no command interpreter) as a hidden
// child, blocks until its output has ended and returns all it wrote to standard
// output and standard error, reporting each block as it arrives. No window
// messages are dispatched meanwhile. Failures show their own message boxes.
#include <string>

#include "base/Event.h"

namespace runner {

class DOSOutputs {
public:
    DOSOutputs() = default;
    DOSOutputs(const DOSOutputs&) = delete;
    DOSOutputs& operator=(const DOSOutputs&) = delete;

    const std::wstring& CommandLine() const noexcept { return commandLine_; }
    void SetCommandLine(std::wstring commandLine) { commandLine_ = std::move(commandLine); }
    // The output of the last run that started a process.
    const std::wstring& Outputs() const noexcept { return output_; }

    // Runs the given command line, or the stored one when it is empty; returns
    // the output, or an empty string when nothing ran.
    std::wstring ExecuteCommand(const std::wstring& commandLine);

    // The block just read, before the next read.
    base::Event<std::wstring&> ReceiveOutputs;

private:
    std::wstring commandLine_;
    std::wstring output_;
};

}  // namespace runner
