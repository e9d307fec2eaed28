#include "controls/progress/XP_ProgressBar.h"

#include <algorithm>

#include "base/Rounding.h"
#include "forms/SolidFill.h"

namespace controls {

namespace {

constexpr int kBlockWidth = 6;
constexpr int kBlockGap = 2;
constexpr int kInset = 3;

forms::OleColor Resolve(forms::OleColor color) { return static_cast<forms::OleColor>(forms::TranslateColor(color)); }

void Fill(HDC dc, const RECT& area, forms::OleColor color) { forms::FillSolid(dc, area, static_cast<COLORREF>(color)); }

}  // namespace

XP_ProgressBar::XP_ProgressBar(forms::ControlHost& host, std::wstring name, RECT bounds)
    : Control(&host, std::move(name)), color_(Resolve(forms::SystemColor(COLOR_HIGHLIGHT))) {
    font_ = forms::Font::CreateDefault();
    CreateWindowOf(L"Snipmill.XP_ProgressBar", 0, WS_CHILD | WS_VISIBLE, 0, L"", bounds.left, bounds.top,
                   bounds.right - bounds.left, bounds.bottom - bounds.top, host.HostWindow());
}

XP_ProgressBar::~XP_ProgressBar() = default;

void XP_ProgressBar::SetMin(int min) {
    min_ = min;
    PropertyChanged(L"Min");
}

void XP_ProgressBar::SetMax(int max) {
    max_ = max;
    PropertyChanged(L"Max");
}

int XP_ProgressBar::Value() const noexcept {
    double divisor = min_ > 0 ? min_ : 1;
    return base::RoundToInt(percent_ / 100.0 * max_ / divisor);
}

void XP_ProgressBar::SetValue(int value) {
    if (max_ == 0) return;  // no scale to measure against
    percent_ = base::RoundToInt(value * 100.0 / max_ + min_);
    DrawProgressBar();
}

void XP_ProgressBar::SetColor(forms::OleColor color) {
    color_ = Resolve(color);
    DrawProgressBar();
    PropertyChanged(L"Color");
}

void XP_ProgressBar::SetBrushStyle(int style) {
    brushStyle_ = style;
    PropertyChanged(L"BrushStyle");
}

bool XP_ProgressBar::EnsureBackBuffer(int width, int height) {
    if (backDC_ && width <= backSize_.cx && height <= backSize_.cy) return true;
    base::WindowDC screen(Handle());
    if (!screen.Get()) return false;
    base::MemoryDC dc(::CreateCompatibleDC(screen.Get()));
    base::BitmapHandle bitmap(::CreateCompatibleBitmap(screen.Get(), width, height));
    if (!dc || !bitmap) return false;
    backDC_ = std::move(dc);
    backBitmap_ = std::move(bitmap);
    backSize_ = SIZE{width, height};
    return true;
}

void XP_ProgressBar::DrawProgressBar() {
    if (!Handle()) return;
    base::WindowDC screen(Handle());
    if (screen.Get()) DrawTo(screen.Get());
}

void XP_ProgressBar::DrawTo(HDC target) {
    percent_ = std::min(percent_, 100);
    RECT client{};
    ::GetClientRect(Handle(), &client);
    if (client.right <= 0 || client.bottom <= 0) return;
    // Without memory for a back buffer the bar is drawn straight onto the target.
    const bool buffered = EnsureBackBuffer(client.right, client.bottom);
    HDC dc = buffered ? backDC_.Get() : target;
    base::SelectedObject selected(dc, buffered ? backBitmap_.Get() : nullptr);

    Fill(dc, client, 0xFFFFFF);
    const int width = client.right - 2 * kInset;
    const int filled = std::clamp(base::RoundToInt(width * percent_ / 100.0), 0, width);
    const int step = kBlockWidth + kBlockGap;
    for (int x = 0; x < filled; x += step) {
        RECT block{kInset + x, kInset, kInset + std::min(x + kBlockWidth, filled), client.bottom - kInset};
        Fill(dc, block, color_);
    }
    RECT frame = client;
    ::DrawEdge(dc, &frame, BDR_SUNKENOUTER, BF_RECT);

    if (buffered) ::BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
}

LRESULT XP_ProgressBar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        base::PaintDC paint(Handle());
        DrawTo(paint.Get());
        return 0;
    }
    case WM_PRINTCLIENT:
        DrawTo(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    default:
        break;
    }
    return DefaultHandling(message, wParam, lParam);
}

}  // namespace controls
