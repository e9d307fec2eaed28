#include "controls/themedbutton/AboutBox.h"

#include "base/Handles.h"
#include "forms/PaintMessages.h"

namespace controls::themedbutton {

namespace {
constexpr wchar_t kClassName[] = L"Snipmill.ThemedButtonAbout";
constexpr int kWidth = 220;
constexpr int kHeight = 110;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
}  // namespace

void AboutBox::Show(HWND owner, const std::wstring& name, const std::wstring& version) {
    name_ = name;
    version_ = version;
    pressed_ = false;
    const std::wstring title = L"About " + name + L" " + version;
    if (!Handle()) {
        RECT frame{0, 0, kWidth, kHeight};
        ::AdjustWindowRectEx(&frame, baseStyle_ | kFrameStyle, FALSE, 0);
        if (!CreateWindowOf(kClassName, 0, baseStyle_, 0, title.c_str(), CW_USEDEFAULT, CW_USEDEFAULT,
                            frame.right - frame.left, frame.bottom - frame.top, owner))
            return;
    }
    ::SetWindowTextW(Handle(), title.c_str());
    ::SetWindowLongPtrW(Handle(), GWL_STYLE, static_cast<LONG_PTR>(baseStyle_ | kFrameStyle));
    ::SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

bool AboutBox::Visible() const noexcept { return Handle() && ::IsWindowVisible(Handle()); }

RECT AboutBox::CloseButton() const noexcept {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    const int left = (client.right - kButtonWidth) / 2;
    const int top = client.bottom - kButtonHeight - 10;
    return RECT{left, top, left + kButtonWidth, top + kButtonHeight};
}

void AboutBox::Paint(HDC dc) const {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    base::SelectedObject font(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    RECT line{0, 12, client.right, 30};
    ::DrawTextW(dc, name_.c_str(), -1, &line, DT_CENTER | DT_SINGLELINE);
    const std::wstring version = L"Version " + version_;
    line = RECT{0, 34, client.right, 52};
    ::DrawTextW(dc, version.c_str(), -1, &line, DT_CENTER | DT_SINGLELINE);
    RECT button = CloseButton();
    ::DrawFrameControl(dc, &button, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed_ ? DFCS_PUSHED : 0));
    if (pressed_) ::OffsetRect(&button, 1, 1);
    ::DrawTextW(dc, L"Close", -1, &button, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

LRESULT AboutBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT painted = 0;
    if (forms::AnswerPaintMessage(
            Handle(), message, wParam, [this](HDC dc, const RECT&) { Paint(dc); }, painted))
        return painted;
    switch (message) {
    case WM_LBUTTONDOWN:
        // A press anywhere in the box pushes the Close button; the click that follows closes.
        pressed_ = true;
        ::SetCapture(Handle());
        ::InvalidateRect(Handle(), nullptr, FALSE);
        return 0;
    case WM_LBUTTONUP:
        if (!pressed_) return 0;
        pressed_ = false;
        if (::GetCapture() == Handle()) ::ReleaseCapture();
        ::ShowWindow(Handle(), SW_HIDE);
        return 0;
    case WM_CAPTURECHANGED:
        // Losing the mouse while pressed ends the press without a click.
        if (pressed_) {
            pressed_ = false;
            ::InvalidateRect(Handle(), nullptr, FALSE);
        }
        return 0;
    case WM_CLOSE:
        if (::GetCapture() == Handle()) ::ReleaseCapture();
        ::ShowWindow(Handle(), SW_HIDE);
        return 0;
    default:
        break;
    }
    return DefaultHandling(message, wParam, lParam);
}

}  // namespace controls::themedbutton
