// Style 8: a face gradient between light and dark inner lines, a border darker
// with the focus, and a shade along the bottom and right, all from one base colour.
#include "controls/themedbutton/Drawing.h"
#include "controls/themedbutton/SkinStyles.h"

namespace controls::themedbutton::skins {

void DrawStyle8(HDC dc, const SkinInput& input, long& surfaceBackground) {
    const int w = input.width;
    const int h = input.height;
    const bool pressed = input.state == 3;
    const long d = input.useCustomColors ? input.backColor : ButtonFace();
    const long c =
        input.state == 1 ? d : Shift(input.useCustomColors ? input.highlightColor : ButtonFace(), 15);

    SetSurfaceBackground(dc, input, c, surfaceBackground);

    if (pressed)
        GradientRows(dc, Shift(c, -15), Shift(c, 15), 2, 2, w - 3, h - 6);
    else
        GradientRows(dc, Shift(c, 15), Shift(c, -15), 2, 2, w - 3, h - 6);

    const long light = Shift(c, 96);
    Line(dc, 2, 1, w - 3, 1, pressed ? c : light);
    Line(dc, 1, 2, 1, h - 3, pressed ? c : light);
    Line(dc, 2, h - 3, w - 2, h - 3, pressed ? light : c);
    Line(dc, w - 2, 2, w - 2, h - 3, pressed ? light : c);

    const long e = Shift(d, (!pressed && input.hasFocus) ? -96 : -48);
    Line(dc, 2, 0, w - 3, 0, e);
    Line(dc, 0, 2, 0, h - 3, e);
    Line(dc, 2, h - 2, w - 3, h - 2, e);
    Line(dc, w - 2, 2, w - 2, h - 3, e);
    Pixel(dc, 1, 1, e);
    Pixel(dc, 1, h - 3, e);
    Pixel(dc, w - 3, 1, e);
    Pixel(dc, w - 3, h - 3, e);

    const long shade = Shift(e, 21);
    Line(dc, 3, h - 1, w - 4, h - 1, shade);
    Line(dc, w - 1, 3, w - 1, h - 4, shade);
    Line(dc, w - 4, h - 1, w, h - 5, shade);
    Line(dc, w - 3, h - 1, w, h - 4, Shift(shade, 15));
}

}  // namespace controls::themedbutton::skins
