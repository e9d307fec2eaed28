#pragma once
// Per-pixel arithmetic of picture drawing: the brighten and darken tables, the
// grey value, and blending a new value over what the surface holds.
#include <array>
#include <cstdint>

#include "forms/ColorMath.h"

namespace controls::imagebutton {

using ByteTable = std::array<std::uint8_t, 256>;

// min(255, x * 293 div 255)
const ByteTable& LookupBrighten() noexcept;
// x * 217 div 255
const ByteTable& LookupDarken() noexcept;

// The grey of a colour is the forms runtime's.
using forms::GreyOf;

// (a x s + (255 - a) x d) div 256: note the division by 256.
constexpr int BlendChannel(int alpha, int source, int destination) noexcept {
    return (alpha * source + (255 - alpha) * destination) / 256;
}

// The opacity of a picture while disabled: 52 faded, or 3/4 of the picture's own opacity in grey.
std::uint8_t DisabledOpacity(bool grayscale, std::uint8_t pictureOpacity) noexcept;

}  // namespace controls::imagebutton
