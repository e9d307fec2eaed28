#pragma once
// Where a button's popup menu opens for each of its eight alignments.
#include <windows.h>

#include <optional>

namespace controls::imagebutton {

struct MenuPlacement {
    POINT point{};            // in the button's client pixels
    long flags = 0;           // TrackPopupMenu flags
    bool storeFlags = false;  // the alignment's flags replace the button's own from now on
};

// None for an alignment outside 0..7 (no menu opens).
std::optional<MenuPlacement> PlacePopupMenu(int align, long flags, int width, int height) noexcept;

}  // namespace controls::imagebutton
