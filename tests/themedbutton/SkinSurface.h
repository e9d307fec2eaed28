#pragma once
// A memory surface the skin and drawing tests paint on and read back.
#include <windows.h>

#include <cstdint>
#include <string>

#include "base/Handles.h"
#include "support/Png.h"

namespace skin_testing {

class SkinSurface {
public:
    // Filled with `background` (0x00BBGGRR) to start with.
    SkinSurface(int width, int height, long background = 0x123456);
    SkinSurface(const SkinSurface&) = delete;
    SkinSurface& operator=(const SkinSurface&) = delete;
    ~SkinSurface();

    HDC Dc() const noexcept { return dc_.Get(); }
    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }
    // The colour at (x, y) as 0x00BBGGRR.
    long At(int x, int y) const;
    testing_support::Pixels Pixels() const;

private:
    int width_;
    int height_;
    base::MemoryDC dc_;
    base::BitmapHandle bitmap_;
    std::uint32_t* bits_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
};

}  // namespace skin_testing
