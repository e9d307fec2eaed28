#include "controls/imagebutton/DropDownRenderer.h"

#include <string>

#include "base/Handles.h"
#include "controls/imagebutton/ColorMath.h"

namespace controls::imagebutton {

namespace {
constexpr int kSymbolFontHeight = 14;
// The face is sampled here for the separator's colours.
constexpr int kFaceSample = 7;
}  // namespace

void DrawDropDownSeparator(const Canvas& g, int captionRight) {
    const int w = g.Width();
    const int h = g.Height();
    if (w - 8 <= captionRight) return;
    g.Line(w - 16, 3, w - 16, h - 3, ShiftColor(g.PixelAt(kFaceSample, kFaceSample), -0.1f));
    g.Line(w - 15, 3, w - 15, h - 3, ShiftColor(g.PixelAt(kFaceSample, kFaceSample), 0.1f));
}

void DrawDropDownSymbol(HDC dc, const RECT& rect, int symbol, long color) {
    base::FontHandle font(::CreateFontW(kSymbolFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SYMBOL_CHARSET,
                                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                                        L"Marlett"));
    if (!font) return;
    base::SelectedObject selected(dc, font.Get());
    const std::wstring digits = std::to_wstring(symbol);
    RECT at = rect;
    const COLORREF previous = ::SetTextColor(dc, static_cast<COLORREF>(color));
    const int previousMode = ::SetBkMode(dc, TRANSPARENT);
    ::DrawTextW(dc, digits.c_str(), 1, &at, DT_WORDBREAK);
    ::SetBkMode(dc, previousMode);
    ::SetTextColor(dc, previous);
}

}  // namespace controls::imagebutton
