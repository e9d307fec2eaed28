#include "forms/SolidFill.h"

namespace forms {

namespace {
HBRUSH DcBrush(HDC dc, COLORREF color) {
    ::SetDCBrushColor(dc, color);
    return static_cast<HBRUSH>(::GetStockObject(DC_BRUSH));
}
}  // namespace

void FillSolid(HDC dc, const RECT& area, COLORREF color) { ::FillRect(dc, &area, DcBrush(dc, color)); }

void FrameSolid(HDC dc, const RECT& area, COLORREF color) { ::FrameRect(dc, &area, DcBrush(dc, color)); }

}  // namespace forms
