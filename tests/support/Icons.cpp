#include "support/Icons.h"

#include <windows.h>

#include <vector>

#include "base/Handles.h"
#include "forms/Dib.h"

namespace testing_support {

std::shared_ptr<forms::Picture> MakeIcon(int size,
                                         const std::function<std::optional<std::uint32_t>(int x, int y)>& pixel) {
    void* data = nullptr;
    base::BitmapHandle color = forms::CreateTopDownDib(size, size, &data, nullptr, 32);
    auto* pixels = static_cast<std::uint32_t*>(data);
    // The AND mask, rows padded to 16 bits: a set bit lets the background show.
    const int maskStride = (size + 15) / 16 * 2;
    std::vector<std::uint8_t> maskBits(static_cast<std::size_t>(maskStride) * size, 0);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const std::optional<std::uint32_t> argb = pixel(x, y);
            pixels[y * size + x] = argb.value_or(0);
            if (!argb)
                maskBits[static_cast<std::size_t>(y * maskStride + x / 8)] |=
                    static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
    base::BitmapHandle mask(::CreateBitmap(size, size, 1, 1, maskBits.data()));
    ICONINFO info{TRUE, 0, 0, mask.Get(), color.Get()};
    return forms::Picture::FromIcon(base::IconHandle(::CreateIconIndirect(&info)));
}

}  // namespace testing_support
