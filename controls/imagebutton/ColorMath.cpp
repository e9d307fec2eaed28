#include "controls/imagebutton/ColorMath.h"

#include <algorithm>

#include "base/Rounding.h"

namespace controls::imagebutton {

namespace {
int ShiftChannel(int value, float fraction) noexcept {
    // The step is a single-precision product, so 0.1 x 255 is exactly 25.5.
    const float step = fraction * 255.0f;
    const long long shifted = base::RoundHalfEven(static_cast<double>(value) + static_cast<double>(step));
    const long long bounded = fraction > 0 ? std::min<long long>(shifted, 255) : std::max<long long>(shifted, 0);
    return static_cast<int>(bounded);
}
}  // namespace

long ShiftColor(long color, float fraction) noexcept {
    return RgbOf(ShiftChannel(RedOf(color), fraction), ShiftChannel(GreenOf(color), fraction),
                 ShiftChannel(BlueOf(color), fraction));
}

}  // namespace controls::imagebutton
