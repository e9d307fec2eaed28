#pragma once
// Fills and frames in one colour through the DC's own brush, so that no brush is
// made and deleted for each of them.
#include <windows.h>

namespace forms {

void FillSolid(HDC dc, const RECT& area, COLORREF color);
// A one-pixel border just inside the area.
void FrameSolid(HDC dc, const RECT& area, COLORREF color);

}  // namespace forms
