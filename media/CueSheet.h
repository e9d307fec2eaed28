#pragma once
// Cue sheets: text files that give the tracks of a recording held in one audio
// file, each by the time it starts (INDEX 01, minutes:seconds:frames at 75 frames a
// second), with titles and performers for the sheet and for each track.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "media/MediaError.h"

namespace media {

struct CueTrack {
    std::uint64_t start = 0;  // INDEX 01, in 75ths of a second
    std::wstring title;
    std::wstring performer;
    int line = 0;  // where its TRACK line stands, from 1
};

struct CueSheet {
    std::wstring file;  // the audio file's name, as its FILE line gives it
    std::wstring title;
    std::wstring performer;
    std::vector<CueTrack> tracks;  // in order, each starting after the one before
};

// A sheet that cannot be used: the line that is wrong (from 1; 0 for the whole
// sheet), and the reason in words that begin with the line's number.
class CueSheetError : public MediaError {
public:
    CueSheetError(int line, const std::wstring& what);
    int Line() const noexcept { return line_; }

private:
    int line_;
};

// Reads TRACK, INDEX 01, TITLE, PERFORMER and FILE lines; REM and other lines are
// left alone. The text is UTF-8 (with or without its byte order mark), UTF-16 with
// its mark, or else in the system's ANSI code page. Throws CueSheetError.
CueSheet ReadCueSheet(std::span<const std::uint8_t> bytes);

// The sheet as text with Windows line ends: plain ASCII where it holds no other
// character (every reader takes that), UTF-8 after a byte order mark where it does
// (without the mark, readers take it for the ANSI code page). A quotation mark
// inside a name, which the format cannot hold, becomes an apostrophe.
std::vector<std::uint8_t> WriteCueSheet(const CueSheet& sheet);

// What the user knows a piece by; either may be empty.
struct PieceNames {
    std::wstring title;
    std::wstring performer;
};

// Split points (samples, ascending, inside the file) and the names of the pieces
// between them (one more than the points).
struct SplitPoints {
    std::vector<std::uint64_t> points;
    std::vector<PieceNames> pieces;
};

// The split points of a sheet's tracks in a file of `length` samples at `rate`:
// each track's start after the file's start, to the nearest sample. A track's
// names go to the piece it begins, the sheet's performer to a track without one.
// Throws CueSheetError naming the track that starts at or past the file's end, or
// on the same sample as the one before.
SplitPoints SplitPointsOf(const CueSheet& sheet, int rate, std::uint64_t length);

// A sheet for the audio file `fileName` (a name without a folder) with one track
// per piece, each starting where its piece does (to the nearest 75th of a second;
// a point closer than that to the one before goes a 75th after it).
CueSheet CueSheetOf(const std::wstring& fileName, const SplitPoints& splits, int rate);

}  // namespace media
