// FlatHighlight: a flat face that takes the scheme's tint and border when hot, pressed or checked.
#include "controls/imagebutton/ButtonProperties.h"
#include "controls/imagebutton/ColorMath.h"
#include "controls/imagebutton/styles/StyleRoutines.h"

namespace controls::imagebutton {

namespace {
struct Highlight {
    long tint;
    long border;
};

Highlight HighlightOf(int scheme, long back) {
    switch (scheme) {
    case Schemes::Blue:
        return {0xEED2C1, 0xC56A31};
    case Schemes::Olive:
        return {0xBAD6D4, 0x70A093};
    case Schemes::Silver:
        return {0xE3DFE0, 0xBFB4B2};
    default:
        return {back, ShiftColor(back, -0.12f)};
    }
}
}  // namespace

void PaintFlatHighlight(const FaceContext& c) {
    const Canvas& g = c.canvas;
    const FaceState& f = c.face;
    const Highlight hl = HighlightOf(f.scheme, f.back);
    const int w = g.Width();
    const int h = g.Height();
    if (f.checked) {
        g.Fill(g.Client(), ShiftColor(hl.tint, -0.05f));
        g.Frame(0, 0, w, h, hl.border);
        if (f.mouseOver) {
            g.Fill(g.Client(), ShiftColor(hl.tint, -0.01f));
            g.Frame(0, 0, w, h, hl.border);
        }
        c.host.DrawContent();
        return;
    }
    switch (f.state) {
    case VisualStates::Hot:
        g.Fill(g.Client(), ShiftColor(hl.tint, 0.03f));
        break;
    case VisualStates::Down:
        g.Fill(g.Client(), ShiftColor(hl.tint, -0.08f));
        break;
    default:
        g.Fill(g.Client(), f.back);
        break;
    }
    c.host.DrawContent();
    if (f.state != VisualStates::Normal) g.Frame(0, 0, w, h, hl.border);
}

}  // namespace controls::imagebutton
