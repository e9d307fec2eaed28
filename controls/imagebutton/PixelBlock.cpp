#include "controls/imagebutton/PixelBlock.h"

namespace controls::imagebutton {

PixelBlock::PixelBlock(HDC reference, int width, int height, int bitsPerPixel)
    : width_(width),
      height_(height),
      bitsPerPixel_(bitsPerPixel),
      stride_(static_cast<std::size_t>((width * bitsPerPixel + 31) / 32 * 4)) {
    if (width <= 0 || height <= 0) return;
    info_.bmiHeader.biSize = sizeof info_.bmiHeader;
    info_.bmiHeader.biWidth = width;
    info_.bmiHeader.biHeight = -height;  // top-down: row 0 is the top row
    info_.bmiHeader.biPlanes = 1;
    info_.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
    info_.bmiHeader.biCompression = BI_RGB;
    dc_.Reset(::CreateCompatibleDC(reference));
    if (!dc_) return;
    void* bits = nullptr;
    bitmap_.Reset(::CreateDIBSection(reference, &info_, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap_ || !bits) return;
    previous_ = ::SelectObject(dc_.Get(), bitmap_.Get());
    bits_ = static_cast<std::uint8_t*>(bits);
}

PixelBlock::~PixelBlock() {
    // The bitmap leaves the DC before either is deleted.
    if (previous_) ::SelectObject(dc_.Get(), previous_);
}

}  // namespace controls::imagebutton
