#pragma once
// 32-bit device-independent bitmaps whose pixels the program reads or writes directly.
#include <windows.h>

#include "forms/Handles.h"

namespace forms {

// A top-down 32-bit DIB section (row 0 at the top, pixels 0xAARRGGBB); bits receives its memory.
BitmapHandle CreateTopDownDib(int width, int height, void** bits, HDC dc = nullptr);

}  // namespace forms
