#include "controls/imagebutton/WindowRegion.h"

#include "controls/imagebutton/ButtonProperties.h"

namespace controls::imagebutton {

int CornerEllipse(int style) noexcept {
    switch (style) {
    case Styles::RoundedGradient:
    case Styles::RoundedBands:
    case Styles::RoundedSimple:
    case Styles::RoundedShaded:
        return 3;
    case Styles::RoundedPanel:
    case Styles::RoundedBlend:
        return 4;
    default:
        return 0;
    }
}

base::RegionHandle RegionForStyle(int style, int width, int height) {
    if (style == Styles::Themed) return base::RegionHandle();
    const int ellipse = CornerEllipse(style);
    if (ellipse == 0) return base::RegionHandle(::CreateRectRgn(0, 0, width, height));
    return base::RegionHandle(::CreateRoundRectRgn(0, 0, width + 1, height + 1, ellipse, ellipse));
}

}  // namespace controls::imagebutton
