#pragma once
// A block of pixels in memory (a top-down DIB section of 24 or 32 bits per
// pixel) with a DC to copy to and from it.
#include <windows.h>

#include <cstdint>

#include "base/Handles.h"

namespace forms {

class PixelBlock {
public:
    PixelBlock(HDC reference, int width, int height, int bitsPerPixel);
    PixelBlock(const PixelBlock&) = delete;
    PixelBlock& operator=(const PixelBlock&) = delete;
    ~PixelBlock();

    bool Valid() const noexcept { return bits_ != nullptr; }
    HDC Dc() const noexcept { return dc_.Get(); }
    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }
    int BitsPerPixel() const noexcept { return bitsPerPixel_; }
    // Rows are padded to a multiple of four bytes.
    std::uint8_t* Row(int y) const noexcept { return bits_ + static_cast<std::size_t>(y) * stride_; }
    // The block's layout, for reading pixels into it with GetDIBits.
    BITMAPINFO Info() const noexcept;

private:
    int width_;
    int height_;
    int bitsPerPixel_;
    std::size_t stride_;
    base::MemoryDC dc_;
    base::BitmapHandle bitmap_;
    HGDIOBJ previous_ = nullptr;
    std::uint8_t* bits_ = nullptr;
};

}  // namespace forms
