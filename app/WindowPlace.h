#pragma once
// Where a second window opens beside the main one, so that it hides none of the
// main window's controls.
#include <windows.h>

#include <vector>

namespace app {

// A place for a window of `size` in the work area: right of `main`, below it,
// left of it or above it, the first that fits whole; where none does, the place
// that covers the fewest of `controls` (screen rectangles), nearest below `main`.
RECT PlaceBeside(const RECT& main, SIZE size, const RECT& workArea, const std::vector<RECT>& controls);

}  // namespace app
