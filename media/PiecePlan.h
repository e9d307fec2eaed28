#pragma once
// The pieces a recording is split into, as they are saved: each one's samples,
// its number, its names and the file it goes to.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "media/CueSheet.h"
#include "media/SplitSearch.h"

namespace media {

struct Piece {
    std::uint64_t first = 0;  // its samples [first, end)
    std::uint64_t end = 0;
    int number = 0;  // from 1
    int count = 0;   // of all pieces
    std::wstring title;
    std::wstring performer;
    std::wstring path;  // "<base> 01.mp3", or "<base> 01 Title.mp3" where it has a title
};

// Seconds of a pause left out that stay at each side of it.
inline constexpr double kPauseKeptSeconds = 0.2;

// The pieces between the split points of a file of `length` samples at `rate`,
// gapless: each ends where the next begins. Where a split point lies in one of
// `leftOut` (pauses to leave out of the pieces), the piece before it ends
// kPauseKeptSeconds into the pause and the next begins as long before its end.
// Files are named from `base` (a path without ".mp3") and the piece's number, with
// at least two digits, and its title, in which characters that file names do not
// allow become "_".
std::vector<Piece> PlanPieces(const SplitPoints& splits, std::uint64_t length, int rate, std::span<const Pause> leftOut,
                              const std::wstring& base);

// The track number a piece's tag gives: "k/N".
std::wstring TrackNumber(const Piece& piece);

}  // namespace media
