#include "controls/imagebutton/Canvas.h"

#include "base/Handles.h"
#include "controls/imagebutton/ColorMath.h"
#include "forms/Dib.h"
#include "forms/SolidFill.h"

namespace controls::imagebutton {

namespace {
std::uint32_t PixelOf(int red, int green, int blue) noexcept {
    return (static_cast<std::uint32_t>(red & 0xFF) << 16) | (static_cast<std::uint32_t>(green & 0xFF) << 8) |
           static_cast<std::uint32_t>(blue & 0xFF);
}

int StepChannel(int from, int to, int i, int steps) noexcept {
    if (steps == 1) return from / 2 + to / 2;
    return from + (to - from) * i / (steps - 1);
}
}  // namespace

std::vector<std::uint32_t> GradientSteps(long from, long to, int steps) {
    std::vector<std::uint32_t> colors;
    if (steps <= 0) return colors;
    colors.reserve(static_cast<std::size_t>(steps));
    for (int i = 0; i < steps; ++i)
        colors.push_back(PixelOf(StepChannel(RedOf(from), RedOf(to), i, steps),
                                 StepChannel(GreenOf(from), GreenOf(to), i, steps),
                                 StepChannel(BlueOf(from), BlueOf(to), i, steps)));
    return colors;
}

void Canvas::Fill(const RECT& rect, long color) const { forms::FillSolid(dc_, rect, static_cast<COLORREF>(color)); }

void Canvas::Frame(int x, int y, int w, int h, long color) const {
    forms::FrameSolid(dc_, RECT{x, y, x + w, y + h}, static_cast<COLORREF>(color));
}

void Canvas::Line(int x1, int y1, int x2, int y2, long color) const {
    base::SelectedObject pen(dc_, ::GetStockObject(DC_PEN));
    ::SetDCPenColor(dc_, static_cast<COLORREF>(color));
    ::MoveToEx(dc_, x1, y1, nullptr);
    ::LineTo(dc_, x2, y2);
}

void Canvas::Corners(long color) const {
    const COLORREF c = static_cast<COLORREF>(color);
    ::SetPixelV(dc_, 1, 1, c);
    ::SetPixelV(dc_, 1, height_ - 2, c);
    ::SetPixelV(dc_, width_ - 2, 1, c);
    ::SetPixelV(dc_, width_ - 2, height_ - 2, c);
}

void Canvas::Edge(RECT rect, EdgeKind kind) const { ::DrawEdge(dc_, &rect, static_cast<UINT>(kind), BF_RECT); }

void Canvas::FocusRect(const RECT& rect) const { ::DrawFocusRect(dc_, &rect); }

void Canvas::FillGradient(int x, int y, int w, int h, long from, long to, GradientDirection direction) const {
    if (w < 1 || h < 1) return;
    const bool down = direction == GradientDirection::TopToBottom;
    const std::vector<std::uint32_t> steps = GradientSteps(from, to, down ? h : w);
    std::vector<std::uint32_t> block(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    for (int row = 0; row < h; ++row) {
        std::uint32_t* line = block.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(w);
        for (int column = 0; column < w; ++column) line[column] = steps[static_cast<std::size_t>(down ? row : column)];
    }
    const BITMAPINFO info = forms::TopDownDibInfo(w, h);
    ::StretchDIBits(dc_, x, y, w, h, 0, 0, w, h, block.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

long Canvas::PixelAt(int x, int y) const { return static_cast<long>(::GetPixel(dc_, x, y)); }

}  // namespace controls::imagebutton
