#pragma once
#include <windows.h>

namespace forms {

// The host measures in twips, 1/1440 inch; the screen in pixels.
constexpr int kTwipsPerInch = 1440;

int ScreenDpi() noexcept;
double PixelsToTwips(double pixels, int dpi = ScreenDpi()) noexcept;
double TwipsToPixels(double twips, int dpi = ScreenDpi()) noexcept;

// Where a control goes on its form: its left and top corner, width and height.
constexpr RECT Bounds(int left, int top, int width, int height) noexcept {
    return RECT{left, top, left + width, top + height};
}

}  // namespace forms
