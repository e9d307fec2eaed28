#pragma once
// Where the encoder writes a cut: a temporary file beside the target, with the
// ".mp3" ending so the encoder knows the format. While the encoder writes its
// frame-snapped copy, the exact audio of the selection is prepared from the
// source; once the encoder is done, the copy is finished with it in place. The
// file replaces the target only once it has been checked; otherwise it is
// removed and the target, if there is one, stays as it was.
#include <windows.h>

#include <memory>
#include <string>

#include "media/Media.h"

namespace media {
class ExactCut;
struct Mp3Index;
struct PieceTags;
}  // namespace media

namespace app {

class TemporaryOutput {
public:
    // For a cut of `length` seconds from `start` of the file at `source`, whose
    // frame index, when the player has one, spares reading it again, with the
    // fades and level of `levels`. A cut that `mustBeExact` is refused where the
    // source allows only the encoder's frame-snapped copy. Creates the file empty,
    // so that its name is taken and the folder is known to be writable, and starts
    // preparing the exact audio.
    TemporaryOutput(std::wstring target, std::wstring source, double start, double length,
                    std::shared_ptr<const media::Mp3Index> sourceIndex = nullptr, const media::LevelChange& levels = {},
                    bool mustBeExact = false);
    TemporaryOutput(const TemporaryOutput&) = delete;
    TemporaryOutput& operator=(const TemporaryOutput&) = delete;
    // Abandons the file unless it has been put in place.
    ~TemporaryOutput();

    // Gives the file the tags of a piece of a recording when it is made exact.
    void SetTags(const media::PieceTags& tags);

    // The system's code when the file could not be created, otherwise 0.
    DWORD Error() const noexcept { return error_; }

    const std::wstring& Path() const noexcept { return path_; }
    const std::wstring& Target() const noexcept { return target_; }

    // Makes the encoder's copy exact where the source allows (otherwise it stays
    // frame-exact, unless the cut must be exact), checks that it holds the audio asked for (short of it by no
    // more than the encoder's rounding) and moves it over the target.
    // Returns why it could not, or an empty text when it is in place.
    std::wstring PutInPlace();
    // Once in place: what the user should know of the new file that did not stop the save; empty for nothing.
    const std::wstring& Notice() const noexcept { return notice_; }

    // For a save that will not be put in place: ends the preparation at once and
    // removes the file.
    void Abandon() noexcept;

    // A file that another program held open when its save ended is removed when the
    // next save starts, and here, as the program exits; one still held then is left
    // for the system to remove when it next starts, where the user may ask that.
    static void RemoveLeftovers() noexcept;

private:
    std::wstring target_;
    std::wstring path_;
    double seconds_;
    bool levels_;  // fades or a change of level asked for
    bool mustBeExact_;
    std::wstring notice_;
    std::unique_ptr<media::ExactCut> exactCut_;
    DWORD error_ = 0;
    bool owned_ = false;  // the file is there and ours to remove
};

}  // namespace app
