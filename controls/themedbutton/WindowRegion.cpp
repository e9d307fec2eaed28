#include "controls/themedbutton/WindowRegion.h"

#include "controls/themedbutton/ButtonProperties.h"

namespace controls::themedbutton {

namespace {
base::RegionHandle Polygon(std::initializer_list<POINT> points) {
    return base::RegionHandle(::CreatePolygonRgn(points.begin(), static_cast<int>(points.size()), ALTERNATE));
}
}  // namespace

base::RegionHandle RegionForStyle(int style, int w, int h) {
    switch (style) {
    case Styles::Skin:
    case Styles::Shaded:
        return Polygon({{0, 1}, {1, 0}, {w - 1, 0}, {w, 1}, {w, h - 2}, {w - 2, h}, {2, h}, {0, h - 2}});
    case Styles::Bevelled:
    case Styles::Cylinder:
        return Polygon({{0, 2}, {2, 0}, {w - 3, 0}, {w, 3}, {w, h - 3}, {w - 3, h}, {4, h}, {0, h - 4}});
    case Styles::Large:
        return base::RegionHandle(::CreateRoundRectRgn(0, 0, w + 1, h + 1, 18, 18));
    default:
        return base::RegionHandle(::CreateRectRgn(0, 0, w, h));
    }
}

}  // namespace controls::themedbutton
