#pragma once
// The outline each style gives the button's window.
#include "base/Handles.h"

namespace controls::imagebutton {

// The corner ellipse of a rounded style, or 0 for a rectangular one.
int CornerEllipse(int style) noexcept;

// A new region for the style at this size; none for the themed style, whose
// outline comes from the theme as it draws.
base::RegionHandle RegionForStyle(int style, int width, int height);

}  // namespace controls::imagebutton
