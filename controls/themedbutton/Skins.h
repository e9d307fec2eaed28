#pragma once
#include <windows.h>

namespace controls::themedbutton {

struct SkinInput {
    int width = 0, height = 0;  // W and H of the surface
    int state = 1;              // visual state after the repaint's overrides: 1 normal, 2 hot, 3 pressed, 4 disabled, 5
    bool hasFocus = false;
    bool defaultHint = false;  // the host's default-button hint ("DisplayAsDefault")
    bool showFocus = false;
    bool focusRect = false;  // the keyboard focus is shown: focus, ShowFocus and an active form
    bool useCustomColors = false;
    long backColor = 0;  // translated colours
    long highlightColor = 0;
};

// Draws the background and border of skin Style 5 (its custom-colour variant when
// useCustomColors), 7, 8, 9 or 10. surfaceBackground is the surface's current
// background colour: a skin that sets the background fills with it and stores it;
// one that leaves it (Style 5 custom, state 3) reads it.
void DrawSkin(HDC dc, int style, const SkinInput& input, long& surfaceBackground);

}  // namespace controls::themedbutton
