#include "controls/imagebutton/zembutton.h"

#include <windowsx.h>

namespace controls {

zembutton::zembutton(forms::ControlHost& host, std::wstring name, RECT bounds)
    : Control(&host, name), caption_(name) {
    font_ = Ambient().Font ? Ambient().Font->Clone() : forms::Font::Create(L"Tahoma", 8.25);
    font_->SetName(L"Tahoma");
    fontToken_ = font_->Subscribe([this] {
        gdiFont_.Reset();
        Redraw();
    });
    CreateWindowOf(L"Snipmill.zembutton", CS_DBLCLKS, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, L"", bounds.left,
                   bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, host.HostWindow());
}

zembutton::~zembutton() { font_->Unsubscribe(fontToken_); }

void zembutton::Changed(std::wstring_view property) {
    Redraw();
    PropertyChanged(property);
}

void zembutton::SetCaption(std::wstring caption) {
    caption_ = std::move(caption);
    if (Handle()) ::SetWindowTextW(Handle(), caption_.c_str());
    Changed(L"Caption");
}

void zembutton::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (Handle()) ::EnableWindow(Handle(), enabled);
    if (!enabled) buttonDown_ = mouseOver_ = spacePressed_ = false;
    Changed(L"Enabled");
}

void zembutton::SetBackColor(forms::OleColor color) {
    backColor_ = color;
    Changed(L"BackColor");
}

void zembutton::SetForeColor(forms::OleColor color) {
    foreColor_ = color;
    Changed(L"ForeColor");
}

void zembutton::SetFont(std::shared_ptr<forms::Font> font) {
    if (!font) return;
    font_->Unsubscribe(fontToken_);
    font_ = std::move(font);
    fontToken_ = font_->Subscribe([this] {
        gdiFont_.Reset();
        Redraw();
    });
    gdiFont_.Reset();
    Changed(L"Font");
}

void zembutton::SetButtonStyle(int style) {
    buttonStyle_ = style;
    Changed(L"ButtonStyle");
}

void zembutton::SetCaptionEffects(int effects) {
    captionEffects_ = effects;
    Changed(L"CaptionEffects");
}

void zembutton::SetPicturePushOnHover(bool push) {
    picturePushOnHover_ = push;
    Changed(L"PicturePushOnHover");
}

void zembutton::SetMouseIcon(HCURSOR cursor) {
    mouseIcon_ = cursor;
    PropertyChanged(L"MouseIcon");
}

void zembutton::Redraw() {
    if (!Handle()) return;
    forms::WindowDC dc(Handle());
    if (dc.Get()) DrawTo(dc.Get());
}

void zembutton::DrawTo(HDC dc) const {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    const bool down = buttonDown_ && mouseOver_;
    forms::BrushHandle face(::CreateSolidBrush(static_cast<COLORREF>(forms::TranslateColor(backColor_))));
    ::FillRect(dc, &client, face.Get());
    RECT edge = client;
    ::DrawEdge(dc, &edge, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);

    if (!gdiFont_) gdiFont_ = font_->CreateHandle(::GetDeviceCaps(dc, LOGPIXELSY));
    forms::SelectedObject font(dc, gdiFont_.Get());
    ::SetBkMode(dc, TRANSPARENT);
    RECT text = client;
    if (down) ::OffsetRect(&text, 1, 1);
    if (!enabled_) {
        // Etched grey text, as the platform draws disabled captions.
        RECT light = text;
        ::OffsetRect(&light, 1, 1);
        ::SetTextColor(dc, ::GetSysColor(COLOR_BTNHIGHLIGHT));
        ::DrawTextW(dc, caption_.c_str(), -1, &light, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        ::SetTextColor(dc, ::GetSysColor(COLOR_GRAYTEXT));
    } else {
        ::SetTextColor(dc, static_cast<COLORREF>(forms::TranslateColor(foreColor_)));
    }
    ::DrawTextW(dc, caption_.c_str(), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void zembutton::Press(bool down) {
    buttonDown_ = down;
    Redraw();
}

LRESULT zembutton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        forms::PaintDC paint(Handle());
        DrawTo(paint.Get());
        return 0;
    }
    case WM_PRINTCLIENT:
        DrawTo(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETCURSOR:
        if (mouseIcon_ && LOWORD(lParam) == HTCLIENT) {
            ::SetCursor(mouseIcon_);
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        ::SetFocus(Handle());
        ::SetCapture(Handle());
        mouseOver_ = true;
        Press(true);
        return 0;
    case WM_MOUSEMOVE: {
        if (!buttonDown_) return 0;
        RECT client{};
        ::GetClientRect(Handle(), &client);
        POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        bool over = ::PtInRect(&client, point) != FALSE;
        if (over != mouseOver_) {
            mouseOver_ = over;
            Redraw();
        }
        return 0;
    }
    case WM_LBUTTONUP: {
        const bool wasDown = buttonDown_ && mouseOver_;
        if (::GetCapture() == Handle()) ::ReleaseCapture();
        Press(false);
        if (wasDown) Click.Raise();
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (buttonDown_ && !spacePressed_) Press(false);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && !buttonDown_) {
            spacePressed_ = true;
            mouseOver_ = true;
            Press(true);
        } else if (wParam == VK_RETURN) {
            Click.Raise();
        }
        return 0;
    case WM_KEYUP:
        if (wParam == VK_SPACE && spacePressed_) {
            spacePressed_ = false;
            Press(false);
            Click.Raise();
        }
        return 0;
    case WM_GETDLGCODE:
        return DLGC_BUTTON | DLGC_WANTCHARS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (message == WM_KILLFOCUS && spacePressed_) {
            spacePressed_ = false;
            Press(false);
        }
        Redraw();
        return 0;
    case WM_ENABLE:
        Redraw();
        return 0;
    default:
        break;
    }
    return DefaultHandling(message, wParam, lParam);
}

}  // namespace controls
