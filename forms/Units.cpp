#include "forms/Units.h"

#include <windows.h>

namespace forms {

int ScreenDpi() noexcept {
    HDC dc = ::GetDC(nullptr);
    int dpi = dc ? ::GetDeviceCaps(dc, LOGPIXELSX) : 96;
    if (dc) ::ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}

double PixelsToTwips(double pixels, int dpi) noexcept { return pixels * kTwipsPerInch / dpi; }

double TwipsToPixels(double twips, int dpi) noexcept { return twips * dpi / kTwipsPerInch; }

}  // namespace forms
