#pragma once
// Reads a child's output pipe on a thread of its own, in blocks of at most 256
// bytes, and queues them for the user-interface thread. That thread can then
// keep dispatching its window messages while the child is silent.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "base/Handles.h"

namespace runner {

class PipeReader {
public:
    static constexpr DWORD kBlockSize = 256;

    struct Block {
        std::string bytes;
        // False for the last block: the read failed because every write end has closed.
        bool readSucceeded = true;
        // With the last block: the child's exit code, once it has ended.
        std::optional<std::uint32_t> exitCode;
    };

    // Takes the pipe's read end, and the child's process handle for its exit code.
    PipeReader(base::KernelHandle readEnd, HANDLE process);
    PipeReader(const PipeReader&) = delete;
    PipeReader& operator=(const PipeReader&) = delete;
    // Leaves a thread still waiting on the pipe to end with it, dropping what it reads.
    ~PipeReader();

    // False when the thread could not be started; `Error` then holds the system's code.
    bool Started() const noexcept { return static_cast<bool>(thread_); }
    DWORD Error() const noexcept { return error_; }

    // Signalled while blocks are waiting to be taken.
    HANDLE BlockReady() const noexcept;
    std::optional<Block> Take();

private:
    struct Shared;
    static DWORD WINAPI Run(void* shared) noexcept;

    std::shared_ptr<Shared> shared_;
    base::KernelHandle thread_;
    DWORD error_ = 0;
};

}  // namespace runner
