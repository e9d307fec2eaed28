#pragma once
// The bar's text, centred: "Searching.." for style 2, otherwise the percentage.
#include <windows.h>

#include <string>

#include "controls/progress/BarLook.h"

namespace controls::progress {

std::wstring CaptionText(const BarLook& look);

// Draws the text in the font given; in styles 6 and 9 the part over the fill
// takes a contrasting colour. The DC's text settings are left as they were.
void DrawCaption(HDC dc, const BarLook& look, HFONT font);

}  // namespace controls::progress
