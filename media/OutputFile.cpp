#include "media/OutputFile.h"

#include <algorithm>

#include "media/FileError.h"

namespace media {

OutputFile::OutputFile(const std::wstring& path, std::uint64_t from)
    : handle_(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                            nullptr)) {
    if (!handle_) throw FileError::Last();
    LARGE_INTEGER to{};
    to.QuadPart = static_cast<LONGLONG>(from);
    if (!::SetFilePointerEx(handle_.Get(), to, nullptr, FILE_BEGIN)) throw FileError::Last();
}

void WriteInFull(const std::uint8_t* bytes, std::size_t size,
                 const std::function<std::size_t(const std::uint8_t*, std::size_t)>& write) {
    while (size > 0) {
        const std::size_t written = std::min(write(bytes, size), size);
        if (written == 0) throw FileError(base::SystemErrorText(ERROR_WRITE_FAULT));
        bytes += written;
        size -= written;
    }
}

void OutputFile::Write(const std::uint8_t* bytes, std::size_t size) {
    WriteInFull(bytes, size, [this](const std::uint8_t* part, std::size_t left) -> std::size_t {
        DWORD written = 0;
        if (!::WriteFile(handle_.Get(), part, static_cast<DWORD>(std::min<std::size_t>(left, 1u << 30)), &written,
                         nullptr))
            throw FileError::Last();
        return written;
    });
}

void OutputFile::End() {
    if (!::SetEndOfFile(handle_.Get())) throw FileError::Last();
}

}  // namespace media
