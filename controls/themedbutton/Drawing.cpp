#include "controls/themedbutton/Drawing.h"

#include <algorithm>

#include "forms/ColorMath.h"
#include "forms/Handles.h"
#include "forms/Rounding.h"

namespace controls::themedbutton {

namespace {

int Clamp(int channel) noexcept { return std::clamp(channel, 0, 255); }

int LightenChannel(int channel, int k) noexcept { return Clamp(k + (255 - k) * channel / 255); }

// The DC's own pen, coloured per line, so no pen is created; the pen it
// replaced goes back when the scope ends.
class DcPen {
public:
    explicit DcPen(HDC dc) noexcept : dc_(dc), selected_(dc, ::GetStockObject(DC_PEN)) {}
    void Draw(int x1, int y1, int x2, int y2, long c) const noexcept {
        ::SetDCPenColor(dc_, static_cast<COLORREF>(c));
        ::MoveToEx(dc_, x1, y1, nullptr);
        ::LineTo(dc_, x2, y2);
    }

private:
    HDC dc_;
    forms::SelectedObject selected_;
};

// Colour i of n steps from one colour to another: the per-step change of each
// channel is a single-precision value, and so is the channel it gives.
class GradientSteps {
public:
    GradientSteps(long from, long to, int n) noexcept
        : red_(forms::RedOf(from)),
          green_(forms::GreenOf(from)),
          blue_(forms::BlueOf(from)),
          redStep_(Step(red_, forms::RedOf(to), n)),
          greenStep_(Step(green_, forms::GreenOf(to), n)),
          blueStep_(Step(blue_, forms::BlueOf(to), n)) {}

    long At(int i) const noexcept {
        return forms::RgbOf(Channel(red_, redStep_, i), Channel(green_, greenStep_, i), Channel(blue_, blueStep_, i));
    }

private:
    static float Step(int from, int to, int n) noexcept {
        return static_cast<float>(to - from) / static_cast<float>(n);
    }
    static int Channel(int from, float step, int i) noexcept {
        const float value = static_cast<float>(from) + step * static_cast<float>(i);
        return Clamp(static_cast<int>(forms::RoundHalfEven(static_cast<double>(value))));
    }

    int red_, green_, blue_;
    float redStep_, greenStep_, blueStep_;
};

}  // namespace

long Blend(long a, long b) noexcept { return forms::AverageColor(a, b); }

long Lighten(long c, int k) noexcept {
    return forms::RgbOf(LightenChannel(forms::RedOf(c), k), LightenChannel(forms::GreenOf(c), k),
                        LightenChannel(forms::BlueOf(c), k));
}

long Shift(long c, int d) noexcept {
    return forms::RgbOf(Clamp(forms::RedOf(c) + d), Clamp(forms::GreenOf(c) + d), Clamp(forms::BlueOf(c) + d));
}

void SetBackground(HDC dc, int width, int height, long c) { Fill(dc, 0, 0, width, height, c); }

void Line(HDC dc, int x1, int y1, int x2, int y2, long c) { DcPen(dc).Draw(x1, y1, x2, y2, c); }

void Outline(HDC dc, int x, int y, int w, int h, long c) {
    // A closed polyline: each side starts on a corner that the side before it
    // left out, so all four corners are drawn.
    const POINT points[] = {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}, {x, y}};
    DcPen pen(dc);
    ::SetDCPenColor(dc, static_cast<COLORREF>(c));
    ::Polyline(dc, points, 5);
}

void Fill(HDC dc, int x, int y, int w, int h, long c) {
    // A rectangle of negative size fills nothing (FillRect would flip it).
    if (w <= 0 || h <= 0) return;
    const RECT rect{x, y, x + w, y + h};
    ::SetDCBrushColor(dc, static_cast<COLORREF>(c));
    ::FillRect(dc, &rect, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

void Pixel(HDC dc, int x, int y, long c) { ::SetPixelV(dc, x, y, static_cast<COLORREF>(c)); }

void GradientRows(HDC dc, long from, long to, int x1, int y, int x2, int n) {
    if (n <= 0) return;
    const GradientSteps steps(from, to, n);
    const DcPen pen(dc);
    for (int i = 0; i <= n; ++i) pen.Draw(x1, y + i, x2, y + i, steps.At(i));
}

void GradientColumns(HDC dc, long from, long to, int x1, int y1, int x2, int y2) {
    const int n = x2 - x1;
    if (n <= 0) return;
    const GradientSteps steps(from, to, n);
    const DcPen pen(dc);
    for (int i = 0; i <= n; ++i) pen.Draw(x1 + i, y1, x1 + i, y2, steps.At(i));
}

}  // namespace controls::themedbutton
