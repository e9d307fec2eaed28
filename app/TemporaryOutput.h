#pragma once
// Where the encoder writes a cut: a temporary file beside the target, with the
// ".mp3" ending so the encoder knows the format. Once the encoder is done, its
// frame-snapped copy is made to hold exactly the selected samples; the file
// replaces the target only once it has been checked; otherwise it is removed
// and the target, if there is one, stays as it was.
#include <windows.h>

#include <memory>
#include <string>

namespace media {
struct Mp3Index;
}

namespace app {

class TemporaryOutput {
public:
    // For a cut of `length` seconds from `start` of the file at `source`, whose
    // frame index, when the player has one, spares reading it again.
    // Creates the file empty, so that its name is taken and the folder is
    // known to be writable.
    TemporaryOutput(std::wstring target, std::wstring source, double start, double length,
                    std::shared_ptr<const media::Mp3Index> sourceIndex = nullptr);
    TemporaryOutput(const TemporaryOutput&) = delete;
    TemporaryOutput& operator=(const TemporaryOutput&) = delete;
    // Removes the temporary file unless it has been put in place.
    ~TemporaryOutput();

    // The system's code when the file could not be created, otherwise 0.
    DWORD Error() const noexcept { return error_; }

    const std::wstring& Path() const noexcept { return path_; }
    const std::wstring& Target() const noexcept { return target_; }

    // Makes the encoder's copy exact where the source allows (otherwise it stays
    // frame-exact), checks that it holds the audio asked for (short of it by no
    // more than the encoder's rounding) and moves it over the target.
    // Returns why it could not, or an empty text when it is in place.
    std::wstring PutInPlace();

private:
    std::wstring target_;
    std::wstring path_;
    std::wstring source_;
    double start_;
    double seconds_;
    std::shared_ptr<const media::Mp3Index> sourceIndex_;
    DWORD error_ = 0;
    bool placed_ = false;
};

}  // namespace app
