#pragma once

namespace base {

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -0.5 -> 0).
// The rule of the windows and controls: pixel coordinates, sizes, colour channels,
// the slider's whole seconds. Sample positions round in media/ on their own: the
// exact cut with std::nearbyint (halves to even as well, in the default rounding
// mode) and the player's seek with std::llround (halves away from zero).
long long RoundHalfEven(double value) noexcept;

// The same, saturated to the int range.
int RoundToInt(double value) noexcept;

// The largest integer not above `value`, clipped to [low, high] before it is
// converted (converting a value beyond the type's range is undefined): a pixel
// column far off the drawing, close up in a long file, lands on its edge.
long FloorWithin(double value, long low, long high) noexcept;

}  // namespace base
