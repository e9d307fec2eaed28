#pragma once
// The drawing primitives the button's styles are made of, on one device context
// of the button's size. They draw with the DC's own pen and brush colours, so
// they create no GDI object.
#include <windows.h>

#include <cstdint>
#include <vector>

namespace controls::imagebutton {

enum class EdgeKind : UINT {
    Raised = EDGE_RAISED,          // 0x05
    ThinRaised = BDR_RAISEDINNER,  // 0x04
    Sunken = EDGE_SUNKEN,          // 0x0A
};

enum class GradientDirection { LeftToRight = 0, TopToBottom = 1 };

// The colours of the n steps of a gradient, as 32-bit pixels 0x00RRGGBB.
std::vector<std::uint32_t> GradientSteps(long from, long to, int steps);

class Canvas {
public:
    Canvas(HDC dc, int width, int height) noexcept : dc_(dc), width_(width), height_(height) {}

    HDC Dc() const noexcept { return dc_; }
    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }
    RECT Client() const noexcept { return RECT{0, 0, width_, height_}; }

    void Fill(const RECT& rect, long color) const;
    void Frame(int x, int y, int w, int h, long color) const;
    // A one-pixel line; the end point itself is not drawn.
    void Line(int x1, int y1, int x2, int y2, long color) const;
    // The four pixels one in from each corner, which soften a rounded outline.
    void Corners(long color) const;
    void Edge(RECT rect, EdgeKind kind) const;
    void FocusRect(const RECT& rect) const;
    void FillGradient(int x, int y, int w, int h, long from, long to, GradientDirection direction) const;
    long PixelAt(int x, int y) const;

private:
    HDC dc_;
    int width_;
    int height_;
};

}  // namespace controls::imagebutton
