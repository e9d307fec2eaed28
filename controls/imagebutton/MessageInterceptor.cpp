#include "controls/imagebutton/MessageInterceptor.h"

#include <commctrl.h>

#include <algorithm>

namespace controls::imagebutton {

MessageInterceptor::MessageInterceptor(HWND window, std::vector<UINT> messages, Handler handler)
    : window_(window), messages_(std::move(messages)), handler_(std::move(handler)) {
    // Each interceptor is its own subclass (its address is the id), so several can watch one window.
    installed_ = window_ && ::SetWindowSubclass(window_, Procedure, reinterpret_cast<UINT_PTR>(this),
                                                reinterpret_cast<DWORD_PTR>(this));
}

MessageInterceptor::~MessageInterceptor() {
    if (installed_ && ::IsWindow(window_)) ::RemoveWindowSubclass(window_, Procedure, reinterpret_cast<UINT_PTR>(this));
}

LRESULT CALLBACK MessageInterceptor::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                               DWORD_PTR self) noexcept {
    auto* interceptor = reinterpret_cast<MessageInterceptor*>(self);
    if (std::find(interceptor->messages_.begin(), interceptor->messages_.end(), message) !=
        interceptor->messages_.end())
        interceptor->handler_(message, wParam, lParam);
    return ::DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace controls::imagebutton
