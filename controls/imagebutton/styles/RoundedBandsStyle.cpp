// RoundedBands: an upper and a lower band with shaded ends, in warm colours when hot or pressed.
#include "controls/imagebutton/ButtonProperties.h"
#include "controls/imagebutton/ColorMath.h"
#include "controls/imagebutton/styles/StyleRoutines.h"

namespace controls::imagebutton {

namespace {
struct EndShades {
    long upperFrom, upperTo;  // left end, upper half; the right end runs the other way
    long lowerFrom, lowerTo;  // left end, lower half
};

// Five-pixel horizontal shadings at both ends of both bands.
void PaintEnds(const Canvas& g, const EndShades& s) {
    const int w = g.Width();
    const int h = g.Height();
    const int m = RoundedPart(h, 2);
    const int upper = base::RoundToInt(h / 2.0 - 2);
    const int lower = base::RoundToInt(h - h / 2.0 - 1);
    g.FillGradient(1, 3, 5, upper, s.upperFrom, s.upperTo, GradientDirection::LeftToRight);
    g.FillGradient(1, m, 5, lower, s.lowerFrom, s.lowerTo, GradientDirection::LeftToRight);
    g.FillGradient(w - 6, 3, 5, upper, s.upperTo, s.upperFrom, GradientDirection::LeftToRight);
    g.FillGradient(w - 6, m, 5, lower, s.lowerTo, s.lowerFrom, GradientDirection::LeftToRight);
}

void PaintNormal(const FaceContext& c) {
    const Canvas& g = c.canvas;
    const long b = c.face.back;
    const int w = g.Width();
    const int h = g.Height();
    c.host.RebuildRegion();
    g.FillGradient(1, 1, w - 1, h, ShiftColor(b, 0.05f), b, GradientDirection::TopToBottom);
    g.FillGradient(1, RoundedPart(h, 2), w - 2, h - 2, ShiftColor(b, -0.02f), ShiftColor(b, -0.15f),
                   GradientDirection::TopToBottom);
    c.host.DrawContent();
    g.Frame(0, 0, w, h, 0x707070);
    g.Frame(1, 1, w - 2, h - 2, kWhite);
}

void PaintHot(const FaceContext& c) {
    const Canvas& g = c.canvas;
    const int w = g.Width();
    const int h = g.Height();
    const int m = RoundedPart(h, 2);
    g.FillGradient(1, 1, w - 2, m, 0xFFF7E4, 0xFFF3DA, GradientDirection::TopToBottom);
    g.FillGradient(1, m, w - 2, h - 2, 0xFFE9C1, 0xFDE1AE, GradientDirection::TopToBottom);
    PaintEnds(g, {0xFFEECD, 0xFFF7E4, 0xFAD68F, ShiftColor(0xFDE1AC, 0.01f)});
    c.host.DrawContent();
    g.Frame(0, 0, w, h, 0xA77532);
    g.Frame(1, 1, w - 2, h - 2, kWhite);
}

void PaintDown(const FaceContext& c) {
    const Canvas& g = c.canvas;
    const int w = g.Width();
    const int h = g.Height();
    const int m = RoundedPart(h, 2);
    g.FillGradient(1, 1, w - 1, h, 0xF6E4C2, 0xF6E4C2, GradientDirection::TopToBottom);
    g.FillGradient(1, m, w - 2, h - 2, 0xF0D29A, 0xF0D29A, GradientDirection::TopToBottom);
    g.Frame(0, 0, w, h, 0x5C411D);
    g.Line(1, 1, w - 1, 1, 0xB39C71);
    g.Line(1, 2, w - 1, 2, 0xD6C6A9);
    g.Line(1, 3, w - 1, 3, 0xECD9B9);
    g.Line(1, 1, 1, base::RoundToInt(h / 2.0 - 1), 0xCFB073);
    g.Line(1, m, 1, base::RoundToInt(h - h / 2.0 - 1), 0xC5912B);
    PaintEnds(g, {ShiftColor(0xE6C891, 0.02f), ShiftColor(0xF6E4C2, -0.01f), ShiftColor(0xDCAB4E, 0.02f),
                  ShiftColor(0xF0D29A, -0.01f)});
    c.host.DrawContent();
}
}  // namespace

void PaintRoundedBands(const FaceContext& c) {
    const Canvas& g = c.canvas;
    const FaceState& f = c.face;
    const long b = f.back;
    const int w = g.Width();
    const int h = g.Height();
    if (!f.enabled) {
        c.host.RebuildRegion();
        g.Fill(g.Client(), ShiftColor(b, 0.03f));
        c.host.DrawContent();
        g.Frame(0, 0, w, h, ShiftColor(b, -0.25f));
        g.Frame(1, 1, w - 2, h - 2, ShiftColor(b, 0.25f));
        g.Corners(ShiftColor(b, -0.03f));
        return;
    }
    switch (f.state) {
    case VisualStates::Hot:
        PaintHot(c);
        break;
    case VisualStates::Down:
        PaintDown(c);
        break;
    default:
        PaintNormal(c);
        break;
    }
    if (f.formActive && f.state == VisualStates::Normal && f.Emphasised()) {
        g.Frame(0, 0, w, h, 0xA77532);
        g.Frame(1, 1, w - 2, h - 2, 0xFBD848);
    }
    PaintFocusRect(c);
    g.Corners(0xBE965F);
}

}  // namespace controls::imagebutton
