#pragma once
// Measuring and drawing the caption in the font selected into the DC: word
// wrapped, "&" underlining the next character, centred line by line.
#include <windows.h>

#include <string>

namespace controls::imagebutton {

// The size of the caption wrapped within maxWidth.
SIZE MeasureCaption(HDC dc, const std::wstring& caption, int maxWidth, int height, bool rightToLeft);

// The caption in its rectangle moved by (dx, dy), in a colour, on a transparent background.
void DrawCaptionText(HDC dc, const std::wstring& caption, const RECT& rect, int dx, int dy, long color,
                     bool rightToLeft);

// The copies of the caption that make an effect (raised, sunken, shadow or
// outline), then the caption itself in the given colour.
void DrawCaptionEffect(HDC dc, const std::wstring& caption, const RECT& rect, int effect, long back, long color,
                       bool rightToLeft);

}  // namespace controls::imagebutton
