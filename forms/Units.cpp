#include "forms/Units.h"

#include <windows.h>

#include "base/Handles.h"

namespace forms {

int ScreenDpi() noexcept {
    base::WindowDC screen(nullptr);
    int dpi = screen.Get() ? ::GetDeviceCaps(screen.Get(), LOGPIXELSX) : 96;
    return dpi > 0 ? dpi : 96;
}

double PixelsToTwips(double pixels, int dpi) noexcept { return pixels * kTwipsPerInch / dpi; }

double TwipsToPixels(double twips, int dpi) noexcept { return twips * dpi / kTwipsPerInch; }

}  // namespace forms
