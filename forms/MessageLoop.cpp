#include "forms/MessageLoop.h"

#include "forms/Form.h"

namespace forms {

namespace {

// A keystroke for a form with shortcuts runs the shortcut instead of reaching
// the focused control; dialogs and other windows keep their keys.
bool TranslateShortcut(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || !msg.hwnd) return false;
    auto* form = dynamic_cast<Form*>(Window::FromHandle(::GetAncestor(msg.hwnd, GA_ROOT)));
    return form && form->TranslateShortcut(msg);
}

void Dispatch(MSG& msg) {
    if (TranslateShortcut(msg)) return;
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

int ShowMessage(HWND owner, const std::wstring& text, UINT flags, const std::wstring& title) {
    return ::MessageBoxW(owner, text.c_str(), title.c_str(), flags);
}

}  // namespace forms
