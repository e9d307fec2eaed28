#pragma once
// The background and border of the drawn looks 0 to 4 (raised, soft, flat,
// etched, office), straight onto the button's surface.
#include <windows.h>

namespace controls::themedbutton {

struct FaceInput {
    int width = 0, height = 0;
    int state = 1;          // after the repaint's overrides
    bool emphasis = false;  // (focus and ShowFocus) or (no focus and the default-button hint)
    bool focusRect = false;  // the keyboard focus is shown: focus, ShowFocus and an active form
    bool useCustomColors = false;
    long backColor = 0;  // translated colours
    long highlightColor = 0;
};

// Draws style 0 to 4; any other value leaves the cleared surface as it is.
// surfaceBackground is the surface's background colour, replaced where a look sets it.
void DrawPlainFace(HDC dc, int style, const FaceInput& in, long& surfaceBackground);

}  // namespace controls::themedbutton
