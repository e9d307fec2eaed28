#pragma once
// A file that cannot be opened or played, with the reason in words for the user.
#include <windows.h>

#include <exception>
#include <string>

namespace media {

class MediaError : public std::exception {
public:
    explicit MediaError(std::wstring reason) : reason_(std::move(reason)) {}
    const std::wstring& Reason() const noexcept { return reason_; }
    const char* what() const noexcept override { return "media error"; }

private:
    std::wstring reason_;
};

// The system's own sentence for a Win32 error code.
std::wstring SystemErrorText(DWORD code);

}  // namespace media
