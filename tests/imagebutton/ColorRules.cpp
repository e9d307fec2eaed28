#include "ColorRules.h"

#include <algorithm>
#include <cmath>

namespace imagebutton_test::rule {

namespace {
int Channel(long color, int index) { return static_cast<int>((color >> (8 * index)) & 0xFF); }

template <typename Rule>
long PerChannel(Rule rule) {
    long result = 0;
    for (int index = 0; index < 3; ++index) result |= static_cast<long>(rule(index)) << (8 * index);
    return result;
}
}  // namespace

long Shift(long color, float fraction) {
    const float step = fraction * 255.0f;
    return PerChannel([&](int index) {
        // nearbyint rounds halves to even in the default rounding mode.
        const int moved = static_cast<int>(std::nearbyint(Channel(color, index) + static_cast<double>(step)));
        return fraction > 0 ? std::min(moved, 255) : std::max(moved, 0);
    });
}

long Average(long a, long b) {
    return PerChannel([&](int index) {
        const int sum = Channel(a, index) + Channel(b, index);
        const int half = sum / 2;
        return sum % 2 == 0 || half % 2 == 0 ? half : half + 1;
    });
}

long GradientStep(long from, long to, int steps, int i) {
    return PerChannel([&](int index) {
        const int f = Channel(from, index);
        const int t = Channel(to, index);
        return steps == 1 ? f / 2 + t / 2 : f + (t - f) * i / (steps - 1);
    });
}

}  // namespace imagebutton_test::rule
