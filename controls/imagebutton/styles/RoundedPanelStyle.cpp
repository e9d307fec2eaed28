// RoundedPanel: a light panel with a soft shaded base when hot and a grey inset when pressed.
#include "controls/imagebutton/ButtonProperties.h"
#include "controls/imagebutton/ColorMath.h"
#include "controls/imagebutton/styles/StyleRoutines.h"

namespace controls::imagebutton {

namespace {
void PaintChecked(const FaceContext& c) {
    const Canvas& g = c.canvas;
    const int w = g.Width();
    const int h = g.Height();
    g.Fill(g.Client(), 0xFEFEFE);
    c.host.DrawContent();
    g.Frame(0, 0, w, h, 0xAF987A);
    g.Corners(ShiftColor(0xC1B3A0, -0.2f));
    if (c.face.state != VisualStates::Hot) return;
    g.Line(w - 2, 2, w - 2, h - 2, 0xEDF0F2);
    g.Line(2, h - 2, w - 2, h - 2, 0xD8DEE4);
    g.Line(1, h - 3, w - 1, h - 3, 0xE8ECEF);
    g.Line(1, h - 4, w - 1, h - 4, 0xF8F9FA);
}

void PaintHot(const FaceContext& c) {
    const Canvas& g = c.canvas;
    const int w = g.Width();
    const int h = g.Height();
    const int half = RoundedPart(h, 2);
    g.FillGradient(0, 0, w, half, 0xFDFEFE, 0xEEF4F4, GradientDirection::TopToBottom);
    g.FillGradient(0, half, w, half, 0xEEF4F4, 0xEAF1F1, GradientDirection::TopToBottom);
    c.host.DrawContent();
    g.Line(w - 2, 2, w - 2, h - 2, 0xE0E7EA);
    g.Line(w - 3, 2, w - 3, h - 2, 0xEAF0F0);
    g.Line(0, h - 4, w, h - 4, 0xE5EDEE);
    g.Line(0, h - 3, w, h - 3, 0xD6E1E4);
    g.Line(0, h - 2, w, h - 2, 0xC6D2D7);
    g.Frame(0, 0, w, h, 0xC3CECE);
    g.Corners(ShiftColor(0xC9D4D4, -0.05f));
}

void PaintDown(const FaceContext& c) {
    const Canvas& g = c.canvas;
    const int w = g.Width();
    const int h = g.Height();
    g.Fill(g.Client(), 0xDDE4E5);
    c.host.DrawContent();
    g.Line(1, 1, w - 2, 1, ShiftColor(0xD1DADC, -0.02f));
    g.Line(1, 2, w - 2, 2, ShiftColor(0xDAE1E3, -0.02f));
    g.Line(1, h - 3, w - 2, h - 3, ShiftColor(0xDEE5E6, 0.02f));
    g.Line(1, h - 2, w - 2, h - 2, ShiftColor(0xE5EAEB, 0.02f));
    g.Frame(0, 0, w, h, 0x929D9D);
    g.Corners(ShiftColor(0xABB4B5, -0.2f));
}
}  // namespace

void PaintRoundedPanel(const FaceContext& c) {
    const FaceState& f = c.face;
    // A checked button still held down shows the pressed look.
    const bool held = f.buttonDown || f.state == VisualStates::Down;
    if (f.checked && !held) {
        PaintChecked(c);
        return;
    }
    if (f.checked || f.state == VisualStates::Down) {
        PaintDown(c);
    } else if (f.state == VisualStates::Hot) {
        PaintHot(c);
    } else {
        c.host.RebuildRegion();
        c.canvas.Fill(c.canvas.Client(), f.back);
        c.host.DrawContent();
    }
}

}  // namespace controls::imagebutton
