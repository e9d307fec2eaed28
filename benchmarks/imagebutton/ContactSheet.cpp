#include "ContactSheet.h"

#include "forms/Dib.h"
#include "support/Png.h"

namespace bench {

ContactSheet::ContactSheet(int width, int height) : block_(base::WindowDC(nullptr).Get(), width, height, 32) {
    font_.Reset(::CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    const RECT all{0, 0, width, height};
    ::FillRect(block_.Dc(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
}

void ContactSheet::Label(int x, int y, int w, int h, const std::wstring& text) {
    base::SelectedObject font(block_.Dc(), font_.Get());
    RECT at{x, y, x + w, y + h};
    ::SetBkMode(block_.Dc(), TRANSPARENT);
    ::DrawTextW(block_.Dc(), text.c_str(), -1, &at, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

void ContactSheet::Button(int x, int y, controls::zembutton& button) {
    POINT old{};
    ::SetViewportOrgEx(block_.Dc(), x, y, &old);
    button.DrawTo(block_.Dc());
    ::SetViewportOrgEx(block_.Dc(), old.x, old.y, nullptr);
}

bool ContactSheet::Save(const std::wstring& path) {
    testing_support::Pixels pixels;
    pixels.width = block_.Width();
    pixels.height = block_.Height();
    ::GdiFlush();
    for (int y = 0; y < block_.Height(); ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(block_.Row(y));
        pixels.data.insert(pixels.data.end(), row, row + block_.Width());
    }
    return testing_support::WritePng(path, pixels);
}

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
