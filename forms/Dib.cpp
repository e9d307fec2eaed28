#include "forms/Dib.h"

namespace forms {

BitmapHandle CreateTopDownDib(int width, int height, void** bits, HDC dc) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    *bits = nullptr;
    BitmapHandle bitmap(::CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, nullptr, 0));
    if (!bitmap) *bits = nullptr;
    return bitmap;
}

}  // namespace forms
