#pragma once
// Where the loaded file is split into pieces, and what is known of each piece:
// with n split points there are n + 1 pieces, from the file's start to its end,
// with no gap between them. A split point never stands at the file's start or
// end, and no two share a sample. Pauses found in the audio may stand with
// their split points, to be left out of the pieces they border; a pause stays
// with its point only while it holds that point and no other, and does not
// overlap its neighbour's, so that no piece can end before it starts.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/Event.h"

namespace app {

// What a saved piece keeps of a pause it borders, at each side, where the pauses are left out.
inline constexpr double kPauseKeptSeconds = 0.2;

struct PieceNames {
    std::wstring title;
    std::wstring performer;
};

// A quiet stretch [first, end) of samples around a split point.
struct Pause {
    std::uint64_t first = 0;
    std::uint64_t end = 0;
};

class SplitPoints {
public:
    // A file of `length` samples a channel, not split yet.
    void Reset(std::uint64_t length);

    std::uint64_t Length() const noexcept { return length_; }
    const std::vector<std::uint64_t>& Points() const noexcept { return points_; }
    std::size_t Pieces() const noexcept { return points_.size() + 1; }
    // The piece (from 0) that holds `sample`; a split point begins a piece.
    std::size_t PieceAt(std::uint64_t sample) const noexcept;
    // The samples [first, end) of a piece.
    std::uint64_t PieceFirst(std::size_t piece) const noexcept;
    std::uint64_t PieceEnd(std::size_t piece) const noexcept;

    // Adds a split point; false where there is one already or the sample is the file's start or end.
    bool Add(std::uint64_t sample);
    // Removes the split point nearest `sample`; false where there is none.
    bool RemoveNearest(std::uint64_t sample);
    // The split point nearest `sample`, by its number.
    std::optional<std::size_t> Nearest(std::uint64_t sample) const noexcept;
    // Moves a split point as far towards `sample` as its neighbours allow.
    void Move(std::size_t point, std::uint64_t sample);
    void RemoveAll();
    // Replaces every split point, with the names of the pieces they give and the
    // pauses they stand in, where known; what does not fit the rules is left out.
    void Replace(std::vector<std::uint64_t> points, std::vector<PieceNames> names = {},
                 std::vector<std::optional<Pause>> pauses = {});

    // The names of a piece, and of the whole recording.
    const PieceNames& Names(std::size_t piece) const noexcept;
    const PieceNames& Album() const noexcept { return album_; }
    void SetAlbum(PieceNames album);
    // The pause a split point stands in, where it was found in one.
    const std::optional<Pause>& PauseAt(std::size_t point) const noexcept { return pauses_[point]; }
    // Whether the pauses are left out of the pieces when they are saved.
    bool LeavePausesOut() const noexcept { return leavePausesOut_; }
    void SetLeavePausesOut(bool leaveOut);

    // Raised after every change.
    base::Event<> Changed;

private:
    void DropPausesNotTheirOwn();

    std::uint64_t length_ = 0;
    std::vector<std::uint64_t> points_;          // rising, each within (0, length_)
    std::vector<std::optional<Pause>> pauses_;   // one for each point
    std::vector<PieceNames> names_;              // one for each piece
    PieceNames album_;
    bool leavePausesOut_ = false;
};

}  // namespace app
