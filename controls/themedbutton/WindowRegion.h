#pragma once
// The outline each look gives the button's window.
#include "base/Handles.h"

namespace controls::themedbutton {

base::RegionHandle RegionForStyle(int style, int width, int height);

}  // namespace controls::themedbutton
