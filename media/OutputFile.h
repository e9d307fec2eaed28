#pragma once
// An existing file written over in place: what is written replaces its bytes from
// a given offset on, and the file ends where the writing ends. Others may go on
// reading it meanwhile.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "base/Handles.h"

namespace media {

// Hands `bytes` to `write` until all of them are written: `write` writes some and
// returns how many. One that writes none fails with FileError rather than being
// asked for ever.
void WriteInFull(const std::uint8_t* bytes, std::size_t size,
                 const std::function<std::size_t(const std::uint8_t*, std::size_t)>& write);

class OutputFile {
public:
    // These throw FileError with the system's reason when the system refuses.
    OutputFile(const std::wstring& path, std::uint64_t from);
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void Write(const std::uint8_t* bytes, std::size_t size);
    // Cuts off whatever of the old file lies after what has been written.
    void End();

private:
    base::KernelHandle handle_;
};

}  // namespace media
