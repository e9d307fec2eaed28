#pragma once
// The selection's marks as the main window's read-outs hold them, in seconds,
// and the rules for where a mark may go, for every way of moving one.
#include <optional>

namespace app {

struct Marks {
    std::optional<double> start;
    std::optional<double> end;
    std::optional<double> length;  // where the saved cut ends, counted from the start
    double duration = 0;           // the loaded file's

    // A time held to the file.
    double WithinFile(double seconds) const noexcept;
    // Where a moved mark ends up: the start within 0 and the end (or the file's
    // end where none is set), the end within the start and the file's end.
    double StartBounds(double seconds) const noexcept;
    double EndBounds(double seconds) const noexcept;
    // Whether a start there would lie after the end, or an end before the start:
    // such a move is refused.
    bool RefusesStart(double seconds) const noexcept { return end && seconds > *end; }
    bool RefusesEnd(double seconds) const noexcept { return seconds < start.value_or(0); }
};

}  // namespace app
