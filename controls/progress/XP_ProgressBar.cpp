#include "controls/progress/XP_ProgressBar.h"

#include <algorithm>
#include <climits>
#include <stdexcept>

#include "base/Rounding.h"
#include "controls/progress/BarCaption.h"
#include "controls/progress/BarColors.h"
#include "controls/progress/BarLook.h"
#include "controls/progress/BarPrimitives.h"
#include "controls/progress/BlockStyles.h"
#include "controls/progress/OtherStyles.h"
#include "forms/PaintMessages.h"

namespace controls {

namespace {
using namespace progress;
using FontPtr = std::shared_ptr<forms::Font>;
using PicturePtr = std::shared_ptr<forms::Picture>;

constexpr wchar_t kClassName[] = L"Snipmill.XP_ProgressBar";
constexpr forms::OleColor kHighlight = forms::SystemColor(COLOR_HIGHLIGHT);
constexpr int kStoredBrushStyle = HS_CROSS;  // when the store holds none
}  // namespace

// ---- Life cycle

XP_ProgressBar::XP_ProgressBar(forms::ControlHost& host, std::wstring name, RECT bounds)
    : Control(&host, std::move(name)), color_(ResolveColor(kHighlight)) {
    CreateBarWindow(bounds);
}

XP_ProgressBar::XP_ProgressBar(forms::ControlHost& host, std::wstring name, RECT bounds,
                               const forms::PropertyBag& saved)
    : XP_ProgressBar(host, std::move(name), bounds) {
    ReadProperties(saved);
}

XP_ProgressBar::~XP_ProgressBar() {
    if (font_) font_->Unsubscribe(fontToken_);
}

void XP_ProgressBar::CreateBarWindow(RECT bounds) {
    SetFont(forms::Font::CreateDefault());
    // Every resize redraws all of the bar, since each part depends on its size. The bar keeps
    // a DC of its own: its drawing surface whenever there is no back buffer.
    CreateWindowOf(kClassName, CS_HREDRAW | CS_VREDRAW | CS_OWNDC, WS_CHILD | WS_VISIBLE, 0, L"", bounds.left,
                   bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                   Host() ? Host()->HostWindow() : nullptr);
    if (Handle()) ownDc_ = ::GetDC(Handle());
    SetHdc(nullptr);
    window_ = Handle();
    DrawProgressBar();
}

void XP_ProgressBar::ReadProperties(const forms::PropertyBag& bag) {
    SetFont(bag.Read<FontPtr>(L"Font", nullptr));
    brushStyle_ = bag.Read(L"BrushStyle", kStoredBrushStyle);
    SetColor(static_cast<forms::OleColor>(bag.Read(L"Color", static_cast<int>(kHighlight))));
    image_ = bag.Read<PicturePtr>(L"Image", nullptr);
    SetMax(bag.Read(L"Max", 100));
    SetMin(bag.Read(L"Min", 0));
    SetOrientation(bag.Read(L"Orientation", 0));
    SetScrolling(bag.Read(L"Scrolling", 0));
    SetShowText(bag.Read(L"ShowText", false));
    try {
        SetValue(bag.Read(L"Value", 0));
    } catch (const std::exception&) {
        // A stored value that the stored Max cannot convert leaves the fill as it was: the form still opens.
    }
}

void XP_ProgressBar::WriteProperties(forms::PropertyBag& bag) const {
    bag.Write(L"Font", font_, FontPtr{});
    WriteInt(bag, L"BrushStyle", brushStyle_, kStoredBrushStyle);
    WriteInt(bag, L"Color", static_cast<int>(color_), static_cast<int>(kHighlight));
    bag.Write(L"Image", image_, PicturePtr{});
    WriteInt(bag, L"Max", max_, 100);
    WriteInt(bag, L"Min", min_, 0);
    WriteInt(bag, L"Orientation", orientation_, 0);
    WriteInt(bag, L"Scrolling", style_, 0);
    bag.Write(L"ShowText", showText_, false);
    WriteInt(bag, L"Value", Value(), 0);
}

// ---- Properties

void XP_ProgressBar::SetBrushStyle(int style) {
    brushStyle_ = style;
    PropertyChanged(L"BrushStyle");
}

void XP_ProgressBar::SetColor(forms::OleColor color) {
    color_ = ResolveColor(color);
    DrawProgressBar();
    PropertyChanged(L"Color");
}

void XP_ProgressBar::SetFont(FontPtr font) {
    if (font_) font_->Unsubscribe(fontToken_);
    font_ = std::move(font);
    gdiFont_.Reset();
    if (font_) fontToken_ = font_->Subscribe([this] { gdiFont_.Reset(); });
}

void XP_ProgressBar::SetHdc(HDC) {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    buffer_.Ensure(client.right, client.bottom);
}

void XP_ProgressBar::SetImage(PicturePtr image) {
    image_ = std::move(image);
    PropertyChanged(L"Image");
    DrawProgressBar();
}

void XP_ProgressBar::SetMin(int min) {
    min_ = min;
    PropertyChanged(L"Min");
}

void XP_ProgressBar::SetMax(int max) {
    max_ = max;
    PropertyChanged(L"Max");
}

void XP_ProgressBar::SetOrientation(int orientation) {
    orientation_ = orientation;
    PropertyChanged(L"Orientation");
    DrawProgressBar();
}

void XP_ProgressBar::SetScrolling(int style) {
    style_ = style;
    PropertyChanged(L"Scrolling");
    DrawProgressBar();
}

void XP_ProgressBar::SetShowText(bool show) {
    showText_ = show;
    PropertyChanged(L"ShowText");
    DrawProgressBar();
}

int XP_ProgressBar::Value() const noexcept {
    const double divisor = min_ > 0 ? min_ : 1;
    return base::RoundToInt(percent_ / 100.0 * max_ / divisor);
}

void XP_ProgressBar::SetValue(int value) {
    const long long scaled = static_cast<long long>(value) * 100;
    if (scaled > INT_MAX || scaled < INT_MIN) throw std::overflow_error("Overflow");
    if (max_ == 0) throw std::domain_error("Division by zero");
    const long long percent = base::RoundHalfEven(static_cast<double>(scaled) / max_ + min_);
    if (percent > INT_MAX || percent < INT_MIN) throw std::overflow_error("Overflow");
    percent_ = static_cast<int>(percent);
    DrawProgressBar();
}

// ---- Drawing

void XP_ProgressBar::DrawLine(int x1, int y1, int x2, int y2, HDC hdc, forms::OleColor color) {
    progress::DrawLine(x1, y1, x2, y2, hdc, color);
}

void XP_ProgressBar::DrawGradient(forms::OleColor& color1, forms::OleColor& color2, int x, int y, int x2, int y2,
                                  HDC hdc, bool columns) {
    color1 = ResolveColor(color1);
    color2 = ResolveColor(color2);
    progress::DrawGradient(color1, color2, x, y, x2, y2, hdc, columns);
}

void XP_ProgressBar::pDraw(HDC hdc, int xSrc, int ySrc, int widthSrc, int heightSrc, int xDst, int yDst) const {
    buffer_.CopyTo(hdc, xDst, yDst, widthSrc < 1 ? buffer_.Width() : widthSrc,
                   heightSrc < 1 ? buffer_.Height() : heightSrc, xSrc, ySrc);
}

void XP_ProgressBar::DrawProgressBar() {
    percent_ = std::min(percent_, 100);
    // Measured on the window in hWnd, shown on the bar's own.
    if (Handle() && ownDc_ && window_ && ::IsWindow(window_)) DrawTo(ownDc_);
}

BarLook XP_ProgressBar::Look(const RECT& client) const {
    BarLook look;
    look.width = client.right;
    look.height = client.bottom;
    look.color = color_;
    look.percent = percent_;
    look.style = style_;
    look.vertical = orientation_ != 0;
    look.hatchStyle = brushStyle_;
    look.image = image_ ? image_->Bitmap() : nullptr;
    return look;
}

void XP_ProgressBar::DrawTo(HDC target) {
    percent_ = std::min(percent_, 100);
    RECT client{};
    if (!::GetClientRect(window_, &client) || client.right <= 0 || client.bottom <= 0) return;
    // Without a back buffer the bar is drawn straight onto the target; the next draw tries again.
    HDC surface = buffer_.Ensure(client.right, client.bottom);
    if (!surface) surface = target;
    const BarLook look = Look(client);
    FillRectangle(surface, client, style_ == Styles::Dark ? 0x000000 : 0xFFFFFF);
    if (HasOwnPainter(style_))
        DrawOtherStyle(surface, look);
    else
        DrawBlockStyle(surface, look);
    if (showText_) DrawCaption(surface, look, CaptionFont(surface));
    if (surface != target) pDraw(target, 0, 0, client.right, client.bottom, 0, 0);
}

HFONT XP_ProgressBar::CaptionFont(HDC surface) {
    if (!gdiFont_) {
        const int dpi = ::GetDeviceCaps(surface, LOGPIXELSY);
        gdiFont_ = (font_ ? font_ : forms::Font::CreateDefault())->CreateHandle(dpi);
    }
    return gdiFont_.Get();
}

forms::AccessibleFacts XP_ProgressBar::Facts(long child) const {
    forms::AccessibleFacts facts = Control::Facts(child);
    facts.role = ROLE_SYSTEM_PROGRESSBAR;
    facts.state = (facts.state & ~STATE_SYSTEM_FOCUSABLE) | STATE_SYSTEM_READONLY;
    facts.value = std::to_wstring(percent_) + L"%";
    return facts;
}

LRESULT XP_ProgressBar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT painted = 0;
    if (forms::AnswerPaintMessage(
            Handle(), message, wParam, [this](HDC dc, const RECT&) { DrawTo(dc); }, painted))
        return painted;
    if (LRESULT answer = 0; AnswerAccessibility(message, wParam, lParam, answer)) return answer;
    switch (message) {
    case WM_SIZE:
        SetHdc(nullptr);
        return 0;
    default:
        break;
    }
    return DefaultHandling(message, wParam, lParam);
}

}  // namespace controls
