#pragma once
// Taking a recording apart into pieces: which samples each piece holds, the
// name of its file, and the track number, title and performer its tag carries.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "media/ExactCut.h"
#include "media/PieceTags.h"

namespace media {

// How a recording of `length` samples is split: a piece starts at each point;
// where a point stands in a pause and pauses are left out, the piece before
// ends `keptOfPause` samples into the pause and the next begins as long before
// its end (a piece that would then end before it starts stays whole).
struct SplitLayout {
    std::uint64_t length = 0;
    std::vector<std::uint64_t> points;              // rising, within (0, length)
    std::vector<std::optional<SampleRange>> pauses; // one for each point, or none
    bool leavePausesOut = false;
    std::uint64_t keptOfPause = 0;
    std::vector<std::wstring> titles;  // one for each piece, or fewer
    std::vector<std::wstring> performers;
};

// The longest name Windows' file systems give one file.
inline constexpr std::size_t kLongestFileName = 255;

struct PlannedPiece {
    SampleRange range;
    std::wstring fileName;  // "<base> 01.mp3", "<base> 02 Title.mp3"
    PieceTags tags;
};

std::vector<PlannedPiece> PlanPieces(const SplitLayout& layout, const std::wstring& baseName);

// A title as part of a file name: the characters file names do not allow become
// "_", and it is cut to at most `longest` characters, never between the two
// halves of a character outside the basic plane.
std::wstring FileNameSafe(std::wstring text, std::size_t longest = std::wstring::npos);

// The leading ID3v2 tag of a piece (`leading`, as the encoder copied it from the
// source, possibly empty) with the piece's frames in place of the source's: the
// track number, and the title and performer where the piece has them. Every other
// frame, a cover picture too, stays; the source's ReplayGain frames give way to the
// piece's where it has any.
std::vector<std::uint8_t> TagWithPiece(std::span<const std::uint8_t> leading, const PieceTags& piece);

}  // namespace media
