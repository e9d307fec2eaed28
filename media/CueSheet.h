#pragma once
// Cue sheets: the text files that name where each track of a recording begins
// (its INDEX 01, in minutes, seconds and frames of 1/75 s) with its title and
// performer, and the recording's own.
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace media {

struct CueTrack {
    std::wstring title;
    std::wstring performer;
    std::uint64_t start = 0;  // in frames of 1/75 s
};

struct CueSheet {
    std::wstring title;
    std::wstring performer;
    std::wstring file;  // the audio file's name, as the sheet names it
    std::vector<CueTrack> tracks;
};

// A sheet that cannot be read: the line (from 1) and what is wrong with it.
class CueSheetError : public std::runtime_error {
public:
    CueSheetError(int line, std::wstring problem)
        : std::runtime_error("malformed cue sheet"), line_(line), problem_(std::move(problem)) {}
    int Line() const noexcept { return line_; }
    const std::wstring& Problem() const noexcept { return problem_; }

private:
    int line_;
    std::wstring problem_;
};

inline constexpr int kCueFramesPerSecond = 75;
// The format numbers tracks with two digits, from 01.
inline constexpr std::size_t kCueMostTracks = 99;

// Reads TRACK, INDEX 01, TITLE, PERFORMER and FILE (of one file only); REM and
// every other line are passed over. The text is UTF-8, with or without its byte
// order mark, UTF-16 with its byte order mark, or else in the system's ANSI code
// page; its lines end at CR, LF or CRLF. Throws CueSheetError.
CueSheet ReadCueSheet(std::span<const std::uint8_t> bytes);

// The sheet (of at most kCueMostTracks tracks) as UTF-8 text with a byte order
// mark and Windows line ends.
std::string WriteCueSheet(const CueSheet& sheet);

// "mm:ss:ff" of a time in frames of 1/75 s.
std::wstring CueTime(std::uint64_t frames);

}  // namespace media
