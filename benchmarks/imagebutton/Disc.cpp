#include "Disc.h"

#include "base/Handles.h"
#include "forms/Dib.h"

namespace bench {

std::shared_ptr<forms::Picture> Disc() {
    void* bits = nullptr;
    base::BitmapHandle bitmap = forms::CreateTopDownDib(16, 16, &bits, nullptr, 24);
    base::WindowDC screen(nullptr);
    base::MemoryDC dc(::CreateCompatibleDC(screen.Get()));
    {
        base::SelectedObject selected(dc.Get(), bitmap.Get());
        const RECT all{0, 0, 16, 16};
        base::BrushHandle key(::CreateSolidBrush(0xE0E0E0));
        ::FillRect(dc.Get(), &all, key.Get());
        base::BrushHandle green(::CreateSolidBrush(0x30A030));
        base::PenHandle edge(::CreatePen(PS_SOLID, 1, 0x206020));
        base::SelectedObject brush(dc.Get(), green.Get());
        base::SelectedObject pen(dc.Get(), edge.Get());
        ::Ellipse(dc.Get(), 1, 1, 15, 15);
        base::BrushHandle white(::CreateSolidBrush(0xFFFFFF));
        const RECT shine{4, 4, 7, 7};
        ::FillRect(dc.Get(), &shine, white.Get());
    }
    return forms::Picture::FromBitmap(std::move(bitmap));
}

}  // namespace bench
