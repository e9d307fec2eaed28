#include "forms/TextBox.h"

namespace forms {

TextBox::TextBox(HWND parent, RECT bounds, std::wstring text, bool visible, bool multiLine) {
    DWORD style = WS_CHILD | WS_BORDER | ES_AUTOHSCROLL;
    if (visible) style |= WS_VISIBLE;
    if (multiLine) style |= ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | ES_WANTRETURN;
    hwnd_ = ::CreateWindowExW(0, L"EDIT", text.c_str(), style, bounds.left, bounds.top, bounds.right - bounds.left,
                              bounds.bottom - bounds.top, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    // No length limit beyond memory: an encoder's output can be long.
    if (hwnd_) ::SendMessageW(hwnd_, EM_SETLIMITTEXT, 0, 0);
}

TextBox::~TextBox() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

std::wstring TextBox::Text() const {
    int length = ::GetWindowTextLengthW(hwnd_);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    int copied = ::GetWindowTextW(hwnd_, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

void TextBox::SetText(const std::wstring& text) { ::SetWindowTextW(hwnd_, text.c_str()); }

void TextBox::Append(const std::wstring& text) {
    int end = ::GetWindowTextLengthW(hwnd_);
    ::SendMessageW(hwnd_, EM_SETSEL, end, end);
    ::SendMessageW(hwnd_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace forms
