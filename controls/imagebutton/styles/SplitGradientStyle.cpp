// SplitGradient: a face split into two gradients, amber when hot, pressed or checked.
#include "controls/imagebutton/ButtonProperties.h"
#include "controls/imagebutton/ColorMath.h"
#include "controls/imagebutton/styles/StyleRoutines.h"

namespace controls::imagebutton {

namespace {
constexpr long kNavy = 0x800000;
}

void PaintSplitGradient(const FaceContext& c) {
    const Canvas& g = c.canvas;
    const FaceState& f = c.face;
    const long b = f.back;
    const int w = g.Width();
    const int h = g.Height();
    if (f.checked) {
        if (f.mouseOver)
            g.FillGradient(0, 0, w, h, 0x4E91FE, 0x8ED3FF, GradientDirection::TopToBottom);
        else
            g.FillGradient(0, 0, w, h, 0x8CD5FF, 0x55ADFF, GradientDirection::TopToBottom);
        c.host.DrawContent();
        g.Frame(0, 0, w, h, kNavy);
        return;
    }
    switch (f.state) {
    case VisualStates::Hot:
        g.FillGradient(0, 0, w, h, 0xCCF4FF, 0x91D0FF, GradientDirection::TopToBottom);
        break;
    case VisualStates::Down:
        g.FillGradient(0, 0, w, h, 0x4E91FE, 0x8ED3FF, GradientDirection::TopToBottom);
        break;
    default: {
        c.host.RebuildRegion();
        const int half = RoundedPart(h, 2);
        g.FillGradient(0, 0, w, half, AverageColor(kWhite, ShiftColor(b, 0.08f)), b, GradientDirection::TopToBottom);
        g.FillGradient(0, half, w, base::RoundToInt(h / 2.0 + 1), b, ShiftColor(b, -0.15f),
                       GradientDirection::TopToBottom);
        c.host.DrawContent();
        return;
    }
    }
    c.host.DrawContent();
    g.Frame(0, 0, w, h, kNavy);
}

}  // namespace controls::imagebutton
