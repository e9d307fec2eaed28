#include "forms/PixelBlock.h"

#include "forms/Dib.h"

namespace forms {

PixelBlock::PixelBlock(HDC reference, int width, int height, int bitsPerPixel)
    : width_(width),
      height_(height),
      bitsPerPixel_(bitsPerPixel),
      stride_(static_cast<std::size_t>((width * bitsPerPixel + 31) / 32 * 4)) {
    if (width <= 0 || height <= 0) return;
    dc_.Reset(::CreateCompatibleDC(reference));
    if (!dc_) return;
    void* bits = nullptr;
    bitmap_ = CreateTopDownDib(width, height, &bits, reference, bitsPerPixel);
    if (!bitmap_ || !bits) return;
    previous_ = ::SelectObject(dc_.Get(), bitmap_.Get());
    bits_ = static_cast<std::uint8_t*>(bits);
}

BITMAPINFO PixelBlock::Info() const noexcept { return TopDownDibInfo(width_, height_, bitsPerPixel_); }

PixelBlock::~PixelBlock() {
    // The bitmap leaves the DC before either is deleted.
    if (previous_) ::SelectObject(dc_.Get(), previous_);
}

}  // namespace forms
