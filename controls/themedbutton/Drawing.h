#pragma once
#include <windows.h>

#include <cstdint>

#include "forms/ColorMath.h"

namespace controls::themedbutton {

// Colour operations on 0x00BBGGRR values, channel by channel.
long Blend(long a, long b) noexcept;  // (a + b) / 2, halves to even
long Shift(long c, int d) noexcept;   // channel + d, clamped to 0..255
using forms::LightenColor;            // k + (255 - k) * channel / 255, fraction dropped

// Primitives drawing straight to a device context, with no GDI object kept.
void SetBackground(HDC dc, int width, int height, long c);  // fills the whole surface
void Line(HDC dc, int x1, int y1, int x2, int y2, long c);  // end point not drawn
void Outline(HDC dc, int x, int y, int w, int h, long c);   // closed, all four corners drawn
void Fill(HDC dc, int x, int y, int w, int h, long c);      // right and bottom edges excluded
void Pixel(HDC dc, int x, int y, long c);
void FocusRect(HDC dc, int width, int height);  // the dotted focus rectangle two pixels in
void GradientRows(HDC dc, long from, long to, int x1, int y, int x2, int n);
void GradientColumns(HDC dc, long from, long to, int x1, int y1, int x2, int y2);
// `count` parallel lines, line i in colors[i]: line(x1, y + i, x2, y + i) and
// line(x + i, y1, x + i, y2). The gradients are drawn with them.
void RowLines(HDC dc, const long* colors, int count, int x1, int y, int x2);
void ColumnLines(HDC dc, const long* colors, int count, int x, int y1, int y2);
// A block of pixels 0x00RRGGBB, top row first, copied with its top left at (x, y).
void CopyPixels(HDC dc, int x, int y, int width, int height, const std::uint32_t* pixels);
std::uint32_t PixelOf(long c) noexcept;  // a colour as such a pixel

}  // namespace controls::themedbutton
