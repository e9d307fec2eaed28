#pragma once
// The off-screen surface a window draws itself into before one copy to the
// screen: a 32-bit top-down DIB section selected into a memory DC. It is made
// again only when the window grows, and when it cannot be made the caller
// draws straight on the window; the next Ensure tries again.
#include <windows.h>

#include <cstdint>

#include "base/Handles.h"

namespace forms {

class BackBuffer {
public:
    BackBuffer() = default;
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;
    ~BackBuffer() { Release(); }

    // Makes the buffer cover width x height, keeping the one there is when it is
    // already large enough. Returns its DC, or nullptr when there is none.
    HDC Ensure(int width, int height) noexcept;
    void Release() noexcept;

    HDC Dc() const noexcept { return dc_.Get(); }
    explicit operator bool() const noexcept { return bits_ != nullptr; }
    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }
    // Row y of the pixels (0x00RRGGBB), for reading back what was drawn.
    const std::uint32_t* Row(int y) const noexcept { return bits_ + static_cast<std::size_t>(y) * width_; }

    // Copies width x height from (sourceX, sourceY) of the buffer to (x, y) of target.
    void CopyTo(HDC target, int x, int y, int width, int height, int sourceX, int sourceY) const noexcept;

private:
    base::MemoryDC dc_;
    base::BitmapHandle bitmap_;
    HGDIOBJ replaced_ = nullptr;  // the DC's own bitmap, selected back before ours is deleted
    std::uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace forms
