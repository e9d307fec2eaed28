#pragma once
// Look 6: the platform's visual theme draws a push button.
#include <windows.h>

namespace controls::themedbutton {

// Draws the theme's push button for the visual state (the defaulted state 5 for a
// focused normal button); with roundedBorders the theme's outline becomes the
// window's region. False when there is no active theme or it could not draw.
bool DrawThemeFace(HWND window, HDC dc, int width, int height, int state, bool hasFocus, bool roundedBorders);

}  // namespace controls::themedbutton
