#pragma once
// A file that cannot be opened or played, with the reason in words for the user.
#include <exception>
#include <string>
#include <utility>

namespace media {

class MediaError : public std::exception {
public:
    explicit MediaError(std::wstring reason) : reason_(std::move(reason)) {}
    const std::wstring& Reason() const noexcept { return reason_; }
    const char* what() const noexcept override { return "media error"; }

private:
    std::wstring reason_;
};

}  // namespace media
