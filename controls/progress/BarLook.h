#pragma once
// What one draw of the bar needs to know: its size, colour, fill and style.
#include <windows.h>

namespace controls::progress {

namespace Styles {
constexpr int Segmented = 0;
constexpr int Smooth = 1;
constexpr int Searching = 2;
constexpr int Flat = 3;
constexpr int SunkenGradient = 4;
constexpr int Glass = 5;
constexpr int Dark = 6;
constexpr int Hatched = 7;
constexpr int Patterned = 8;
constexpr int Glossy = 9;
}  // namespace Styles

struct BarLook {
    int width = 0;  // of the client area
    int height = 0;
    COLORREF color = 0;  // the fill colour, resolved
    int percent = 0;     // 100 at most; may be negative
    int style = Styles::Segmented;
    bool vertical = false;  // only styles 0 to 2 draw vertically
    int hatchStyle = HS_CROSS;
    HBITMAP image = nullptr;  // style 8's pattern, if any
};

}  // namespace controls::progress
