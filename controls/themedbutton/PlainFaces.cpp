#include "controls/themedbutton/PlainFaces.h"

#include "controls/themedbutton/ButtonProperties.h"
#include "controls/themedbutton/Drawing.h"

namespace controls::themedbutton {

namespace {
long System(int index) noexcept { return static_cast<long>(::GetSysColor(index)); }

void SetSurface(HDC dc, const FaceInput& in, long color, long& surfaceBackground) {
    SetBackground(dc, in.width, in.height, color);
    surfaceBackground = color;
}

void Edge(HDC dc, const FaceInput& in, UINT kind) {
    RECT client{0, 0, in.width, in.height};
    ::DrawEdge(dc, &client, kind, BF_RECT);
}

// The background of looks 0, 1 and 2: the custom back colour in the given states,
// the custom highlight in the others, the button face without custom colours.
long CustomBackground(const FaceInput& in, bool backInState) noexcept {
    if (!in.useCustomColors) return System(COLOR_BTNFACE);
    return backInState ? in.backColor : in.highlightColor;
}

void Raised(HDC dc, const FaceInput& in, long& back) {
    // A disabled button keeps the button face its repaint gave it.
    if (in.state != VisualStates::Disabled)
        SetSurface(dc, in, CustomBackground(in, in.state == VisualStates::Normal), back);
    Edge(dc, in, in.state == VisualStates::Pressed ? EDGE_SUNKEN : EDGE_RAISED);
    if (in.emphasis) Outline(dc, 0, 0, in.width - 1, in.height - 1, 0x000000);
}

void SoftOrFlat(HDC dc, const FaceInput& in, bool flat, long& back) {
    const long b = CustomBackground(in, in.state == VisualStates::Normal || in.state == VisualStates::Disabled);
    SetSurface(dc, in, b, back);
    switch (in.state) {
    case VisualStates::Normal:
        if (flat)
            Outline(dc, 0, 0, in.width - 1, in.height - 1, b);
        else
            Edge(dc, in, BDR_RAISEDINNER);
        break;
    case VisualStates::Hot:
        Edge(dc, in, BDR_RAISEDINNER);
        break;
    case VisualStates::Pressed:
        Edge(dc, in, BDR_SUNKENOUTER);
        break;
    case VisualStates::Disabled:
        Outline(dc, 0, 0, in.width - 1, in.height - 1, b);
        break;
    default:
        break;
    }
}

void Etched(HDC dc, const FaceInput& in, long& back) {
    const long face = System(COLOR_BTNFACE);
    const long shadow = System(COLOR_BTNSHADOW);
    const long window = System(COLOR_WINDOW);
    SetSurface(dc, in, in.useCustomColors ? in.backColor : face, back);
    long f = in.useCustomColors ? in.backColor : face;
    if (in.state == VisualStates::Hot)
        f = in.useCustomColors ? Blend(in.highlightColor, in.backColor) : Blend(shadow, face);
    else if (in.state == VisualStates::Pressed)
        f = in.useCustomColors ? in.highlightColor : shadow;
    Fill(dc, 0, 0, in.width, in.height, f);
    const int w = in.width - 1;
    const int h = in.height - 1;
    Outline(dc, 0, 0, w - 1, h - 1, shadow);
    Outline(dc, 1, 1, w - 1, h - 1, window);
    Pixel(dc, 0, h, f);
    Pixel(dc, w, 0, f);
    const long between = Blend(window, shadow);
    Pixel(dc, 1, h - 1, between);
    Pixel(dc, w - 1, 1, between);
}

void Office(HDC dc, const FaceInput& in) {
    if (in.state == VisualStates::Hot || in.state == VisualStates::Pressed) {
        const long k = in.useCustomColors ? in.highlightColor : System(COLOR_HIGHLIGHT);
        // The fill stops a pixel short of the right and bottom edges; the outline covers them.
        Fill(dc, 0, 0, in.width - 1, in.height - 1, LightenColor(k, in.state == VisualStates::Hot ? 176 : 128));
        Outline(dc, 0, 0, in.width - 1, in.height - 1, k);
        return;
    }
    Fill(dc, 0, 0, in.width, in.height, LightenColor(in.useCustomColors ? in.backColor : System(COLOR_BTNFACE), 32));
}
}  // namespace

void DrawPlainFace(HDC dc, int style, const FaceInput& in, long& surfaceBackground) {
    switch (style) {
    case Styles::Raised:
        Raised(dc, in, surfaceBackground);
        break;
    case Styles::Soft:
        SoftOrFlat(dc, in, false, surfaceBackground);
        break;
    case Styles::Flat:
        SoftOrFlat(dc, in, true, surfaceBackground);
        break;
    case Styles::Etched:
        Etched(dc, in, surfaceBackground);
        break;
    case Styles::Office:
        Office(dc, in);
        break;
    default:
        return;
    }
    // The raised look shows the focus by its outline; the lighter looks need the dotted rectangle.
    if (style != Styles::Raised && in.focusRect) FocusRect(dc, in.width, in.height);
}

}  // namespace controls::themedbutton
