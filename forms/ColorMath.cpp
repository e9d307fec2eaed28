#include "forms/ColorMath.h"

#include <algorithm>

#include "base/Rounding.h"

namespace forms {

namespace {
int AverageChannel(int a, int b) noexcept { return static_cast<int>(base::RoundHalfEven((a + b) / 2.0)); }

int LightenChannel(int channel, int k) noexcept { return std::clamp(k + (255 - k) * channel / 255, 0, 255); }
}  // namespace

long AverageColor(long a, long b) noexcept {
    return RgbOf(AverageChannel(RedOf(a), RedOf(b)), AverageChannel(GreenOf(a), GreenOf(b)),
                 AverageChannel(BlueOf(a), BlueOf(b)));
}

long LightenColor(long color, int k) noexcept {
    return RgbOf(LightenChannel(RedOf(color), k), LightenChannel(GreenOf(color), k), LightenChannel(BlueOf(color), k));
}

int GreyOf(int red, int green, int blue) noexcept {
    const double redPart = static_cast<double>(base::RoundHalfEven(0.3 * red));
    return static_cast<int>(base::RoundHalfEven(0.59 * green + redPart + 0.11 * blue));
}

}  // namespace forms
