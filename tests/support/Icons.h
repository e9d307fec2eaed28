#pragma once
// Small icons made pixel by pixel, for the pictures the tests, benchmarks and
// contact sheets put on buttons.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "forms/Picture.h"

namespace testing_support {

// A size x size icon; pixel(x, y) gives 0xAARRGGBB, or nothing where the icon is transparent.
std::shared_ptr<forms::Picture> MakeIcon(int size,
                                         const std::function<std::optional<std::uint32_t>(int x, int y)>& pixel);

}  // namespace testing_support
