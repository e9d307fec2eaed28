#include "controls/themedbutton/Skins.h"

#include "controls/themedbutton/Drawing.h"
#include "controls/themedbutton/SkinStyles.h"

namespace controls::themedbutton {

namespace skins {

long ButtonFace() noexcept { return static_cast<long>(::GetSysColor(COLOR_BTNFACE)); }

long SystemHighlight() noexcept { return static_cast<long>(::GetSysColor(COLOR_HIGHLIGHT)); }

void SetSurfaceBackground(HDC dc, const SkinInput& input, long color, long& surfaceBackground) {
    SetBackground(dc, input.width, input.height, color);
    surfaceBackground = color;
}

void CutCornerBorder(HDC dc, const SkinInput& input, long color) {
    const int w = input.width;
    const int h = input.height;
    Line(dc, 1, 0, w - 1, 0, color);
    Line(dc, 0, 1, 0, h - 1, color);
    Line(dc, w - 1, 1, w - 1, h - 1, color);
    Line(dc, 1, h - 1, w - 1, h - 1, color);
}

void CornerPixels(HDC dc, const SkinInput& input, int x, int y, long color) {
    const int right = input.width - 1 - x;
    const int bottom = input.height - 1 - y;
    Pixel(dc, x, y, color);
    Pixel(dc, right, y, color);
    Pixel(dc, x, bottom, color);
    Pixel(dc, right, bottom, color);
}

}  // namespace skins

void DrawSkin(HDC dc, int style, const SkinInput& input, long& surfaceBackground) {
    switch (style) {
    case 5:
        if (input.useCustomColors)
            skins::DrawCustomStyle5(dc, input, surfaceBackground);
        else
            skins::DrawStyle5(dc, input, surfaceBackground);
        break;
    case 7:
        skins::DrawStyle7(dc, input, surfaceBackground);
        break;
    case 8:
        skins::DrawStyle8(dc, input, surfaceBackground);
        break;
    case 9:
        skins::DrawStyle9(dc, input, surfaceBackground);
        break;
    case 10:
        skins::DrawStyle10(dc, input, surfaceBackground);
        break;
    default:
        break;
    }
}

}  // namespace controls::themedbutton
