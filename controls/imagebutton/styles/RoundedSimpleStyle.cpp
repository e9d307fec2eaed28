// RoundedSimple: a plain face that glows warm when hot or pressed.
#include "controls/imagebutton/ButtonProperties.h"
#include "controls/imagebutton/ColorMath.h"
#include "controls/imagebutton/styles/StyleRoutines.h"

namespace controls::imagebutton {

void PaintRoundedSimple(const FaceContext& c) {
    const Canvas& g = c.canvas;
    const FaceState& f = c.face;
    const int w = g.Width();
    const int h = g.Height();
    if (!f.enabled) {
        g.Fill(g.Client(), f.back);
        c.host.DrawContent();
        g.Corners(f.back);
        return;
    }
    switch (f.state) {
    case VisualStates::Hot:
        g.FillGradient(1, 1, w - 2, h - 2, 0xFDF9F1, 0xF8ECD0, GradientDirection::TopToBottom);
        g.FillGradient(1, RoundedPart(h, 1.7), w - 2, h - 2, 0xF8ECD0, 0xF8ECD0, GradientDirection::TopToBottom);
        break;
    case VisualStates::Down:
        g.FillGradient(1, 1, w - 2, h - 2, 0xF1DEB0, 0xF9F1DB, GradientDirection::TopToBottom);
        break;
    default:
        c.host.RebuildRegion();
        g.Fill(g.Client(), f.back);
        c.host.DrawContent();
        return;
    }
    c.host.DrawContent();
    g.Frame(0, 0, w, h, 0xCA9E61);
    g.Frame(1, 1, w - 2, h - 2, kWhite);
    g.Corners(ShiftColor(0xCA9E61, 0.3f));
}

}  // namespace controls::imagebutton
