#include "media/OutputFile.h"

#include <algorithm>

#include "base/SystemErrorText.h"
#include "media/MediaError.h"

namespace media {

namespace {

// Writes this large cost the system little more than the copying.
constexpr std::size_t kBufferSize = 1 << 20;

[[noreturn]] void ThrowLastError() { throw MediaError(base::SystemErrorText(::GetLastError())); }

void WriteAll(HANDLE file, const std::uint8_t* bytes, std::size_t size) {
    while (size > 0) {
        DWORD written = 0;
        if (!::WriteFile(file, bytes, static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30)), &written, nullptr))
            ThrowLastError();
        bytes += written;
        size -= written;
    }
}

}  // namespace

OutputFile::OutputFile(std::wstring path)
    : path_(std::move(path)),
      handle_(::CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {
    if (!handle_) ThrowLastError();
    pending_.reserve(kBufferSize);
}

OutputFile::~OutputFile() {
    if (placed_) return;
    handle_.Reset();
    ::DeleteFileW(path_.c_str());
}

void OutputFile::Flush() {
    WriteAll(handle_.Get(), pending_.data(), pending_.size());
    pending_.clear();
}

void OutputFile::Write(const std::uint8_t* bytes, std::size_t size) {
    if (pending_.size() + size > kBufferSize) Flush();
    position_ += size;
    if (size < kBufferSize) {
        pending_.insert(pending_.end(), bytes, bytes + size);
        return;
    }
    // A large block goes out as it is, without a copy.
    WriteAll(handle_.Get(), bytes, size);
}

void OutputFile::WriteAt(std::uint64_t offset, const std::vector<std::uint8_t>& bytes) {
    Flush();
    LARGE_INTEGER to{};
    to.QuadPart = static_cast<LONGLONG>(offset);
    if (!::SetFilePointerEx(handle_.Get(), to, nullptr, FILE_BEGIN)) ThrowLastError();
    WriteAll(handle_.Get(), bytes.data(), bytes.size());
    to.QuadPart = static_cast<LONGLONG>(position_);
    if (!::SetFilePointerEx(handle_.Get(), to, nullptr, FILE_BEGIN)) ThrowLastError();
}

void OutputFile::Replace(const std::wstring& target) {
    Flush();
    handle_.Reset();
    // Only a step on the way to the file put in place: no need to wait for the disk.
    if (!::MoveFileExW(path_.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) ThrowLastError();
    placed_ = true;
}

}  // namespace media
