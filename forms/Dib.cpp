#include "forms/Dib.h"

namespace forms {

BITMAPINFO TopDownDibInfo(int width, int height, int bitsPerPixel) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

base::BitmapHandle CreateTopDownDib(int width, int height, void** bits, HDC dc, int bitsPerPixel) {
    const BITMAPINFO info = TopDownDibInfo(width, height, bitsPerPixel);
    *bits = nullptr;
    base::BitmapHandle bitmap(::CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, nullptr, 0));
    if (!bitmap) *bits = nullptr;
    return bitmap;
}

}  // namespace forms
