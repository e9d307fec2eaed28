#include "BarTestSupport.h"

#include "base/MessageLoop.h"

namespace progress_test {

HostForm::HostForm() : RecordingForm(L"Snipmill.ProgressBarTest", L"Progress bar test", 640, 480, 20, 20) {}

HostForm& SharedHost() {
    static HostForm form;
    return form;
}

namespace {
RECT Bounds(int width, int height) { return RECT{10, 10, 10 + width, 10 + height}; }
}  // namespace

std::unique_ptr<controls::XP_ProgressBar> MakeBar(int width, int height) {
    auto bar = std::make_unique<controls::XP_ProgressBar>(SharedHost(), L"pb", Bounds(width, height));
    bar->SetColor(kBarColor);
    SharedHost().changes.clear();
    return bar;
}

std::unique_ptr<controls::XP_ProgressBar> MakeBar(int width, int height, const forms::PropertyBag& saved) {
    auto bar = std::make_unique<controls::XP_ProgressBar>(SharedHost(), L"pb", Bounds(width, height), saved);
    SharedHost().changes.clear();
    return bar;
}

Drawn::Drawn(HDC source, int width, int height) {
    block_.Ensure(width, height);
    ::BitBlt(block_.Dc(), 0, 0, width, height, source, 0, 0, SRCCOPY);
    ::GdiFlush();
}

COLORREF Drawn::At(int x, int y) const noexcept {
    const std::uint32_t pixel = block_.Row(y)[x];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

int Drawn::Count(const RECT& area, COLORREF color) const noexcept {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) count += At(x, y) == color;
    return count;
}

bool Drawn::SameAs(const Drawn& other) const noexcept {
    if (Width() != other.Width() || Height() != other.Height()) return false;
    for (int y = 0; y < Height(); ++y)
        for (int x = 0; x < Width(); ++x)
            if (At(x, y) != other.At(x, y)) return false;
    return true;
}

Drawn Render(controls::XP_ProgressBar& bar) {
    bar.DrawProgressBar();
    RECT client{};
    ::GetClientRect(bar.hWnd(), &client);
    return Drawn(bar.hdc(), client.right, client.bottom);
}

Surface::Surface(int width, int height) {
    buffer_.Ensure(width, height);
    const RECT all{0, 0, width, height};
    ::FillRect(buffer_.Dc(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
}

}  // namespace progress_test
