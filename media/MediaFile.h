#pragma once
// A file opened for reading by its wide path. Others may keep reading, writing,
// renaming or deleting it while it is open: a player must not lock a user's file.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/Handles.h"

namespace media {

class MediaFile {
public:
    // Throws FileError with the system's reason when the file cannot be opened.
    explicit MediaFile(const std::wstring& path);
    MediaFile(MediaFile&&) noexcept = default;
    MediaFile& operator=(MediaFile&&) noexcept = default;

    std::uint64_t Size() const noexcept { return size_; }
    // When the file was last written before it was opened, in the system's 100 ns steps.
    std::uint64_t LastWriteTime() const noexcept { return lastWriteTime_; }

    // Reads up to `size` bytes at `offset` and returns how many were read (fewer
    // only at the end of the file). Throws FileError when the read fails.
    // One thread at a time may read.
    std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const;

    // From now on a read throws MediaError once `stop` is set (by another
    // thread), so that whatever reads the file, however long, gives up at once.
    void StopReadingWhen(const std::atomic<bool>& stop) noexcept { stop_ = &stop; }

private:
    static constexpr std::uint64_t kUnknownPointer = ~std::uint64_t{0};

    base::KernelHandle handle_;
    std::uint64_t size_ = 0;
    std::uint64_t lastWriteTime_ = 0;
    const std::atomic<bool>* stop_ = nullptr;
    mutable std::uint64_t pointer_ = 0;  // where the file pointer stands
};

}  // namespace media
