#include "media/MediaFile.h"

#include <algorithm>

#include "media/FileError.h"
#include "media/MediaError.h"

namespace media {

MediaFile::MediaFile(const std::wstring& path)
    : handle_(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr)) {
    if (!handle_) throw FileError::Last();
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(handle_.Get(), &size)) throw FileError::Last();
    size_ = static_cast<std::uint64_t>(size.QuadPart);
    FILETIME written{};
    if (!::GetFileTime(handle_.Get(), nullptr, nullptr, &written)) throw FileError::Last();
    lastWriteTime_ = (std::uint64_t{written.dwHighDateTime} << 32) | written.dwLowDateTime;
}

std::size_t MediaFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const {
    if (stop_ && *stop_) throw MediaError(L"The reading was given up.");
    // Plain reads from the file pointer cost less than reads at a given offset.
    if (offset != pointer_) {
        LARGE_INTEGER to{};
        to.QuadPart = static_cast<LONGLONG>(offset);
        if (!::SetFilePointerEx(handle_.Get(), to, nullptr, FILE_BEGIN)) throw FileError::Last();
        pointer_ = offset;
    }
    auto* bytes = static_cast<unsigned char*>(buffer);
    std::size_t total = 0;
    while (total < size) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size - total, 1u << 30));
        DWORD read = 0;
        if (!::ReadFile(handle_.Get(), bytes + total, chunk, &read, nullptr)) {
            pointer_ = kUnknownPointer;
            throw FileError::Last();
        }
        pointer_ += read;
        if (read == 0) break;
        total += read;
    }
    return total;
}

}  // namespace media
