#include "controls/progress/BarColors.h"

#include "base/Rounding.h"

namespace controls::progress {

namespace {
int Blend(int channel1, int channel2, int w) noexcept {
    return base::RoundToInt((255 - w) * channel2 / 255.0 + w * channel1 / 255.0);
}
}  // namespace

COLORREF ResolveColor(forms::OleColor color) noexcept {
    if ((color & 0x80000000u) == 0) return color;
    // GetSysColor gives black for an index it does not know.
    return ::GetSysColor(static_cast<int>(color & 0x7FFFFFFFu));
}

COLORREF BlendColors(forms::OleColor c1, forms::OleColor c2, int w) noexcept {
    const COLORREF a = ResolveColor(c1);
    const COLORREF b = ResolveColor(c2);
    return RGB(Blend(GetRValue(a), GetRValue(b), w), Blend(GetGValue(a), GetGValue(b), w),
               Blend(GetBValue(a), GetBValue(b), w));
}

}  // namespace controls::progress
