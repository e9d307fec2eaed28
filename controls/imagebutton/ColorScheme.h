#pragma once
// How a button style chooses its colour scheme and the colours a scheme gives.
#include "controls/imagebutton/ButtonProperties.h"

namespace controls::imagebutton {

// The scheme a newly chosen style brings with it (some styles keep the current one).
int SchemeForStyle(int style, int currentScheme) noexcept;

// Sets BackColor, ForeColor, ShowFocusRect and PicturePushOnHover as the
// style and scheme of the properties ask.
void ApplySchemeColors(ButtonProperties& properties) noexcept;

}  // namespace controls::imagebutton
