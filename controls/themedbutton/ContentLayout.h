#pragma once
// Where the caption and the icon go, from the button's size, the measured
// caption and the icon margin the last repaint left. Pure arithmetic.
#include <windows.h>

namespace controls::themedbutton {

constexpr UINT kInitialCaptionFormat = DT_CENTER | DT_WORDBREAK;

struct CaptionPlacement {
    RECT rect{};
    UINT format = kInitialCaptionFormat;
};

// measured: the caption rectangle (4, 4, W - 4, H - 4) as DT_CALCRECT left it.
// previousFormat stays for an alignment outside 0..4.
CaptionPlacement PlaceCaption(int align, int width, int height, const RECT& measured, int margin,
                              UINT previousFormat, bool rightToLeft) noexcept;

// The icon's top-left corner for IconAlign, before the pressed offset.
POINT PlaceIcon(int align, int width, int height, int iconSize, int margin) noexcept;

}  // namespace controls::themedbutton
