#pragma once

namespace base {

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -0.5 -> 0).
// Used wherever a fractional value becomes an integer.
long long RoundHalfEven(double value) noexcept;

// The same, saturated to the int range.
int RoundToInt(double value) noexcept;

}  // namespace base
