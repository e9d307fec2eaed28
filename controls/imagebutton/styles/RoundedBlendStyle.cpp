// RoundedBlend: a bright top band over a gradient that lightens towards the bottom.
#include "controls/imagebutton/ButtonProperties.h"
#include "controls/imagebutton/ColorMath.h"
#include "controls/imagebutton/styles/StyleRoutines.h"

namespace controls::imagebutton {

namespace {
struct BlendLook {
    long fill;
    long bandFrom;
    long mainFrom, mainTo;
    long frame;
    long corners;
};

BlendLook LookOf(const FaceState& f) {
    const long b = f.back;
    const long light = AverageColor(b, kWhite);
    if (!f.enabled)
        return {b,
                ShiftColor(light, 0.05f),
                ShiftColor(b, -0.02f),
                AverageColor(kWhite, ShiftColor(b, 0.08f)),
                ShiftColor(b, -0.2f),
                ShiftColor(b, -0.23f)};
    switch (f.state) {
    case VisualStates::Hot:
        return {ShiftColor(b, -0.03f), ShiftColor(light, 0.15f),
                ShiftColor(b, -0.05f), AverageColor(kWhite, ShiftColor(b, 0.2f)),
                ShiftColor(b, -0.28f), ShiftColor(b, -0.36f)};
    case VisualStates::Down:
        return {ShiftColor(b, -0.03f), ShiftColor(light, 0.1f),
                ShiftColor(b, -0.08f), AverageColor(kWhite, ShiftColor(b, 0.05f)),
                ShiftColor(b, -0.36f), ShiftColor(b, -0.36f)};
    default:
        return {ShiftColor(b, -0.03f), ShiftColor(light, 0.1f),
                ShiftColor(b, -0.05f), AverageColor(kWhite, ShiftColor(b, 0.1f)),
                ShiftColor(b, -0.33f), ShiftColor(b, -0.36f)};
    }
}
}  // namespace

void PaintRoundedBlend(const FaceContext& c) {
    const Canvas& g = c.canvas;
    const FaceState& f = c.face;
    const int w = g.Width();
    const int h = g.Height();
    if (f.enabled && f.state == VisualStates::Normal) c.host.RebuildRegion();
    const BlendLook look = LookOf(f);
    g.Fill(g.Client(), look.fill);
    g.FillGradient(0, 0, w, 5, look.bandFrom, f.back, GradientDirection::TopToBottom);
    g.FillGradient(0, 6, w, h - 1, look.mainFrom, look.mainTo, GradientDirection::TopToBottom);
    c.host.DrawContent();
    g.Frame(0, 0, w, h, look.frame);
    g.Corners(look.corners);
}

}  // namespace controls::imagebutton
