#include "controls/progress/OtherStyles.h"

#include <cstdint>

#include "base/Handles.h"
#include "base/Rounding.h"
#include "controls/progress/BarColors.h"
#include "controls/progress/BarPrimitives.h"
#include "controls/progress/BlockStyles.h"

namespace controls::progress {

namespace {
constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kSilver = 0xC0C0C0;

// The fill's right edge for a bar that counts d percent as full.
int FillEnd(const BarLook& look, double d) { return FillExtent(look.percent / d * look.width, look.width); }

RECT Client(const BarLook& look) { return RECT{0, 0, look.width, look.height}; }

void Edge(HDC dc, const BarLook& look, UINT edge) {
    RECT client = Client(look);
    ::DrawEdge(dc, &client, edge, BF_RECT);
}

void DrawFlat(HDC dc, const BarLook& look) {
    OutlineRectangle(dc, Client(look), LightenColor(look.color, 100));
    FillRectangle(dc, RECT{1, 1, FillEnd(look, 100), look.height - 1}, LightenColor(look.color, 180));
}

void DrawSunkenGradient(HDC dc, const BarLook& look) {
    Edge(dc, look, BDR_SUNKENOUTER | BDR_RAISEDINNER);
    const int columns = FillExtent(static_cast<double>(look.width - 4) * look.percent / 100.0, look.width);
    DrawGradient(LightenColor(look.color, 140), LightenColor(look.color, 200), 2, 2, columns, look.height - 3, dc,
                 true);
}

void DrawGlass(HDC dc, const BarLook& look) {
    const int w = look.width;
    const int h = look.height;
    OutlineRectangle(dc, Client(look), LightenColor(look.color, 10));
    DrawGradient(look.color, LightenColor(look.color, 100), 2, 2, w - 2, h - 5, dc, false);
    const int end = FillEnd(look, 101);
    DrawGradient(LightenColor(look.color, 250), look.color, 3, 3, end, h - 6, dc, false);
    DrawLine(end, 2, end, h - 2, dc, LightenColor(look.color, 25));
}

void DrawDark(HDC dc, const BarLook& look) {
    OutlineRectangle(dc, Client(look), BlendColors(look.color, kBlack, 200));
    const int columns = FillExtent(look.percent / 100.0 * (look.width - 5), look.width);
    DrawGradient(kBlack, LightenColor(BlendColors(look.color, kBlack, 100), 10), 2, 2, columns, look.height - 2, dc,
                 true);
}

void DrawHatched(HDC dc, const BarLook& look) {
    Edge(dc, look, BDR_RAISEDOUTER | BDR_SUNKENINNER);
    const RECT fill{2, 2, FillEnd(look, 101), look.height - 2};
    base::BrushHandle hatch(::CreateHatchBrush(static_cast<std::int16_t>(look.hatchStyle), look.color));
    ::SetBkColor(dc, LightenColor(look.color, 140));
    ::FillRect(dc, &fill, hatch.Get());
}

void DrawPatterned(HDC dc, const BarLook& look) {
    Edge(dc, look, BDR_SUNKENOUTER);
    if (!look.image) return;
    base::BrushHandle pattern(::CreatePatternBrush(look.image));
    base::SelectedObject selected(dc, pattern.Get());
    ::PatBlt(dc, 2, 2, FillEnd(look, 101), look.height - 4, PATCOPY);
}

void DrawGlossy(HDC dc, const BarLook& look) {
    const int w = look.width;
    const int half = base::RoundToInt((look.height - 3) / 2.0);
    const int end = FillExtent(look.percent / 100.0 * (w - 4), w);
    DrawGradient(kWhite, kSilver, 2, 2, w - 3, half, dc, false);
    DrawGradient(kSilver, kSilver, 2, half, w - 3, half, dc, false);
    DrawGradient(LightenColor(look.color, 150), BlendColors(look.color, kBlack, 180), 2, 2, end, half, dc, false);
    DrawGradient(BlendColors(look.color, kBlack, 190), look.color, 2, half, end, half, dc, false);
    DrawFrame(dc, look.width, look.height);
}
}  // namespace

bool HasOwnPainter(int style) noexcept { return style >= Styles::Flat && style <= Styles::Glossy; }

void DrawOtherStyle(HDC dc, const BarLook& look) {
    switch (look.style) {
    case Styles::Flat:
        DrawFlat(dc, look);
        break;
    case Styles::SunkenGradient:
        DrawSunkenGradient(dc, look);
        break;
    case Styles::Glass:
        DrawGlass(dc, look);
        break;
    case Styles::Dark:
        DrawDark(dc, look);
        break;
    case Styles::Hatched:
        DrawHatched(dc, look);
        break;
    case Styles::Patterned:
        DrawPatterned(dc, look);
        break;
    case Styles::Glossy:
        DrawGlossy(dc, look);
        break;
    default:
        break;
    }
}

}  // namespace controls::progress
