// Style 5, the default look: a light face inside a dark blue border with
// softened corners, orange lines when hot and blue ones when emphasised.
#include "controls/themedbutton/Drawing.h"
#include "controls/themedbutton/SkinStyles.h"

namespace controls::themedbutton::skins {

void DrawStyle5(HDC dc, const SkinInput& input, long& surfaceBackground) {
    const int w = input.width;
    const int h = input.height;
    const int state = input.state;

    SetSurfaceBackground(dc, input, state == 4 ? 0xEAF4F5 : ButtonFace(), surfaceBackground);

    if (state == 4) {
        Outline(dc, 0, 0, w - 1, h - 1, 0xBAC7C9);
        CornerPixels(dc, input, 0, 1, 0xC7D5D8);
        CornerPixels(dc, input, 1, 1, 0xC7D5D8);
        CornerPixels(dc, input, 1, 0, 0xC7D5D8);
        return;
    }

    if (state == 3) {
        GradientRows(dc, 0xC1CCD1, 0xDCE3E4, 2, 1, w - 1, 4);
        GradientRows(dc, 0xDCE3E4, 0xDBE2E3, 2, 4, w - 1, h - 8);
        GradientRows(dc, 0xDBE2E3, 0xEEF1F2, 3, h - 4, w - 1, 3);
        GradientRows(dc, 0xCED8DA, 0xDBE2E3, 1, 3, 2, h - 5);
        GradientRows(dc, 0xCED8DA, 0xDBE2E3, 2, 4, 3, h - 7);
    } else {
        GradientRows(dc, 0xFBFCFC, 0xF0F0F0, 1, 1, w - 2, 4);
        GradientRows(dc, 0xF9FAFA, 0xEAF0F0, 1, 4, w - 2, h - 8);
        GradientRows(dc, 0xE6EBEB, 0xC5D0D6, 1, h - 4, w - 2, 3);
        GradientRows(dc, 0xFAFBFB, 0xDAE2E4, w - 3, 3, w - 2, h - 5);
        GradientRows(dc, 0xF2F4F5, 0xCDD7DB, w - 2, 3, w - 1, h - 5);
    }

    CutCornerBorder(dc, input, 0x743C00);

    CornerPixels(dc, input, 1, 1, 0x906E48);
    CornerPixels(dc, input, 0, 1, 0xA28B6A);
    CornerPixels(dc, input, 1, 0, 0xA28B6A);
    CornerPixels(dc, input, 1, 2, 0xCAC7BF);
    CornerPixels(dc, input, 2, 1, 0xCAC7BF);

    if (state == 2) {
        Line(dc, 2, 1, w - 2, 1, 0xCFF0FF);
        Line(dc, 2, 2, w - 2, 2, 0x89D8FD);
        Line(dc, 2, h - 3, w - 2, h - 3, 0x30B3F8);
        Line(dc, 2, h - 2, w - 2, h - 2, 0x1097E5);
        GradientRows(dc, 0x89D8FD, 0x30B3F8, 1, 2, 3, h - 5);
        GradientRows(dc, 0x89D8FD, 0x30B3F8, w - 3, 2, w - 1, h - 5);
    } else if (state == 1 && (input.hasFocus || input.defaultHint)) {
        Line(dc, 2, h - 2, w - 2, h - 2, 0xEE8269);
        Line(dc, 2, 1, w - 2, 1, 0xFFE7CE);
        Line(dc, 2, 2, w - 2, 2, 0xF6D4BC);
        Line(dc, 2, h - 3, w - 2, h - 3, 0xE4AD89);
        GradientRows(dc, 0xF6D4BC, 0xE4AD89, 1, 2, 3, h - 5);
        GradientRows(dc, 0xF6D4BC, 0xE4AD89, w - 3, 2, w - 1, h - 5);
    }
}

}  // namespace controls::themedbutton::skins
