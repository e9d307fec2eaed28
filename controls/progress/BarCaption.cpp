#include "controls/progress/BarCaption.h"

#include "base/Handles.h"
#include "base/Rounding.h"
#include "controls/progress/BarColors.h"

namespace controls::progress {

namespace {
// Text colour and the background mode restored when the caption is done, so
// that what follows (style 7's hatch background) draws the same on every pass.
class TextSettings {
public:
    explicit TextSettings(HDC dc) noexcept : dc_(dc), mode_(::SetBkMode(dc, TRANSPARENT)), color_(::GetTextColor(dc)) {}
    TextSettings(const TextSettings&) = delete;
    TextSettings& operator=(const TextSettings&) = delete;
    ~TextSettings() {
        ::SetTextColor(dc_, color_);
        if (mode_) ::SetBkMode(dc_, mode_);
    }

private:
    HDC dc_;
    int mode_;
    COLORREF color_;
};

void DrawIn(HDC dc, const std::wstring& text, RECT rect, COLORREF color) {
    ::SetTextColor(dc, color);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_SINGLELINE);
}
}  // namespace

std::wstring CaptionText(const BarLook& look) {
    if (look.style == Styles::Searching) return L"Searching..";
    return std::to_wstring(look.percent) + L" %";
}

void DrawCaption(HDC dc, const BarLook& look, HFONT font) {
    const std::wstring text = CaptionText(look);
    base::SelectedObject selected(dc, font);
    TextSettings settings(dc);
    const COLORREF color = ResolveColor(look.style == Styles::Dark ? 0xC0C0C0 : 0x000000);

    RECT measured{};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, DT_CALCRECT | DT_SINGLELINE);
    const int textWidth = measured.right - measured.left;
    const int textHeight = measured.bottom - measured.top;
    RECT rect{};
    rect.left = base::RoundToInt(look.width / 2.0 - textWidth / 2.0);
    rect.top = base::RoundToInt(look.height / 2.0 - textHeight / 2.0);
    rect.right = rect.left + textWidth;
    rect.bottom = rect.top + textHeight;

    if (look.style != Styles::Dark && look.style != Styles::Glossy) {
        DrawIn(dc, text, rect, color);
        return;
    }
    // The part of the text over the fill in a colour that shows against it.
    const double fillEnd = look.percent / 100.0 * look.width;
    if (fillEnd <= rect.right) DrawIn(dc, text, rect, color);
    if (fillEnd >= rect.left) {
        RECT over = rect;
        over.right = base::RoundToInt(fillEnd);
        DrawIn(dc, text, over, look.style == Styles::Dark ? LightenColor(look.color, 80) : 0xFFFFFF);
    }
}

}  // namespace controls::progress
