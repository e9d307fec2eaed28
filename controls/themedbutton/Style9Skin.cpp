// Style 9: a glossy face between shaded ends, like a rod seen from the front,
// with a bright-to-dark left edge; every colour a shift of the state's base.
#include "base/Rounding.h"
#include "controls/themedbutton/Drawing.h"
#include "controls/themedbutton/SkinStyles.h"

namespace controls::themedbutton::skins {

namespace {

long BaseColor(const SkinInput& input) noexcept {
    const long back = input.useCustomColors ? input.backColor : ButtonFace();
    const long highlight = input.useCustomColors ? input.highlightColor : ButtonFace();
    switch (input.state) {
    case 2:
    case 5:
        return Shift(highlight, 1);
    case 3:
        return Shift(highlight, 24);
    case 4:
        return Shift(back, 15);
    default:
        return Shift(back, -15);
    }
}

// One end: four one-pixel columns, each an upper strip ending just above the
// middle and a lower strip from there down to row H - 3, darker towards the
// outside. `column(i)` gives the i-th column counted from the outermost one.
template <typename Column>
void ShadedEnd(HDC dc, long c, int h, int half, Column column) {
    GradientRows(dc, Shift(c, 48), c, column(0), 2, column(0) + 1, half - 5);
    GradientRows(dc, c, Shift(c, -37), column(1), 4, column(1) + 1, half - 7);
    GradientRows(dc, c, Shift(c, -53), column(2), 3, column(2) + 1, half - 6);
    GradientRows(dc, c, Shift(c, -37), column(3), 2, column(3) + 1, half - 5);
    const int lower = h - half - 1;
    GradientRows(dc, c, Shift(c, -64), column(0), half - 2, column(0) + 1, lower);
    GradientRows(dc, Shift(c, -37), Shift(c, -80), column(1), half - 2, column(1) + 1, lower);
    GradientRows(dc, Shift(c, -53), Shift(c, -96), column(2), half - 2, column(2) + 1, lower);
    GradientRows(dc, Shift(c, -37), Shift(c, -64), column(3), half - 2, column(3) + 1, lower);
}

}  // namespace

void DrawStyle9(HDC dc, const SkinInput& input, long& surfaceBackground) {
    const int w = input.width;
    const int h = input.height;
    const int half = base::RoundToInt(h / 2.0);
    const long c = BaseColor(input);

    SetSurfaceBackground(dc, input, c, surfaceBackground);

    GradientRows(dc, Shift(c, 32), Shift(c, -32), 5, 2, w - 5, h - 6);
    // The gloss ends on the face's first row, in the face's own colour.
    GradientRows(dc, Shift(c, 64), Shift(c, 32), 5, 1, w - 5, 1);
    ShadedEnd(dc, c, h, half, [](int i) { return 1 + i; });
    ShadedEnd(dc, c, h, half, [w](int i) { return w - 2 - i; });
    GradientRows(dc, Shift(c, 128), Shift(c, -128), 0, 0, 1, h - 4);
    GradientRows(dc, Shift(c, 32), Shift(c, -16), w - 1, 3, w, half - 6);
    GradientRows(dc, Shift(c, -32), Shift(c, -96), w - 1, half - 2, w, h - half - 2);

    // Below the face, darker to the right, away from the bright left edge.
    GradientColumns(dc, Shift(c, -44), Shift(c, -72), 5, h - 3, w - 6, h - 1);
    // The rims, fading towards the cut corners, and the sheen's ends.
    GradientColumns(dc, Shift(c, -96), Shift(c, -64), 2, 0, 6, 1);
    GradientColumns(dc, Shift(c, -64), Shift(c, -96), w - 7, 0, w - 3, 1);
    GradientColumns(dc, Shift(c, -128), Shift(c, -96), 4, h - 1, 8, h);
    GradientColumns(dc, Shift(c, -96), Shift(c, -128), w - 8, h - 1, w - 4, h);
    GradientColumns(dc, Shift(c, -32), Shift(c, 48), 2, 1, 4, 2);
    GradientColumns(dc, Shift(c, 48), Shift(c, -32), w - 5, 1, w - 3, 2);
    Line(dc, 7, 0, w - 7, 0, Shift(c, -64));
    Line(dc, 9, h - 1, w - 8, h - 1, Shift(c, -96));
    Line(dc, 2, h - 2, 5, h - 2, Shift(c, -80));
    Line(dc, w - 5, h - 2, w - 2, h - 2, Shift(c, -96));
    Line(dc, 1, 1, 2, 1, Shift(c, -96));
    Line(dc, w - 2, 1, w, 3, Shift(c, -96));
    Line(dc, 1, h - 3, 4, h, Shift(c, -112));
    Line(dc, w - 1, h - 3, w - 4, h, Shift(c, -112));
    if (input.focusRect) FocusRect(dc, w, h);
}

}  // namespace controls::themedbutton::skins
