#pragma once
// Writes 32-bit pixels (0x00RRGGBB, top row first) as a PNG file, for people to look at.
#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> data;  // 0x00RRGGBB
    std::uint32_t At(int x, int y) const { return data[static_cast<std::size_t>(y) * width + x]; }
};

bool WritePng(const std::wstring& path, const Pixels& pixels);
// For the picture tools: writes `name` into `folder` and prints its path for whoever asked.
bool WritePngInto(const std::wstring& folder, const std::wstring& name, const Pixels& pixels);

}  // namespace testing_support
