#include "themedbutton/SkinSurface.h"

#include <cstdint>

#include "forms/SolidFill.h"

namespace skin_testing {

SkinSurface::SkinSurface(int width, int height, long background) : block_(nullptr, width, height, 32) {
    forms::FillSolid(block_.Dc(), RECT{0, 0, width, height}, static_cast<COLORREF>(background));
}

long SkinSurface::At(int x, int y) const {
    ::GdiFlush();
    const std::uint32_t rgb = reinterpret_cast<const std::uint32_t*>(block_.Row(y))[x] & 0xFFFFFF;
    return static_cast<long>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | (rgb >> 16));
}

}  // namespace skin_testing
