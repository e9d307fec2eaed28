#include "forms/ColorMath.h"

#include "base/Rounding.h"

namespace forms {

namespace {
int AverageChannel(int a, int b) noexcept { return static_cast<int>(base::RoundHalfEven((a + b) / 2.0)); }
}  // namespace

long AverageColor(long a, long b) noexcept {
    return RgbOf(AverageChannel(RedOf(a), RedOf(b)), AverageChannel(GreenOf(a), GreenOf(b)),
                 AverageChannel(BlueOf(a), BlueOf(b)));
}

int GreyOf(int red, int green, int blue) noexcept {
    const double redPart = static_cast<double>(base::RoundHalfEven(0.3 * red));
    return static_cast<int>(base::RoundHalfEven(0.59 * green + redPart + 0.11 * blue));
}

}  // namespace forms
