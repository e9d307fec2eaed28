#pragma once
// A memory surface the skin and drawing tests paint on and read back.
#include <windows.h>

#include "forms/PixelBlock.h"

namespace skin_testing {

class SkinSurface {
public:
    // Filled with `background` (0x00BBGGRR) to start with.
    SkinSurface(int width, int height, long background = 0x123456);

    HDC Dc() const noexcept { return block_.Dc(); }
    int Width() const noexcept { return block_.Width(); }
    int Height() const noexcept { return block_.Height(); }
    // The colour at (x, y) as 0x00BBGGRR.
    long At(int x, int y) const;

private:
    forms::PixelBlock block_;
};

}  // namespace skin_testing
