#include "controls/progress/BarPrimitives.h"

#include <algorithm>

#include "base/Handles.h"
#include "base/Rounding.h"
#include "controls/progress/BarColors.h"
#include "forms/SolidFill.h"

namespace controls::progress {

namespace {
// A channel of a gradient's line i: start + step * i in single precision, halves to even.
int GradientChannel(int start, float step, long long i) noexcept {
    const float value = static_cast<float>(start) + step * static_cast<float>(i);
    return std::clamp(base::RoundToInt(value), 0, 255);
}

float Step(int from, int to, int n) noexcept {
    if (n == 0) return 0.0f;  // one line in the first colour
    return static_cast<float>(static_cast<double>(to - from) / n);
}

// The pens of a gradient, one per line: each new pen replaces the last in the
// DC, which is then deleted; the DC's own pen comes back at the end.
class LinePens {
public:
    explicit LinePens(HDC dc) noexcept : dc_(dc) {}
    LinePens(const LinePens&) = delete;
    LinePens& operator=(const LinePens&) = delete;
    ~LinePens() {
        if (original_) ::SelectObject(dc_, original_);
    }

    void Line(int x1, int y1, int x2, int y2, COLORREF color) {
        base::PenHandle pen(::CreatePen(PS_SOLID, 1, color));
        if (!pen) return;  // a pen that cannot be made draws nothing
        if (HGDIOBJ replaced = ::SelectObject(dc_, pen.Get()); !original_) original_ = replaced;
        current_ = std::move(pen);  // the last line's pen, no longer in the DC, goes
        const POINT ends[] = {{x1, y1}, {x2, y2}};
        ::Polyline(dc_, ends, 2);
    }

private:
    HDC dc_;
    HGDIOBJ original_ = nullptr;
    base::PenHandle current_;  // deleted after the destructor has put the original pen back
};
}  // namespace

void DrawLine(int x1, int y1, int x2, int y2, HDC dc, forms::OleColor color) {
    base::PenHandle pen(::CreatePen(PS_SOLID, 1, ResolveColor(color)));
    base::SelectedObject selected(dc, pen.Get());
    ::MoveToEx(dc, x1, y1, nullptr);
    ::LineTo(dc, x2, y2);
}

void DrawGradient(forms::OleColor color1, forms::OleColor color2, int x, int y, int x2, int y2, HDC dc, bool columns) {
    color1 = ResolveColor(color1);
    color2 = ResolveColor(color2);
    const int n = columns ? x2 : y2;
    const float red = Step(GetRValue(color1), GetRValue(color2), n);
    const float green = Step(GetGValue(color1), GetGValue(color2), n);
    const float blue = Step(GetBValue(color1), GetBValue(color2), n);
    LinePens pens(dc);
    for (long long i = 0; i <= n; ++i) {
        const int at = static_cast<int>(i);
        const COLORREF color =
            RGB(GradientChannel(GetRValue(color1), red, i), GradientChannel(GetGValue(color1), green, i),
                GradientChannel(GetBValue(color1), blue, i));
        if (columns)
            pens.Line(x + at, y, x + at, y2, color);
        else
            pens.Line(x, y + at, x2, y + at, color);
    }
}

int FillExtent(double extent, int size) noexcept {
    // Past the bar by more than its size plus the sliding blocks' width, nothing shows.
    const long long reach = static_cast<long long>(size) + 16;
    return static_cast<int>(std::clamp(base::RoundHalfEven(extent), -reach, reach));
}

void FillRectangle(HDC dc, const RECT& rect, forms::OleColor color) { forms::FillSolid(dc, rect, ResolveColor(color)); }

void OutlineRectangle(HDC dc, const RECT& rect, COLORREF color) { forms::FrameSolid(dc, rect, color); }

}  // namespace controls::progress
