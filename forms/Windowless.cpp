#include "forms/Windowless.h"

#include "base/Handles.h"
#include "forms/Form.h"
#include "forms/SolidFill.h"

namespace forms {

WindowlessElement::WindowlessElement(Form& form, std::wstring name, RECT bounds)
    : form_(form), name_(std::move(name)), bounds_(bounds) {
    form_.AddElement(*this);
}

WindowlessElement::~WindowlessElement() { form_.RemoveElement(*this); }

void WindowlessElement::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    Invalidate();
}

void WindowlessElement::Expose(long role, std::wstring accessibleName) {
    role_ = role;
    accessibleName_ = std::move(accessibleName);
}

bool WindowlessElement::TakeAnnouncement() noexcept {
    const DWORD now = ::GetTickCount();
    if (announced_ && now - lastAnnounced_ < announceInterval_) return false;
    announced_ = true;
    lastAnnounced_ = now;
    return true;
}

void WindowlessElement::Invalidate() const { form_.InvalidateArea(bounds_); }

void WindowlessElement::SetBounds(const RECT& bounds) {
    if (::EqualRect(&bounds, &bounds_)) return;
    Invalidate();
    bounds_ = bounds;
    Invalidate();
}

Label::Label(Form& form, std::wstring name, RECT bounds, std::wstring caption, std::shared_ptr<Font> font,
             OleColor foreColor)
    : WindowlessElement(form, std::move(name), bounds),
      caption_(std::move(caption)),
      font_(std::move(font)),
      foreColor_(foreColor) {
    fontToken_ = font_->Subscribe([this] {
        gdiFont_.Reset();
        FitToText();
        Invalidate();
    });
}

Label::~Label() { font_->Unsubscribe(fontToken_); }

namespace {
constexpr UINT kLabelFormat = DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX;
}

void Label::SetCaption(std::wstring caption) {
    if (caption == caption_) return;
    caption_ = std::move(caption);
    FitToText();
    Invalidate();
    form_.ElementTextChanged(*this);
}

void Label::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    FitToText();
}

HFONT Label::GdiFont(int dpi) const {
    if (!gdiFont_ || gdiFontDpi_ != dpi) {
        gdiFont_ = font_->CreateHandle(dpi);
        gdiFontDpi_ = dpi;
    }
    return gdiFont_.Get();
}

void Label::FitToText() {
    if (!autoSize_) return;
    base::WindowDC screen(nullptr);
    if (!screen.Get()) return;
    base::SelectedObject font(screen.Get(), GdiFont(form_.Dpi()));
    RECT measured = Bounds();
    ::DrawTextW(screen.Get(), caption_.c_str(), static_cast<int>(caption_.size()), &measured,
                kLabelFormat | DT_CALCRECT);
    SetBounds(measured);
}

void Label::Paint(HDC dc, int dpi) const {
    base::SelectedObject font(dc, GdiFont(dpi));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, static_cast<COLORREF>(TranslateColor(foreColor_)));
    RECT area = Bounds();
    ::DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &area, kLabelFormat);
}

Frame::Frame(Form& form, std::wstring name, RECT bounds, OleColor borderColor)
    : WindowlessElement(form, std::move(name), bounds), borderColor_(borderColor) {}

void Frame::Paint(HDC dc, int) const { FrameSolid(dc, Bounds(), static_cast<COLORREF>(TranslateColor(borderColor_))); }

Image::Image(Form& form, std::wstring name, RECT bounds, std::shared_ptr<Picture> picture)
    : WindowlessElement(form, std::move(name), bounds), picture_(std::move(picture)) {}

void Image::Paint(HDC dc, int) const {
    if (!picture_) return;
    const RECT& b = Bounds();
    int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, b.left, b.top, b.right, b.bottom);
    picture_->Draw(dc, b.left, b.top);
    ::RestoreDC(dc, saved);
}

}  // namespace forms
