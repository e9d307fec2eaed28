#pragma once
// The bar's colour arithmetic on 0x00BBGGRR values.
#include <windows.h>

#include "forms/ColorMath.h"
#include "forms/Colors.h"

namespace controls::progress {

// A system colour reference (top bit set) becomes the system's current colour; any other value stays.
COLORREF ResolveColor(forms::OleColor color) noexcept;

// Each channel moved towards white by k of 255 (0 keeps the colour, 255 gives white), truncating.
using forms::LightenColor;

// w of 255 parts of c1 and the rest of c2, per channel, rounded halves to even.
COLORREF BlendColors(forms::OleColor c1, forms::OleColor c2, int w) noexcept;

}  // namespace controls::progress
