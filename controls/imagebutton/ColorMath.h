#pragma once
// Colour arithmetic of the image button's faces. Colours are translated values
// 0x00BBGGRR (or -1 for one that could not be translated).
#include "forms/ColorMath.h"

namespace controls::imagebutton {

// Each channel moved by fraction x 255 (the product in single precision, the sum
// rounded halves to even), then held at 255 for a positive fraction or at 0
// otherwise: only the bound in the direction of the shift applies.
long ShiftColor(long color, float fraction) noexcept;

// The channel helpers and the mean of two colours are the forms runtime's.
using forms::AverageColor;
using forms::BlueOf;
using forms::GreenOf;
using forms::RedOf;
using forms::RgbOf;

}  // namespace controls::imagebutton
