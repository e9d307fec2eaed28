#pragma once
// The one answer to the paint messages for a window that draws all of itself in
// one routine: WM_PAINT and WM_PRINTCLIENT hand that routine the DC to draw on and
// the part of the client area it needs (the update rectangle, or all of it for a
// picture of the window); WM_ERASEBKGND erases nothing, since the routine covers
// every pixel and an erase before it would flicker.
#include <windows.h>

#include <functional>

namespace forms {

using PaintRoutine = std::function<void(HDC dc, const RECT& area)>;

// True, with the message's result, for the three paint messages; false for any other.
bool AnswerPaintMessage(HWND window, UINT message, WPARAM wParam, const PaintRoutine& paint, LRESULT& result);

}  // namespace forms
