// Style 5 with custom colours: the default look's geometry with every colour a
// shift of BackColor, and the hot and focus lines shifts of a highlight colour.
#include "controls/themedbutton/Drawing.h"
#include "controls/themedbutton/SkinStyles.h"

namespace controls::themedbutton::skins {

namespace {
void HighlightLines(HDC dc, int w, int h, long k) {
    Line(dc, 2, 1, w - 2, 1, Shift(k, 85));
    Line(dc, 2, 2, w - 2, 2, Shift(k, 69));
    Line(dc, 2, h - 3, w - 2, h - 3, Shift(k, 16));
    Line(dc, 2, h - 2, w - 2, h - 2, Shift(k, -8));
    GradientRows(dc, Shift(k, 69), Shift(k, 16), 1, 2, 3, h - 5);
    GradientRows(dc, Shift(k, 69), Shift(k, 16), w - 3, 2, w - 1, h - 5);
}
}  // namespace

void DrawCustomStyle5(HDC dc, const SkinInput& input, long& surfaceBackground) {
    const int w = input.width;
    const int h = input.height;
    const int state = input.state;
    const long b = input.backColor;

    // Pressed keeps whatever background the previous repaint left.
    SetSurfaceBackground(dc, input, state == 3 ? surfaceBackground : b, surfaceBackground);

    if (state == 4) {
        Outline(dc, 0, 0, w - 1, h - 1, Shift(b, -46));
        CornerPixels(dc, input, 0, 1, Shift(b, -32));
        CornerPixels(dc, input, 1, 1, Shift(b, -32));
        CornerPixels(dc, input, 1, 0, Shift(b, -32));
        return;
    }

    if (state == 3) {
        GradientRows(dc, Shift(b, -37), Shift(b, -21), 2, 1, w - 1, 4);
        GradientRows(dc, Shift(b, -21), Shift(b, -22), 2, 4, w - 1, h - 8);
        GradientRows(dc, Shift(b, -22), Shift(b, -6), 3, h - 4, w - 1, 3);
        GradientRows(dc, Shift(b, -33), Shift(b, -22), 1, 3, 2, h - 5);
        GradientRows(dc, Shift(b, -33), Shift(b, -22), 2, 4, 3, h - 7);
    } else {
        GradientRows(dc, Shift(b, 11), Shift(b, -1), 1, 1, w - 2, 4);
        GradientRows(dc, Shift(b, 9), Shift(b, -3), 1, 4, w - 2, h - 8);
        GradientRows(dc, Shift(b, -8), Shift(b, -35), 1, h - 4, w - 2, 3);
        GradientRows(dc, Shift(b, 10), Shift(b, -17), w - 3, 3, w - 2, h - 5);
        GradientRows(dc, Shift(b, 3), Shift(b, -28), w - 2, 3, w - 1, h - 5);
    }

    CutCornerBorder(dc, input, Shift(b, -182));

    CornerPixels(dc, input, 1, 1, Shift(b, -132));
    CornerPixels(dc, input, 0, 1, Shift(b, -105));
    CornerPixels(dc, input, 1, 0, Shift(b, -105));
    CornerPixels(dc, input, 1, 2, Shift(b, -44));
    CornerPixels(dc, input, 2, 1, Shift(b, -44));

    if (state == 2)
        HighlightLines(dc, w, h, input.highlightColor);
    else if (state == 5 || (input.hasFocus && input.showFocus))
        HighlightLines(dc, w, h, SystemHighlight());
}

}  // namespace controls::themedbutton::skins
