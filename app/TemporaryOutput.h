#pragma once
// Where the encoder writes a cut: a temporary file beside the target, with the
// ".mp3" ending so the encoder knows the format. It replaces the target only
// once it has been checked; otherwise it is removed and the target, if there
// is one, stays as it was.
#include <string>

namespace app {

class TemporaryOutput {
public:
    explicit TemporaryOutput(std::wstring target);
    TemporaryOutput(const TemporaryOutput&) = delete;
    TemporaryOutput& operator=(const TemporaryOutput&) = delete;
    // Removes the temporary file unless it has been put in place.
    ~TemporaryOutput();

    const std::wstring& Path() const noexcept { return path_; }
    const std::wstring& Target() const noexcept { return target_; }

    // Checks that the temporary file holds audio and moves it over the target.
    // Returns why it could not, or an empty text when it is in place.
    std::wstring PutInPlace();

private:
    std::wstring target_;
    std::wstring path_;
    bool placed_ = false;
};

}  // namespace app
