#include "support/ContactSheet.h"

#include "support/Png.h"

namespace testing_support {

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

bool ContactSheet::Save(const std::wstring& path) {
    Pixels pixels;
    pixels.width = block_.Width();
    pixels.height = block_.Height();
    ::GdiFlush();
    for (int y = 0; y < block_.Height(); ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(block_.Row(y));
        pixels.data.insert(pixels.data.end(), row, row + block_.Width());
    }
    return WritePng(path, pixels);
}

}  // namespace testing_support
