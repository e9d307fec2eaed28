#pragma once
// Saving and restoring the image button's properties through the host's store.
// Restoring takes the stored values as they are: no scheme colours are applied.
#include <memory>

#include "controls/imagebutton/ButtonProperties.h"
#include "forms/PropertyBag.h"

namespace controls::imagebutton {

ButtonProperties ReadButtonProperties(const forms::PropertyBag& bag, const std::shared_ptr<forms::Font>& hostFont);

// Writes every key in the store's order; a value equal to its default is left out.
void WriteButtonProperties(forms::PropertyBag& bag, const ButtonProperties& properties,
                           const std::shared_ptr<forms::Font>& hostFont);

}  // namespace controls::imagebutton
