// Style 7: a soft face with shaded side strips, a dark rounded border and
// highlight lines, every colour a shift of the state's base colour.
#include "controls/themedbutton/Drawing.h"
#include "controls/themedbutton/SkinStyles.h"

namespace controls::themedbutton::skins {

namespace {

// The shifts of one state: the base from BackColor (or the face), the face
// band, the left and right strips, top to bottom, and the border.
struct Style7Shades {
    int base;
    int faceTop, faceBottom;
    int leftTop, leftBottom;
    int rightTop, rightBottom;
    int border;
};

const Style7Shades& ShadesOf(int state) noexcept {
    static constexpr Style7Shades kNormal{8, 12, -12, 16, -16, -4, -26, -96};
    static constexpr Style7Shades kHot{24, 16, -16, 21, -21, -5, -32, -96};
    static constexpr Style7Shades kPressed{-9, -14, 10, -22, 4, 6, 14, -104};
    static constexpr Style7Shades kDisabled{18, 6, -6, 8, -8, -2, -12, -56};
    switch (state) {
    case 2:
    case 5:
        return kHot;
    case 3:
        return kPressed;
    case 4:
        return kDisabled;
    default:
        return kNormal;
    }
}

void HighlightLines(HDC dc, int w, int h, long k) {
    Line(dc, 2, 1, w - 2, 1, Shift(k, 96));
    Line(dc, 2, h - 2, w - 2, h - 2, Shift(k, 24));
    GradientRows(dc, Shift(k, 80), Shift(k, 32), 1, 2, 2, h - 5);
    GradientRows(dc, Shift(k, 80), Shift(k, 32), w - 2, 2, w - 1, h - 5);
}

}  // namespace

void DrawStyle7(HDC dc, const SkinInput& input, long& surfaceBackground) {
    const int w = input.width;
    const int h = input.height;
    const Style7Shades& s = ShadesOf(input.state);
    const long c = Shift(input.useCustomColors ? input.backColor : ButtonFace(), s.base);

    SetSurfaceBackground(dc, input, c, surfaceBackground);

    GradientRows(dc, Shift(c, s.faceTop), Shift(c, s.faceBottom), 3, 1, w - 3, h - 4);
    GradientRows(dc, Shift(c, s.leftTop), Shift(c, s.leftBottom), 1, 1, 3, h - 4);
    GradientRows(dc, Shift(c, s.rightTop), Shift(c, s.rightBottom), w - 3, 1, w - 1, h - 4);

    CutCornerBorder(dc, input, Shift(c, s.border));
    CornerPixels(dc, input, 1, 1, Shift(c, s.border * 3 / 4));
    CornerPixels(dc, input, 0, 1, Shift(c, s.border / 2));
    CornerPixels(dc, input, 1, 0, Shift(c, s.border / 2));

    if (input.state == 2 || input.state == 5)
        HighlightLines(dc, w, h, input.useCustomColors ? input.highlightColor : SystemHighlight());
    else if (input.state == 1 && input.hasFocus)
        HighlightLines(dc, w, h, SystemHighlight());
}

}  // namespace controls::themedbutton::skins
