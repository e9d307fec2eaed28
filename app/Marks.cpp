#include "app/Marks.h"

#include <algorithm>

namespace app {

double Marks::WithinFile(double seconds) const noexcept { return std::clamp(seconds, 0.0, duration); }

double Marks::StartBounds(double seconds) const noexcept { return std::clamp(seconds, 0.0, end.value_or(duration)); }

double Marks::EndBounds(double seconds) const noexcept {
    return std::clamp(seconds, std::min(start.value_or(0), duration), duration);
}

}  // namespace app
