#include "controls/imagebutton/PixelEffects.h"

#include <algorithm>

#include "base/Rounding.h"

namespace controls::imagebutton {

namespace {
constexpr std::uint8_t kFadedOpacity = 52;

template <typename Rule>
ByteTable MakeTable(Rule rule) noexcept {
    ByteTable table{};
    for (int x = 0; x < 256; ++x) table[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(rule(x));
    return table;
}
}  // namespace

const ByteTable& LookupBrighten() noexcept {
    static const ByteTable table = MakeTable([](int x) { return std::min(255, x * 293 / 255); });
    return table;
}

const ByteTable& LookupDarken() noexcept {
    static const ByteTable table = MakeTable([](int x) { return x * 217 / 255; });
    return table;
}

std::uint8_t DisabledOpacity(bool grayscale, std::uint8_t pictureOpacity) noexcept {
    if (!grayscale) return kFadedOpacity;
    return static_cast<std::uint8_t>(std::clamp<long long>(base::RoundHalfEven(pictureOpacity * 0.75), 0, 255));
}

}  // namespace controls::imagebutton
