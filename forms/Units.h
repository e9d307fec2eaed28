#pragma once

namespace forms {

// The host measures in twips, 1/1440 inch; the screen in pixels.
constexpr int kTwipsPerInch = 1440;

int ScreenDpi() noexcept;
double PixelsToTwips(double pixels, int dpi = ScreenDpi()) noexcept;
double TwipsToPixels(double twips, int dpi = ScreenDpi()) noexcept;

}  // namespace forms
