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

void OutputFile::Write(const std::uint8_t* bytes, std::size_t size) {
    while (size > 0) {
        DWORD written = 0;
        if (!::WriteFile(handle_.Get(), bytes, static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30)), &written,
                         nullptr))
            throw FileError::Last();
        bytes += written;
        size -= written;
    }
}

void OutputFile::End() {
    if (!::SetEndOfFile(handle_.Get())) throw FileError::Last();
}

}  // namespace media
