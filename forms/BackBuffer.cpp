#include "forms/BackBuffer.h"

#include <climits>

namespace forms {

HDC BackBuffer::Ensure(int width, int height) noexcept {
    if (block_ && width <= block_->Width() && height <= block_->Height()) return block_->Dc();
    if (width <= 0 || height <= 0) return Dc();
    block_.reset();
    // A bitmap's bytes are counted in 32 bits; Wine gets larger ones wrong instead of failing.
    if (4LL * width * height > INT_MAX) return nullptr;
    block_.emplace(base::WindowDC(nullptr).Get(), width, height, 32);
    if (!block_->Valid()) block_.reset();
    return Dc();
}

void BackBuffer::CopyTo(HDC target, int x, int y, int width, int height, int sourceX, int sourceY) const noexcept {
    if (block_) ::BitBlt(target, x, y, width, height, block_->Dc(), sourceX, sourceY, SRCCOPY);
}

void BackBuffer::PaintArea(HDC target, const RECT& client, const RECT& area, const std::function<void(HDC)>& draw) {
    if (client.right <= 0 || client.bottom <= 0) return;
    HDC buffer = Ensure(client.right, client.bottom);
    if (!buffer) {
        draw(target);
        return;
    }
    draw(buffer);
    CopyTo(target, area.left, area.top, area.right - area.left, area.bottom - area.top, area.left, area.top);
}

}  // namespace forms
