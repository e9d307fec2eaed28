#pragma once
#include <windows.h>

namespace forms {

// Moves the keyboard focus from a control to the next (or previous) tab stop of
// its form, as Tab (or Shift+Tab) does.
void MoveFocusToNextControl(HWND from, bool previous) noexcept;

}  // namespace forms
