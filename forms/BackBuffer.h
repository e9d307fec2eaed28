#pragma once
// The off-screen surface a window draws itself into before one copy to the
// screen: a 32-bit pixel block. It is made again only when the window grows,
// and when it cannot be made the caller draws straight on the window; the next
// Ensure tries again.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>

#include "forms/PixelBlock.h"

namespace forms {

class BackBuffer {
public:
    // Makes the buffer cover width x height, keeping the one there is when it is
    // already large enough. Returns its DC, or nullptr when there is none.
    HDC Ensure(int width, int height) noexcept;

    HDC Dc() const noexcept { return block_ ? block_->Dc() : nullptr; }
    explicit operator bool() const noexcept { return block_.has_value(); }
    int Width() const noexcept { return block_ ? block_->Width() : 0; }
    int Height() const noexcept { return block_ ? block_->Height() : 0; }
    // Row y of the pixels (0x00RRGGBB), for reading back what was drawn.
    const std::uint32_t* Row(int y) const noexcept { return reinterpret_cast<const std::uint32_t*>(block_->Row(y)); }

    // Copies width x height from (sourceX, sourceY) of the buffer to (x, y) of target.
    void CopyTo(HDC target, int x, int y, int width, int height, int sourceX, int sourceY) const noexcept;

    // Paints `area` of a client area of the given size onto `target` by way of the
    // buffer: `draw` draws on the buffer, or on the target itself where no buffer
    // can be made, and the area is copied over.
    void PaintArea(HDC target, const RECT& client, const RECT& area, const std::function<void(HDC)>& draw);

private:
    std::optional<PixelBlock> block_;  // only a valid block is kept
};

}  // namespace forms
