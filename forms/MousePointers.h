#pragma once
// The platform's mouse-pointer kinds a host gives a control window, as cursors.
#include <windows.h>

#include "base/Handles.h"

namespace forms {

// The shared system cursor of a kind; none for 0 (the window's default) and
// for kinds without a system cursor (99 means the control's own icon).
HCURSOR StandardCursor(short kind) noexcept;

// A cursor showing the bitmap as it is, pointing with its top-left corner.
base::IconHandle CursorFromBitmap(HBITMAP bitmap);

}  // namespace forms
