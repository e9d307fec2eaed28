#pragma once
// Sees chosen messages of a window, before or after its own procedure, without
// swallowing them or changing their result; stops when it goes away.
#include <windows.h>

#include <functional>
#include <vector>

namespace forms {

class MessageInterceptor {
public:
    using Handler = std::function<void(UINT message, WPARAM wParam, LPARAM lParam)>;
    enum class Order { BeforeWindow, AfterWindow };

    MessageInterceptor(HWND window, std::vector<UINT> messages, Handler handler, Order order = Order::BeforeWindow);
    MessageInterceptor(const MessageInterceptor&) = delete;
    MessageInterceptor& operator=(const MessageInterceptor&) = delete;
    ~MessageInterceptor();

    bool Installed() const noexcept { return installed_; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR self) noexcept;
    bool Watches(UINT message) const noexcept;

    HWND window_;
    std::vector<UINT> messages_;
    Handler handler_;
    Order order_;
    bool installed_ = false;
};

}  // namespace forms
