#pragma once
// 32-bit device-independent bitmaps whose pixels the program reads or writes directly.
#include <windows.h>

#include "base/Handles.h"

namespace forms {

// The description of a top-down DIB of that size and depth.
BITMAPINFO TopDownDibInfo(int width, int height, int bitsPerPixel = 32);

// A top-down DIB section (row 0 at the top; 32-bit pixels 0xAARRGGBB, 24-bit ones B, G, R with rows
// padded to four bytes); bits receives its memory.
base::BitmapHandle CreateTopDownDib(int width, int height, void** bits, HDC dc = nullptr, int bitsPerPixel = 32);

}  // namespace forms
