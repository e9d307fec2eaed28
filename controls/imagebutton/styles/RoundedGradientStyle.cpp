// RoundedGradient, also the look of a Themed button where no theme is active.
#include <array>

#include "controls/imagebutton/ButtonProperties.h"
#include "controls/imagebutton/ColorMath.h"
#include "controls/imagebutton/styles/StyleRoutines.h"

namespace controls::imagebutton {

namespace {
using Colors8 = std::array<long, 8>;

constexpr Colors8 kHotLines = {0x89D8FD, 0xCFF0FF, 0x49BDF9, 0x49BDF9, 0x7AD2FC, 0x7AD2FC, 0x30B3F8, 0x0097E5};
constexpr Colors8 kOliveFocusLines = {0x8FD1C2, 0x80CBB1, 0x68C8A0, 0x68C8A0, 0x68C8A0, 0x68C8A0, 0x68C8A0, 0x66A7A8};
constexpr Colors8 kSilverFocusLines = {0xF6D4BC, 0xFFE7CE, 0xE6AF8E, 0xE6AF8E, kWhite, kWhite, 0xE4AD89, 0xEE8269};
constexpr Colors8 kBlueFocusLines = {0xF6D4BC, 0xFFE7CE, 0xE6AF8E, 0xE6AF8E, 0xF4D1B8, 0xF4D1B8, 0xE4AD89, 0xEE8269};

// The eight highlight lines just inside the border, in this order.
void PaintHighlightLines(const Canvas& g, const Colors8& colors) {
    const int w = g.Width();
    const int h = g.Height();
    g.Line(1, 2, w - 2, 2, colors[0]);
    g.Line(1, 1, w - 2, 1, colors[1]);
    g.Line(1, 1, 1, h - 2, colors[2]);
    g.Line(w - 2, 2, w - 2, h - 2, colors[3]);
    g.Line(2, 2, 2, h - 3, colors[4]);
    g.Line(w - 3, 3, w - 3, h - 3, colors[5]);
    g.Line(2, h - 3, w - 2, h - 3, colors[6]);
    g.Line(2, h - 2, w - 2, h - 2, colors[7]);
}

const Colors8& FocusLines(int scheme) {
    if (scheme == Schemes::Olive) return kOliveFocusLines;
    if (scheme == Schemes::Silver) return kSilverFocusLines;
    return kBlueFocusLines;
}

void PaintRaisedFace(const FaceContext& c) {
    const Canvas& g = c.canvas;
    const FaceState& f = c.face;
    const long b = f.back;
    const int w = g.Width();
    const int h = g.Height();
    const bool normal = f.state == VisualStates::Normal;
    if (f.scheme == Schemes::Silver) {
        const int half = RoundedPart(h, 2);
        g.FillGradient(0, 0, w, half, ShiftColor(b, 0.22f), b, GradientDirection::TopToBottom);
        g.FillGradient(0, half, w, half, ShiftColor(b, -0.01f), ShiftColor(b, -0.15f), GradientDirection::TopToBottom);
        c.host.DrawContent();
        if (normal) {
            g.Line(w - 2, 2, w - 2, h - 2, kWhite);
            g.Line(1, 1, 1, h - 2, kWhite);
        }
        return;
    }
    g.FillGradient(0, 0, w, h, ShiftColor(b, 0.07f), b, GradientDirection::TopToBottom);
    g.FillGradient(0, 0, w, 4, ShiftColor(b, 0.1f), ShiftColor(b, 0.08f), GradientDirection::TopToBottom);
    c.host.DrawContent();
    if (normal) {
        g.Line(1, h - 2, w - 2, h - 2, ShiftColor(b, -0.09f));
        g.Line(1, h - 3, w - 2, h - 3, ShiftColor(b, -0.05f));
        g.Line(1, h - 4, w - 2, h - 4, ShiftColor(b, -0.01f));
        g.Line(w - 2, 2, w - 2, h - 2, ShiftColor(b, -0.08f));
        g.Line(1, 1, 1, h - 2, AverageColor(kWhite, b));
    }
}

void PaintPressedFace(const FaceContext& c) {
    const Canvas& g = c.canvas;
    const long b = c.face.back;
    const int w = g.Width();
    const int h = g.Height();
    if (c.face.scheme == Schemes::Silver) {
        g.FillGradient(0, 0, w, h - 6, ShiftColor(b, -0.2f), ShiftColor(b, 0.05f), GradientDirection::TopToBottom);
        g.FillGradient(0, h - 6, w, h - 1, ShiftColor(b, 0.08f), kWhite, GradientDirection::TopToBottom);
        c.host.DrawContent();
        g.Frame(1, 1, w - 2, h - 2, kWhite);
        return;
    }
    g.Fill(g.Client(), ShiftColor(b, -0.05f));
    c.host.DrawContent();
    g.Line(1, 1, w - 2, 1, ShiftColor(b, -0.16f));
    g.Line(1, 2, w - 2, 2, ShiftColor(b, -0.1f));
    g.Line(1, h - 2, w - 2, h - 2, ShiftColor(b, 0.01f));
    g.Line(1, 1, 1, h - 2, ShiftColor(b, -0.16f));
    g.Line(2, 2, 2, h - 2, ShiftColor(b, -0.1f));
    g.Line(w - 2, 2, w - 2, h - 2, ShiftColor(b, 0.04f));
}
}  // namespace

void PaintRoundedGradient(const FaceContext& c) {
    const Canvas& g = c.canvas;
    const FaceState& f = c.face;
    const long b = f.back;
    const int w = g.Width();
    const int h = g.Height();
    if (!f.enabled) {
        c.host.RebuildRegion();
        g.Fill(g.Client(), AverageColor(SystemColorValue(COLOR_BTNFACE), ShiftColor(b, 0.1f)));
        c.host.DrawContent();
        g.Frame(0, 0, w, h, ShiftColor(b, -0.1f));
        g.Corners(ShiftColor(b, -0.1f));
        return;
    }
    if (f.state == VisualStates::Down) {
        PaintPressedFace(c);
    } else {
        if (f.state == VisualStates::Normal) c.host.RebuildRegion();
        PaintRaisedFace(c);
        if (f.state == VisualStates::Hot) PaintHighlightLines(g, kHotLines);
    }
    if (f.state == VisualStates::Normal && f.formActive && f.Emphasised()) PaintHighlightLines(g, FocusLines(f.scheme));
    if (f.formActive && f.showFocusRect && f.Emphasised()) g.FocusRect(RECT{2, 2, w - 2, h - 2});
    const long border = f.scheme == Schemes::Olive ? 0x066237 : 0x743C00;
    g.Frame(0, 0, w, h, border);
    g.Corners(ShiftColor(border, 0.3f));
}

}  // namespace controls::imagebutton
