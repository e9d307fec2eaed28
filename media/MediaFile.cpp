#include "media/MediaFile.h"

#include <algorithm>

#include "media/MediaError.h"

namespace media {

MediaFile::MediaFile(const std::wstring& path)
    : handle_(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr)) {
    if (!handle_) throw MediaError(SystemErrorText(::GetLastError()));
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(handle_.Get(), &size)) throw MediaError(SystemErrorText(::GetLastError()));
    size_ = static_cast<std::uint64_t>(size.QuadPart);
}

std::size_t MediaFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const {
    auto* bytes = static_cast<unsigned char*>(buffer);
    std::size_t total = 0;
    while (total < size) {
        OVERLAPPED at{};
        std::uint64_t position = offset + total;
        at.Offset = static_cast<DWORD>(position);
        at.OffsetHigh = static_cast<DWORD>(position >> 32);
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size - total, 1u << 30));
        DWORD read = 0;
        if (!::ReadFile(handle_.Get(), bytes + total, chunk, &read, &at)) {
            DWORD error = ::GetLastError();
            if (error == ERROR_HANDLE_EOF) break;
            throw MediaError(SystemErrorText(error));
        }
        if (read == 0) break;
        total += read;
    }
    return total;
}

}  // namespace media
