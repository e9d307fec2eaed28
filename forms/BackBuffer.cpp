#include "forms/BackBuffer.h"

#include <climits>

#include "forms/Dib.h"

namespace forms {

HDC BackBuffer::Ensure(int width, int height) noexcept {
    if (bits_ && width <= width_ && height <= height_) return dc_.Get();
    if (width <= 0 || height <= 0) return Dc();
    Release();
    // A bitmap's bytes are counted in 32 bits; Wine gets larger ones wrong instead of failing.
    if (4LL * width * height > INT_MAX) return nullptr;
    base::WindowDC screen(nullptr);
    base::MemoryDC dc(::CreateCompatibleDC(screen.Get()));
    if (!dc) return nullptr;
    void* bits = nullptr;
    base::BitmapHandle bitmap = CreateTopDownDib(width, height, &bits, screen.Get());
    if (!bitmap || !bits) return nullptr;
    replaced_ = ::SelectObject(dc.Get(), bitmap.Get());
    dc_ = std::move(dc);
    bitmap_ = std::move(bitmap);
    bits_ = static_cast<std::uint32_t*>(bits);
    width_ = width;
    height_ = height;
    return dc_.Get();
}

void BackBuffer::Release() noexcept {
    if (replaced_) ::SelectObject(dc_.Get(), replaced_);
    replaced_ = nullptr;
    bitmap_.Reset();
    dc_.Reset();
    bits_ = nullptr;
    width_ = 0;
    height_ = 0;
}

void BackBuffer::CopyTo(HDC target, int x, int y, int width, int height, int sourceX, int sourceY) const noexcept {
    if (dc_) ::BitBlt(target, x, y, width, height, dc_.Get(), sourceX, sourceY, SRCCOPY);
}

}  // namespace forms
