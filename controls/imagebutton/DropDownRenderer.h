#pragma once
// The drop-down part at the right end of a button: a separator line and a glyph
// of the Marlett symbol font.
#include <windows.h>

#include "controls/imagebutton/Canvas.h"

namespace controls::imagebutton {

// Two lines 16 and 15 pixels from the right edge, darker and lighter than the
// face, when the caption leaves room for them.
void DrawDropDownSeparator(const Canvas& canvas, int captionRight);

// The symbol's digit glyph (1..9) drawn into its rectangle in a colour.
void DrawDropDownSymbol(HDC dc, const RECT& rect, int symbol, long color);

}  // namespace controls::imagebutton
