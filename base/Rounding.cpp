#include "base/Rounding.h"

#include <climits>
#include <cmath>

namespace base {

long long RoundHalfEven(double value) noexcept {
    if (std::isnan(value)) return 0;
    if (value >= 9.2e18) return LLONG_MAX;
    if (value <= -9.2e18) return LLONG_MIN;
    // nearbyint rounds halves to even in the default rounding mode; do it by
    // hand so the result never depends on the caller's floating-point state.
    double floor = std::floor(value);
    double diff = value - floor;
    long long whole = static_cast<long long>(floor);
    if (diff > 0.5) return whole + 1;
    if (diff < 0.5) return whole;
    return (whole % 2 == 0) ? whole : whole + 1;
}

int RoundToInt(double value) noexcept {
    long long r = RoundHalfEven(value);
    if (r > INT_MAX) return INT_MAX;
    if (r < INT_MIN) return INT_MIN;
    return static_cast<int>(r);
}

long FloorWithin(double value, long low, long high) noexcept {
    if (!(value >= static_cast<double>(low))) return low;  // NaN too
    if (value >= static_cast<double>(high)) return high;
    return static_cast<long>(std::floor(value));
}

}  // namespace base
