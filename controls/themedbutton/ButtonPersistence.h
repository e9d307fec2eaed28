#pragma once
// How a themed button is saved in its host's property store and read back.
#include <memory>
#include <string>

#include "controls/themedbutton/ButtonProperties.h"
#include "forms/PropertyBag.h"

namespace controls::themedbutton {

// Everything but "ToolTipText", which the button hands to its host first; a
// missing "Font" keeps the font the button has.
ButtonProperties ReadButtonProperties(const forms::PropertyBag& bag, const std::shared_ptr<forms::Font>& currentFont);
std::wstring ReadToolTipText(const forms::PropertyBag& bag);

// hostToolTip is the host's tooltip attribute for the button: a text equal to it is left out.
void WriteButtonProperties(forms::PropertyBag& bag, const ButtonProperties& p, const std::wstring& hostToolTip);

}  // namespace controls::themedbutton
