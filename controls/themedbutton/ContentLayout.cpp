#include "controls/themedbutton/ContentLayout.h"

#include "controls/themedbutton/ButtonProperties.h"
#include "base/Rounding.h"

namespace controls::themedbutton {

namespace {
// Each entry is worked out in floating point and rounded once.
int Round(double value) noexcept { return base::RoundToInt(value); }
}  // namespace

CaptionPlacement PlaceCaption(int align, int width, int height, const RECT& measured, int margin,
                              UINT previousFormat, bool rightToLeft) noexcept {
    const double W = width, H = height, m = margin;
    const double L = measured.left, T = measured.top, R = measured.right, B = measured.bottom;
    const int middleTop = Round((H - B - T) / 2 + 3);
    const int middleBottom = Round((H + B - T) / 2);
    const int centreLeft = Round((W - R - L) / 2);
    const int centreRight = Round((W + R - L) / 2);
    CaptionPlacement placed;
    switch (align) {
    case Aligns::Centre:
        placed = {{centreLeft, middleTop, centreRight, middleBottom}, DT_CENTER | DT_VCENTER | DT_WORDBREAK};
        break;
    case Aligns::Left:
        placed = {{margin, middleTop, Round(R + m), middleBottom}, DT_VCENTER | DT_WORDBREAK};
        break;
    case Aligns::Right:
        placed = {{Round(W - R - L - m), middleTop, Round(W - L - m), middleBottom},
                  DT_RIGHT | DT_VCENTER | DT_WORDBREAK};
        break;
    case Aligns::Top:
        placed = {{centreLeft, Round(m / 2), centreRight, Round(m / 2 + (B - T))}, DT_CENTER | DT_WORDBREAK};
        break;
    case Aligns::Bottom:
        placed = {{centreLeft, Round(H - (B - T) - m / 2), centreRight, Round(H - m / 2)},
                  DT_CENTER | DT_BOTTOM | DT_WORDBREAK};
        break;
    default:
        placed = {{4, 4, width - 4, height - 4}, previousFormat};
        break;
    }
    if (rightToLeft) placed.format |= DT_RTLREADING;
    return placed;
}

POINT PlaceIcon(int align, int width, int height, int iconSize, int margin) noexcept {
    const double W = width, H = height, S = iconSize;
    switch (align) {
    case Aligns::Centre:
        return {Round((W - S) / 2), Round((H - S) / 2)};
    case Aligns::Left:
        return {margin, Round((H - S) / 2)};
    case Aligns::Right:
        return {width - iconSize - margin, Round((H - S) / 2)};
    case Aligns::Top:
        return {Round((W - S) / 2), margin};
    case Aligns::Bottom:
        return {Round((W - S) / 2), height - iconSize - margin};
    default:
        return {0, 0};
    }
}

}  // namespace controls::themedbutton
