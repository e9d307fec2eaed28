#pragma once
// The outline each look gives the button's window.
#include "forms/Handles.h"

namespace controls::themedbutton {

forms::RegionHandle RegionForStyle(int style, int width, int height);

}  // namespace controls::themedbutton
