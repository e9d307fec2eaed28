#pragma once
// Styles 0 to 2, the ones that draw vertically too: segmented blocks, a smooth
// bar and three sliding blocks, inside a frame with shaded corners (which
// style 9 shares). Style numbers without a look of their own draw as style 1.
#include <windows.h>

#include "controls/progress/BarLook.h"

namespace controls::progress {

// The fill rectangle: from x = 3 to the fill's right edge, or from its top to the bottom,
// snapped to whole blocks and gaps.
RECT LayoutFill(const BarLook& look);
// Draws the fill; a horizontal fill ending at x = 14 or before is widened to a stub ending at 12.
void DrawFill(HDC dc, const BarLook& look, RECT& fill);
// The white gaps between style 0's blocks.
void DrawSeparators(HDC dc, const BarLook& look, const RECT& fill);
void DrawFrame(HDC dc, int width, int height);

void DrawBlockStyle(HDC dc, const BarLook& look);

}  // namespace controls::progress
