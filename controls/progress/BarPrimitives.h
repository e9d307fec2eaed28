#pragma once
// The lines, gradients and rectangles the bar's styles are drawn with. Each
// colour is resolved (system colour references to their current value) except
// where a routine says otherwise; every pen is made for one line.
#include <windows.h>

#include "forms/Colors.h"

namespace controls::progress {

// A one-pixel line from (x1, y1) to (x2, y2), the end point left out.
void DrawLine(int x1, int y1, int x2, int y2, HDC dc, forms::OleColor color);

// Lines in colours running from color1 to color2, one pen per line. With columns
// true, n = x2 and columns x .. x + n are drawn from y to y2; otherwise n = y2
// and rows y .. y + n from x to x2. n = 0 draws one line in color1, a negative
// n nothing.
void DrawGradient(forms::OleColor color1, forms::OleColor color2, int x, int y, int x2, int y2, HDC dc, bool columns);

// An extent of the fill worked out from the percentage (in double, so no product
// overflows), rounded and held within a bar's size and a little more beyond either
// side of a bar that size: further out it would draw nothing more on the bar, and a
// value far outside Min..Max draws as quickly as any other.
int FillExtent(double extent, int size) noexcept;

void FillRectangle(HDC dc, const RECT& rect, forms::OleColor color);
// A one-pixel outline in the colour as given (not resolved).
void OutlineRectangle(HDC dc, const RECT& rect, COLORREF color);

}  // namespace controls::progress
