// RoundedShaded: white fading into the back colour, with a focus rectangle; hot looks as normal.
#include "controls/imagebutton/ButtonProperties.h"
#include "controls/imagebutton/ColorMath.h"
#include "controls/imagebutton/styles/StyleRoutines.h"

namespace controls::imagebutton {

void PaintRoundedShaded(const FaceContext& c) {
    const Canvas& g = c.canvas;
    const FaceState& f = c.face;
    const long b = f.back;
    const int w = g.Width();
    const int h = g.Height();
    const bool down = f.enabled && f.state == VisualStates::Down;
    if (f.state == VisualStates::Normal) c.host.RebuildRegion();
    const long upper = down ? ShiftColor(b, -0.1f) : b;
    const long lowerFrom = down ? ShiftColor(b, -0.1f) : b;
    const long lowerTo = down ? ShiftColor(b, -0.05f) : b;
    const int half = RoundedPart(h, 2);
    g.FillGradient(0, 0, w, half, kWhite, upper, GradientDirection::TopToBottom);
    g.FillGradient(0, half, w, h, lowerFrom, lowerTo, GradientDirection::TopToBottom);
    c.host.DrawContent();
    g.Frame(1, 1, w - 2, h, kWhite);
    g.Frame(0, 0, w, h, ShiftColor(b, down ? -0.23f : -0.2f));
    g.Line(2, h - 1, w - 2, h - 1, ShiftColor(b, down ? -0.4f : -0.25f));
    g.Corners(ShiftColor(b, 0.05f));
    if (f.formActive && f.showFocusRect && f.Emphasised()) g.FocusRect(RECT{3, 3, w - 3, h - 3});
}

}  // namespace controls::imagebutton
