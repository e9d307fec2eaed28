#pragma once
#include <windows.h>

namespace forms {

// Moves the keyboard focus from a control to the next (or previous) tab stop of
// its form, as Tab (or Shift+Tab) does.
void MoveFocusToNextControl(HWND from, bool previous) noexcept;

// Whether a child window lies wholly outside its parent's client area: out of
// sight, so no tab stop and nothing a screen reader shows.
bool OutOfView(HWND child) noexcept;

}  // namespace forms
