#pragma once
// Sees chosen messages of a window before its own procedure does, without
// swallowing them; stops when it goes away.
#include <windows.h>

#include <functional>
#include <vector>

namespace controls::imagebutton {

class MessageInterceptor {
public:
    using Handler = std::function<void(UINT message, WPARAM wParam, LPARAM lParam)>;

    MessageInterceptor(HWND window, std::vector<UINT> messages, Handler handler);
    MessageInterceptor(const MessageInterceptor&) = delete;
    MessageInterceptor& operator=(const MessageInterceptor&) = delete;
    ~MessageInterceptor();

    bool Installed() const noexcept { return installed_; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR self) noexcept;

    HWND window_;
    std::vector<UINT> messages_;
    Handler handler_;
    bool installed_ = false;
};

}  // namespace controls::imagebutton
