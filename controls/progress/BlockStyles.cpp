#include "controls/progress/BlockStyles.h"

#include <algorithm>

#include "base/Handles.h"
#include "base/Rounding.h"
#include "controls/progress/BarColors.h"
#include "controls/progress/BarPrimitives.h"

namespace controls::progress {

namespace {
constexpr int kFillLeft = 3;
constexpr int kBlockGap = 2;
constexpr int kStubRight = 12;  // an empty or nearly empty bar still shows this much
constexpr int kTrail = 45;      // style 2's blocks trail the fill by (100 - percent) of this in hundredths

int BlockWidth(int style) noexcept { return style == Styles::Segmented ? 6 : 0; }

// Style 2's blocks, lightest first.
COLORREF SlideFrom(COLORREF color, int i) noexcept { return LightenColor(color, 220 - 40 * i); }
COLORREF SlideTo(COLORREF color, int i) noexcept { return LightenColor(color, 200 - 40 * i); }

void DrawHorizontalFill(HDC dc, const BarLook& look, RECT& fill) {
    const int w = look.width;
    const int h = look.height;
    if (fill.right <= 14) fill.right = kStubRight;
    if (look.style == Styles::Searching) {
        for (int i = 0; i < 3; ++i) {
            const int x = FillExtent(12 * i + fill.right - (100.0 - look.percent) / 100.0 * kTrail, w);
            DrawGradient(SlideFrom(look.color, i), SlideTo(look.color, i), x, 3, 9, h - 2, dc, true);
        }
        return;
    }
    const int right = w < fill.right + 4 ? fill.right - 4 : fill.right;
    const COLORREF light = LightenColor(look.color, 150);
    // Light at the top and bottom edges, the full colour between.
    DrawGradient(light, look.color, 4, 3, right, 6, dc, false);
    FillRectangle(dc, RECT{4, 8, right, h - 8}, look.color);
    DrawGradient(look.color, light, 4, h - 10, right, 6, dc, false);
}

void DrawVerticalFill(HDC dc, const BarLook& look, const RECT& fill) {
    const int w = look.width;
    const int h = look.height;
    if (look.style == Styles::Searching) {
        for (int i = 0; i < 3; ++i)
            DrawGradient(SlideFrom(look.color, i), SlideTo(look.color, i), w - 2, fill.top + 12 * i, 2, 9, dc, false);
        return;
    }
    const COLORREF light = LightenColor(look.color, 150);
    DrawGradient(light, look.color, 4, fill.top, 4, h, dc, true);
    FillRectangle(dc, RECT{9, fill.top, w - 8, h}, look.color);
    DrawGradient(look.color, light, w - 8, fill.top, 4, h, dc, true);
}

struct CornerPixel {
    int x, y;  // negative: from the right or bottom edge (-1 is the last column or row)
    COLORREF color;
};

// In the order they are set: the left corners, then the right ones.
constexpr CornerPixel kCorners[] = {
    {0, 0, 0xFFFFFF},   {0, 1, 0xA6ABAC},   {0, 2, 0x7D7E7F},   {1, 0, 0xA7ABAC},   {1, 1, 0x777777},
    {2, 0, 0x7D7E7F},   {2, 2, 0xBEBEBE},   {0, -1, 0xFFFFFF},  {1, -1, 0xA6ABAC},  {2, -1, 0x7D7E7F},
    {0, -3, 0x7D7E7F},  {0, -2, 0xA7ABAC},  {1, -2, 0x777777},  {-1, 0, 0xFFFFFF},  {-1, 1, 0xBEBEBE},
    {-1, 2, 0x7D7E7F},  {-2, 2, 0xBEBEBE},  {-2, 1, 0x686868},  {-1, -1, 0xFFFFFF}, {-1, -2, 0xBEBEBE},
    {-1, -3, 0x7D7E7F}, {-2, -2, 0x777777}, {-2, -1, 0xBEBEBE}, {-3, -1, 0x7D7E7F},
};

int FromEdge(int at, int size) noexcept { return at < 0 ? size + at : at; }
}  // namespace

RECT LayoutFill(const BarLook& look) {
    RECT fill{kFillLeft, 0, look.width, look.height};
    const double f = std::max(0.0, look.percent / 98.0);  // not capped: 99 and 100 overfill into the border
    const int step = BlockWidth(look.style) + kBlockGap;
    if (look.vertical) {
        const int top = base::RoundToInt(look.height * (1 - f));
        fill.top = std::min(look.height, top - (top - look.height) % step);
    } else {
        const int right = base::RoundToInt((look.width - kFillLeft) * f + kFillLeft);
        fill.right = std::max(kFillLeft, right - (right - kFillLeft) % step);
    }
    return fill;
}

void DrawFill(HDC dc, const BarLook& look, RECT& fill) {
    if (look.vertical)
        DrawVerticalFill(dc, look, fill);
    else
        DrawHorizontalFill(dc, look, fill);
}

void DrawSeparators(HDC dc, const BarLook& look, const RECT& fill) {
    const int block = BlockWidth(look.style);
    const int step = block + kBlockGap;
    if (look.vertical) {
        for (int y = look.height; y >= fill.top + block; y -= step)
            FillRectangle(dc, RECT{kFillLeft, y - kBlockGap, look.width, y}, 0xFFFFFF);
    } else {
        for (int x = fill.left + block; x <= fill.right; x += step)
            FillRectangle(dc, RECT{x + 1, 0, x + 1 + kBlockGap, look.height}, 0xFFFFFF);
    }
}

void DrawFrame(HDC dc, int width, int height) {
    const int w = width;
    const int h = height;
    DrawLine(2, 1, w - 2, 1, dc, 0xBEBEBE);
    DrawLine(2, h - 2, w - 2, h - 2, dc, 0xEFEFEF);
    DrawLine(1, 2, 1, h - 2, dc, 0xBEBEBE);
    DrawLine(2, 2, 2, h - 2, dc, 0xEFEFEF);
    DrawLine(2, 2, w - 2, 2, dc, 0xEFEFEF);
    DrawLine(w - 2, 2, w - 2, h - 2, dc, 0xEFEFEF);
    OutlineRectangle(dc, RECT{0, 0, w, h}, 0x686868);
    for (const CornerPixel& pixel : kCorners) ::SetPixelV(dc, FromEdge(pixel.x, w), FromEdge(pixel.y, h), pixel.color);
}

void DrawBlockStyle(HDC dc, const BarLook& look) {
    RECT fill = LayoutFill(look);
    DrawFill(dc, look, fill);
    if (look.style == Styles::Segmented) DrawSeparators(dc, look, fill);
    DrawFrame(dc, look.width, look.height);
}

}  // namespace controls::progress
