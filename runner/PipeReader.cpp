#include "runner/PipeReader.h"

#include <atomic>
#include <deque>
#include <mutex>

namespace runner {

struct PipeReader::Shared {
    base::KernelHandle readEnd;
    base::KernelHandle process;
    base::KernelHandle ready{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::mutex mutex;
    std::deque<Block> blocks;
    std::atomic<bool> abandoned{false};

    void Push(Block block) {
        if (abandoned) return;
        std::lock_guard lock(mutex);
        blocks.push_back(std::move(block));
        ::SetEvent(ready.Get());
    }
};

PipeReader::PipeReader(base::KernelHandle readEnd, HANDLE process) : shared_(std::make_shared<Shared>()) {
    shared_->readEnd = std::move(readEnd);
    HANDLE duplicate = nullptr;
    if (process && ::DuplicateHandle(::GetCurrentProcess(), process, ::GetCurrentProcess(), &duplicate,
                                     SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, 0))
        shared_->process.Reset(duplicate);
    if (!shared_->ready) {
        error_ = ::GetLastError();
        return;
    }
    // The thread keeps its own reference, so it may outlive this reader.
    auto* forThread = new std::shared_ptr<Shared>(shared_);
    thread_.Reset(::CreateThread(nullptr, 0, &PipeReader::Run, forThread, 0, nullptr));
    if (!thread_) {
        error_ = ::GetLastError();
        delete forThread;
    }
}

PipeReader::~PipeReader() { shared_->abandoned = true; }

HANDLE PipeReader::BlockReady() const noexcept { return shared_->ready.Get(); }

std::optional<PipeReader::Block> PipeReader::Take() {
    std::lock_guard lock(shared_->mutex);
    if (shared_->blocks.empty()) {
        ::ResetEvent(shared_->ready.Get());
        return std::nullopt;
    }
    Block block = std::move(shared_->blocks.front());
    shared_->blocks.pop_front();
    if (shared_->blocks.empty()) ::ResetEvent(shared_->ready.Get());
    return block;
}

DWORD WINAPI PipeReader::Run(void* parameter) noexcept {
    std::shared_ptr<Shared> shared = std::move(*static_cast<std::shared_ptr<Shared>*>(parameter));
    delete static_cast<std::shared_ptr<Shared>*>(parameter);
    char buffer[kBlockSize];
    for (;;) {
        DWORD read = 0;
        bool ok = ::ReadFile(shared->readEnd.Get(), buffer, kBlockSize, &read, nullptr) != FALSE;
        Block block;
        block.bytes.assign(buffer, read);
        block.readSucceeded = ok;
        if (!ok) {
            // The output has ended; the child ends with it, or is ending.
            if (shared->process && ::WaitForSingleObject(shared->process.Get(), INFINITE) == WAIT_OBJECT_0) {
                DWORD code = 0;
                if (::GetExitCodeProcess(shared->process.Get(), &code)) block.exitCode = code;
            }
            shared->Push(std::move(block));
            return 0;
        }
        shared->Push(std::move(block));
    }
}

}  // namespace runner
