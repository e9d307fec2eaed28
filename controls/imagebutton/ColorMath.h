#pragma once
// Colour arithmetic of the image button's faces. Colours are translated values
// 0x00BBGGRR (or -1 for one that could not be translated).

namespace controls::imagebutton {

// Each channel moved by fraction x 255 (the product in single precision, the sum
// rounded halves to even), then held at 255 for a positive fraction or at 0
// otherwise: only the bound in the direction of the shift applies.
long ShiftColor(long color, float fraction) noexcept;

// The per-channel mean of two colours, rounded halves to even.
long AverageColor(long a, long b) noexcept;

constexpr int RedOf(long color) noexcept { return static_cast<int>(color & 0xFF); }
constexpr int GreenOf(long color) noexcept { return static_cast<int>((color >> 8) & 0xFF); }
constexpr int BlueOf(long color) noexcept { return static_cast<int>((color >> 16) & 0xFF); }
constexpr long RgbOf(int red, int green, int blue) noexcept {
    return static_cast<long>(red) + static_cast<long>(green) * 256 + static_cast<long>(blue) * 65536;
}

}  // namespace controls::imagebutton
