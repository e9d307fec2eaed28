#pragma once
// One routine per family of styles; PaintFace picks the routine of the style.
#include "controls/imagebutton/styles/FaceContext.h"

namespace controls::imagebutton {

void PaintFace(const FaceContext& context);

// The focus rectangle two pixels in, where the face shows the focus.
void PaintFocusRect(const FaceContext& context);

void PaintSystemEdgeStyle(const FaceContext& context);  // 0, 1, 11, 12
void PaintRoundedGradient(const FaceContext& context);  // 2, and 13 without a theme
void PaintRoundedBands(const FaceContext& context);     // 3
void PaintFlatHighlight(const FaceContext& context);    // 4
void PaintSplitGradient(const FaceContext& context);    // 5
void PaintRoundedPanel(const FaceContext& context);     // 6
void PaintRoundedSimple(const FaceContext& context);    // 7
void PaintSquareBands(const FaceContext& context);      // 8
void PaintRoundedShaded(const FaceContext& context);    // 9
void PaintRoundedBlend(const FaceContext& context);     // 10
void PaintThemed(const FaceContext& context);           // 13

}  // namespace controls::imagebutton
