#pragma once
// A new file written through a buffer. It takes the place of another file only
// when complete; a file left incomplete is removed.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/Handles.h"

namespace media {

class OutputFile {
public:
    // Creates the file (replacing any there); throws MediaError with the system's reason when it cannot.
    explicit OutputFile(std::wstring path);
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    // Removes the file unless it has replaced its target.
    ~OutputFile();

    // Where the next Write goes.
    std::uint64_t Position() const noexcept { return position_; }
    // These throw MediaError when the system refuses the write.
    void Write(const std::uint8_t* bytes, std::size_t size);
    // Writes over bytes already written.
    void WriteAt(std::uint64_t offset, const std::vector<std::uint8_t>& bytes);

    // Writes what is left, closes the file and moves it over `target`; throws MediaError when it cannot.
    void Replace(const std::wstring& target);

private:
    void Flush();

    std::wstring path_;
    base::KernelHandle handle_;
    std::vector<std::uint8_t> pending_;
    std::uint64_t position_ = 0;
    bool placed_ = false;
};

}  // namespace media
