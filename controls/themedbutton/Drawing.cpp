#include "controls/themedbutton/Drawing.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "base/Handles.h"
#include "base/Rounding.h"
#include "forms/ColorMath.h"
#include "forms/Dib.h"
#include "forms/SolidFill.h"

namespace controls::themedbutton {

namespace {

int Clamp(int channel) noexcept { return std::clamp(channel, 0, 255); }

// The pixels a one-pixel line from a to b covers along its axis, end point
// excluded, as a half-open span: a line drawn backwards covers (b, a].
struct Span {
    int from, to;
};
Span Covered(int a, int b) noexcept { return a <= b ? Span{a, b} : Span{b + 1, a + 1}; }

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
        return Clamp(static_cast<int>(base::RoundHalfEven(static_cast<double>(value))));
    }

    int red_, green_, blue_;
    float redStep_, greenStep_, blueStep_;
};

std::vector<long> GradientColors(long from, long to, int n) {
    const GradientSteps steps(from, to, n);
    std::vector<long> colors(static_cast<std::size_t>(n) + 1);
    for (int i = 0; i <= n; ++i) colors[static_cast<std::size_t>(i)] = steps.At(i);
    return colors;
}

// Parallel lines side by side make one rectangle of pixels: it is built in
// memory, as far as the DC's clipping lets any of it show, and copied in one go.
// Line i covers `along` at offset `first + i` across.
void DrawParallelLines(HDC dc, bool horizontal, Span along, int first, const long* colors, int count) {
    if (count <= 0 || along.from >= along.to) return;
    const Span across{first, first + count};
    const Span columns = horizontal ? along : across;
    const Span rows = horizontal ? across : along;
    RECT clip{};
    if (::GetClipBox(dc, &clip) == ERROR) return;
    const int left = std::max(columns.from, static_cast<int>(clip.left));
    const int right = std::min(columns.to, static_cast<int>(clip.right));
    const int top = std::max(rows.from, static_cast<int>(clip.top));
    const int bottom = std::min(rows.to, static_cast<int>(clip.bottom));
    if (left >= right || top >= bottom) return;

    const int width = right - left;
    const int height = bottom - top;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int line = horizontal ? top + y - first : left + x - first;
            pixels[static_cast<std::size_t>(y) * width + x] = PixelOf(colors[line]);
        }
    CopyPixels(dc, left, top, width, height, pixels.data());
}

}  // namespace

long Blend(long a, long b) noexcept { return forms::AverageColor(a, b); }

long Shift(long c, int d) noexcept {
    return forms::RgbOf(Clamp(forms::RedOf(c) + d), Clamp(forms::GreenOf(c) + d), Clamp(forms::BlueOf(c) + d));
}

void SetBackground(HDC dc, int width, int height, long c) { Fill(dc, 0, 0, width, height, c); }

void Line(HDC dc, int x1, int y1, int x2, int y2, long c) {
    // The DC's own pen, coloured for this line, so no pen is created.
    base::SelectedObject pen(dc, ::GetStockObject(DC_PEN));
    ::SetDCPenColor(dc, static_cast<COLORREF>(c));
    ::MoveToEx(dc, x1, y1, nullptr);
    ::LineTo(dc, x2, y2);
}

void Outline(HDC dc, int x, int y, int w, int h, long c) {
    // Each side starts on the corner the side before it left out, so all four
    // corners are drawn.
    Line(dc, x, y, x + w, y, c);
    Line(dc, x + w, y, x + w, y + h, c);
    Line(dc, x + w, y + h, x, y + h, c);
    Line(dc, x, y + h, x, y, c);
}

void Fill(HDC dc, int x, int y, int w, int h, long c) {
    // A rectangle of negative size fills nothing.
    if (w <= 0 || h <= 0) return;
    forms::FillSolid(dc, RECT{x, y, x + w, y + h}, static_cast<COLORREF>(c));
}

void Pixel(HDC dc, int x, int y, long c) { ::SetPixelV(dc, x, y, static_cast<COLORREF>(c)); }

void GradientRows(HDC dc, long from, long to, int x1, int y, int x2, int n) {
    if (n <= 0) return;
    RowLines(dc, GradientColors(from, to, n).data(), n + 1, x1, y, x2);
}

void FocusRect(HDC dc, int width, int height) {
    const RECT inset{2, 2, width - 2, height - 2};
    ::DrawFocusRect(dc, &inset);
}

void GradientColumns(HDC dc, long from, long to, int x1, int y1, int x2, int y2) {
    const int n = x2 - x1;
    if (n <= 0) return;
    ColumnLines(dc, GradientColors(from, to, n).data(), n + 1, x1, y1, y2);
}

void RowLines(HDC dc, const long* colors, int count, int x1, int y, int x2) {
    DrawParallelLines(dc, true, Covered(x1, x2), y, colors, count);
}

void ColumnLines(HDC dc, const long* colors, int count, int x, int y1, int y2) {
    DrawParallelLines(dc, false, Covered(y1, y2), x, colors, count);
}

void CopyPixels(HDC dc, int x, int y, int width, int height, const std::uint32_t* pixels) {
    const BITMAPINFO info = forms::TopDownDibInfo(width, height);
    ::StretchDIBits(dc, x, y, width, height, 0, 0, width, height, pixels, &info, DIB_RGB_COLORS, SRCCOPY);
}

std::uint32_t PixelOf(long c) noexcept {
    return static_cast<std::uint32_t>(forms::RedOf(c) << 16 | forms::GreenOf(c) << 8 | forms::BlueOf(c));
}

}  // namespace controls::themedbutton
