#pragma once
#include <cstdint>

namespace forms {

// Colour values are 0x00BBGGRR; 0x80000000 + index refers to a system colour.
using OleColor = std::uint32_t;

constexpr OleColor SystemColor(int index) noexcept { return 0x80000000u + static_cast<OleColor>(index); }

// The colour to draw with: system colour references resolved, -1 when the
// value is neither a colour nor a known system colour.
long TranslateColor(OleColor color) noexcept;

}  // namespace forms
