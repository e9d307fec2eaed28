#include "forms/CommandButton.h"

#include "forms/Form.h"

namespace forms {

CommandButton::CommandButton(Form& form, RECT bounds, const std::wstring& caption, bool visible) {
    DWORD style = WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON;
    if (visible) style |= WS_VISIBLE;
    hwnd_ = ::CreateWindowExW(0, L"BUTTON", caption.c_str(), style, bounds.left, bounds.top, bounds.right - bounds.left,
                              bounds.bottom - bounds.top, form.Handle(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_) return;
    form.ReflectFor(hwnd_, [this](UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return false;
        Click.Raise();
        result = 0;
        return true;
    });
}

CommandButton::~CommandButton() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

std::wstring CommandButton::Caption() const {
    wchar_t text[256] = {};
    ::GetWindowTextW(hwnd_, text, 256);
    return text;
}

}  // namespace forms
