#include "forms/ColorMath.h"

#include "forms/Rounding.h"

namespace forms {

namespace {
int AverageChannel(int a, int b) noexcept { return static_cast<int>(RoundHalfEven((a + b) / 2.0)); }
}  // namespace

long AverageColor(long a, long b) noexcept {
    return RgbOf(AverageChannel(RedOf(a), RedOf(b)), AverageChannel(GreenOf(a), GreenOf(b)),
                 AverageChannel(BlueOf(a), BlueOf(b)));
}

}  // namespace forms
