#pragma once
// What a user does with the mouse, as window messages.
#include <windows.h>

#include "base/MessageLoop.h"

namespace save_tests {

// Presses and releases the left button over a window, then lets the program
// handle it; returns when the click's handler has run to its end.
inline void Click(HWND window) {
    ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    base::DoEvents();
}

// The same, for a click that must arrive while something else is running.
inline void PostClick(HWND window) {
    ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

}  // namespace save_tests
