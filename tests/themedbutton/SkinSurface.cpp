#include "themedbutton/SkinSurface.h"

#include "forms/Dib.h"

namespace skin_testing {

SkinSurface::SkinSurface(int width, int height, long background)
    : width_(width), height_(height), dc_(::CreateCompatibleDC(nullptr)) {
    void* bits = nullptr;
    bitmap_ = forms::CreateTopDownDib(width, height, &bits, dc_.Get());
    bits_ = static_cast<std::uint32_t*>(bits);
    oldBitmap_ = ::SelectObject(dc_.Get(), bitmap_.Get());
    const RECT all{0, 0, width, height};
    ::SetDCBrushColor(dc_.Get(), static_cast<COLORREF>(background));
    ::FillRect(dc_.Get(), &all, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

SkinSurface::~SkinSurface() {
    if (oldBitmap_) ::SelectObject(dc_.Get(), oldBitmap_);
}

long SkinSurface::At(int x, int y) const {
    ::GdiFlush();
    const std::uint32_t rgb = bits_[static_cast<std::size_t>(y) * width_ + x] & 0xFFFFFF;
    return static_cast<long>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | (rgb >> 16));
}

testing_support::Pixels SkinSurface::Pixels() const {
    ::GdiFlush();
    testing_support::Pixels pixels;
    pixels.width = width_;
    pixels.height = height_;
    pixels.data.assign(bits_, bits_ + static_cast<std::size_t>(width_) * height_);
    for (auto& p : pixels.data) p &= 0xFFFFFF;
    return pixels;
}

}  // namespace skin_testing
