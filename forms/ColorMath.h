#pragma once
// Channel arithmetic on colour values 0x00BBGGRR, shared by the owner-drawn controls.

namespace forms {

constexpr int RedOf(long color) noexcept { return static_cast<int>(color & 0xFF); }
constexpr int GreenOf(long color) noexcept { return static_cast<int>((color >> 8) & 0xFF); }
constexpr int BlueOf(long color) noexcept { return static_cast<int>((color >> 16) & 0xFF); }
constexpr long RgbOf(int red, int green, int blue) noexcept {
    return static_cast<long>(red) + static_cast<long>(green) * 256 + static_cast<long>(blue) * 65536;
}

// The per-channel mean of two colours, rounded halves to even.
long AverageColor(long a, long b) noexcept;

// Each channel moved towards white by k of 255: k + (255 - k) x channel / 255,
// the fraction dropped, held within 0..255.
long LightenColor(long color, int k) noexcept;

// The grey level of a colour: round(round(0.3 R) + 0.59 G + 0.11 B), halves to even.
int GreyOf(int red, int green, int blue) noexcept;

}  // namespace forms
