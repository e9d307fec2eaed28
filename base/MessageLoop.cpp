#include "base/MessageLoop.h"

namespace base {

namespace {
void Dispatch(const MSG& msg) {
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

int ShowMessage(const std::wstring& text, UINT flags, const std::wstring& title) {
    return ::MessageBoxW(::GetActiveWindow(), text.c_str(), title.c_str(), flags);
}

}  // namespace base
