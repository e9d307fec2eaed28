#include "forms/MessageInterceptor.h"

#include <commctrl.h>

#include <algorithm>

namespace forms {

MessageInterceptor::MessageInterceptor(HWND window, std::vector<UINT> messages, Handler handler, Order order)
    : window_(window), messages_(std::move(messages)), handler_(std::move(handler)), order_(order) {
    // Each interceptor is its own subclass (its address is the id), so several can watch one window.
    installed_ = window_ && ::SetWindowSubclass(window_, Procedure, reinterpret_cast<UINT_PTR>(this),
                                                reinterpret_cast<DWORD_PTR>(this));
}

MessageInterceptor::~MessageInterceptor() {
    if (installed_ && ::IsWindow(window_)) ::RemoveWindowSubclass(window_, Procedure, reinterpret_cast<UINT_PTR>(this));
}

bool MessageInterceptor::Watches(UINT message) const noexcept {
    return std::find(messages_.begin(), messages_.end(), message) != messages_.end();
}

LRESULT CALLBACK MessageInterceptor::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                               DWORD_PTR self) noexcept {
    auto* interceptor = reinterpret_cast<MessageInterceptor*>(self);
    const bool watched = interceptor->Watches(message);
    if (!watched) return ::DefSubclassProc(window, message, wParam, lParam);
    if (interceptor->order_ == Order::BeforeWindow) {
        interceptor->handler_(message, wParam, lParam);
        return ::DefSubclassProc(window, message, wParam, lParam);
    }
    const LRESULT result = ::DefSubclassProc(window, message, wParam, lParam);
    interceptor->handler_(message, wParam, lParam);
    return result;
}

}  // namespace forms
