#pragma once
// Styles 3 to 9, each with a painter of its own; all of them horizontal.
#include <windows.h>

#include "controls/progress/BarLook.h"

namespace controls::progress {

bool HasOwnPainter(int style) noexcept;
// Draws one of styles 3 to 9 on a background the caller has cleared.
void DrawOtherStyle(HDC dc, const BarLook& look);

}  // namespace controls::progress
