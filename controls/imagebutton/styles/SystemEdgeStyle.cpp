// Standard, SoftEdge, FlatEdge and FlatThin: faces framed by the platform's 3-D edges.
#include "controls/imagebutton/ButtonProperties.h"
#include "controls/imagebutton/ColorMath.h"
#include "controls/imagebutton/styles/StyleRoutines.h"

namespace controls::imagebutton {

namespace {
// The default-button look's frame colour (system colour 12).
constexpr int kDefaultFrameColor = COLOR_APPWORKSPACE;

void PaintStateEdge(const FaceContext& c) {
    const Canvas& g = c.canvas;
    const int style = c.face.style;
    const int w = g.Width();
    const int h = g.Height();
    switch (c.face.state) {
    case VisualStates::Normal:
        if (style == Styles::Standard) g.Edge(g.Client(), EdgeKind::Raised);
        if (style == Styles::SoftEdge) g.Edge(g.Client(), EdgeKind::ThinRaised);
        break;
    case VisualStates::Hot:
        if (style == Styles::SoftEdge || style == Styles::FlatThin) g.Edge(g.Client(), EdgeKind::ThinRaised);
        if (style == Styles::Standard || style == Styles::FlatEdge) g.Edge(g.Client(), EdgeKind::Raised);
        break;
    case VisualStates::Down:
        if (style == Styles::Standard) {
            g.Frame(1, 1, w - 2, h - 2, 0x99A8AC);
            g.Frame(0, 0, w, h, kBlack);
        } else if (style == Styles::SoftEdge || style == Styles::FlatThin) {
            // The second frame's right and bottom sides fall outside: grey top and left over white.
            g.Frame(0, 0, w, h, kWhite);
            g.Frame(0, 0, w + 1, h + 1, SystemColorValue(COLOR_GRAYTEXT));
        } else {
            g.Edge(g.Client(), EdgeKind::Sunken);
        }
        break;
    default:
        break;
    }
}

void PaintFocusAndDefault(const FaceContext& c) {
    const FaceState& f = c.face;
    if (!f.Emphasised()) return;
    const Canvas& g = c.canvas;
    const int w = g.Width();
    const int h = g.Height();
    const bool standard = f.style == Styles::Standard;
    if (f.userMode && f.showFocusRect && f.formActive) {
        const int inset = standard || f.style == Styles::FlatEdge ? 4 : 3;
        g.FocusRect(RECT{inset, inset, w - inset, h - inset});
    }
    if (standard && f.state != VisualStates::Down) {
        g.Edge(RECT{0, 0, w - 1, h - 1}, EdgeKind::Raised);
        g.Frame(0, 0, w - 1, h - 1, SystemColorValue(kDefaultFrameColor));
        g.Frame(0, 0, w, h, kBlack);
    }
}
}  // namespace

void PaintSystemEdgeStyle(const FaceContext& c) {
    const Canvas& g = c.canvas;
    const FaceState& f = c.face;
    if (!f.enabled) {
        if (f.style == Styles::Standard) g.Edge(g.Client(), EdgeKind::Raised);
        if (f.style == Styles::SoftEdge) g.Edge(g.Client(), EdgeKind::ThinRaised);
        c.host.DrawContent();
        return;
    }
    if (f.checked) {
        g.Fill(g.Client(), ShiftColor(f.back, 0.02f));
        c.host.DrawContent();
        if (f.style == Styles::FlatThin) return;
        g.Edge(g.Client(), EdgeKind::Sunken);
        if (f.style == Styles::Standard && f.showFocusRect && f.hasFocus)
            g.Frame(4, 4, g.Width() - 7, g.Height() - 7, SystemColorValue(kDefaultFrameColor));
        return;
    }
    if (f.state == VisualStates::Normal) c.host.RebuildRegion();
    g.Fill(g.Client(), f.back);
    c.host.DrawContent();
    PaintStateEdge(c);
    PaintFocusAndDefault(c);
}

}  // namespace controls::imagebutton
