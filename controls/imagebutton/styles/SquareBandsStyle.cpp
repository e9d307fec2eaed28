// SquareBands: two vertical gradients split a little above the middle, with a darker border.
#include "controls/imagebutton/ButtonProperties.h"
#include "controls/imagebutton/ColorMath.h"
#include "controls/imagebutton/styles/StyleRoutines.h"

namespace controls::imagebutton {

namespace {
struct Bands {
    long upperFrom, upperTo, lowerFrom, lowerTo;
};

constexpr Bands kChecked = {0xA9D9FF, 0x6FC0FF, 0x3FABFF, 0x75E1FF};
constexpr Bands kPressed = {0x58C1FF, 0x51AFFF, 0x468FFF, 0x5FD3FF};  // also checked under the mouse
constexpr Bands kHot = {0xE1FFFF, 0xACEAFF, 0x67D7FF, 0x99E4FF};

Bands NormalBands(long b) {
    return {AverageColor(ShiftColor(b, 0.09f), kWhite), AverageColor(ShiftColor(b, 0.07f), b), b, ShiftColor(b, 0.03f)};
}

void PaintBands(const Canvas& g, const Bands& bands) {
    const int w = g.Width();
    const int h = g.Height();
    const int split = RoundedPart(h, 2.7);
    g.FillGradient(0, 0, w, split, bands.upperFrom, bands.upperTo, GradientDirection::TopToBottom);
    g.FillGradient(0, split, w, base::RoundToInt(h - h / 2.7), bands.lowerFrom, bands.lowerTo,
                   GradientDirection::TopToBottom);
}

void PaintBorder(const FaceContext& c) {
    c.canvas.Frame(0, 0, c.canvas.Width(), c.canvas.Height(), ShiftColor(c.face.back, -0.34f));
}
}  // namespace

void PaintSquareBands(const FaceContext& c) {
    const Canvas& g = c.canvas;
    const FaceState& f = c.face;
    if (f.checked) {
        PaintBands(g, kChecked);
        PaintBorder(c);
        if (f.mouseOver) {
            PaintBands(g, kPressed);
            PaintBorder(c);
        }
        c.host.DrawContent();
        return;
    }
    switch (f.state) {
    case VisualStates::Down:
        PaintBands(g, kPressed);
        break;
    case VisualStates::Hot:
        PaintBands(g, kHot);
        break;
    default:
        g.Fill(g.Client(), f.back);
        PaintBands(g, NormalBands(f.back));
        break;
    }
    c.host.DrawContent();
    PaintBorder(c);
}

}  // namespace controls::imagebutton
