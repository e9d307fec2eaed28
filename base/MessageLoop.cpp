#include "base/MessageLoop.h"

namespace base {

namespace {

constexpr wchar_t kFilterProperty[] = L"Snipmill.KeystrokeFilter";

// Dialogs and other windows without a filter keep their keys.
bool Filtered(const MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || !msg.hwnd) return false;
    auto* filter = static_cast<KeystrokeFilter*>(::GetPropW(::GetAncestor(msg.hwnd, GA_ROOT), kFilterProperty));
    return filter && filter->FilterKeystroke(msg);
}

void Dispatch(MSG& msg) {
    if (Filtered(msg)) return;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
}

}  // namespace

void DoEvents() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        Dispatch(msg);
    }
}

int RunMessageLoop() {
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) Dispatch(msg);
    return static_cast<int>(msg.wParam);
}

void SetKeystrokeFilter(HWND window, KeystrokeFilter* filter) {
    if (filter)
        ::SetPropW(window, kFilterProperty, filter);
    else
        ::RemovePropW(window, kFilterProperty);
}

int ShowMessage(HWND owner, const std::wstring& text, UINT flags, const std::wstring& title) {
    return ::MessageBoxW(owner, text.c_str(), title.c_str(), flags);
}

}  // namespace base
