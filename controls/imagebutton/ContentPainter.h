#pragma once
// The content of a button face, drawn by every style over its face: the picture
// of the present state, the caption with its effect, and the drop-down part.
#include "controls/imagebutton/ButtonProperties.h"
#include "controls/imagebutton/Canvas.h"
#include "controls/imagebutton/ContentLayout.h"
#include "controls/imagebutton/PictureRenderer.h"

namespace controls::imagebutton {

// The picture shown in a state: pressed or checked, hot, or normal.
const std::shared_ptr<forms::Picture>& PictureForState(const ButtonProperties& properties, int state) noexcept;

// Draws with the caption font already selected into the canvas; returns where
// the caption, picture and symbol went.
ContentLayout PaintContent(const Canvas& canvas, const ButtonProperties& properties, int state,
                           PictureRenderer& pictures);

}  // namespace controls::imagebutton
