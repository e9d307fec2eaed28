#include "controls/imagebutton/styles/StyleRoutines.h"

#include "controls/imagebutton/ButtonProperties.h"

namespace controls::imagebutton {

void PaintFocusRect(const FaceContext& context) {
    const Canvas& g = context.canvas;
    if (context.face.ShowsFocusRect()) g.FocusRect(RECT{2, 2, g.Width() - 2, g.Height() - 2});
}

void PaintFace(const FaceContext& context) {
    switch (context.face.style) {
    case Styles::Standard:
    case Styles::SoftEdge:
    case Styles::FlatEdge:
    case Styles::FlatThin:
        PaintSystemEdgeStyle(context);
        break;
    case Styles::RoundedGradient:
        PaintRoundedGradient(context);
        break;
    case Styles::RoundedBands:
        PaintRoundedBands(context);
        break;
    case Styles::FlatHighlight:
        PaintFlatHighlight(context);
        PaintFocusRect(context);
        break;
    case Styles::SplitGradient:
        PaintSplitGradient(context);
        PaintFocusRect(context);
        break;
    case Styles::RoundedPanel:
        PaintRoundedPanel(context);
        PaintFocusRect(context);
        break;
    case Styles::RoundedSimple:
        PaintRoundedSimple(context);
        PaintFocusRect(context);
        break;
    case Styles::SquareBands:
        PaintSquareBands(context);
        PaintFocusRect(context);
        break;
    case Styles::RoundedShaded:
        PaintRoundedShaded(context);
        break;
    case Styles::RoundedBlend:
        PaintRoundedBlend(context);
        PaintFocusRect(context);
        break;
    case Styles::Themed:
        PaintThemed(context);
        break;
    default:
        break;
    }
}

}  // namespace controls::imagebutton
