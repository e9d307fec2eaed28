#include "forms/Window.h"

#include <exception>
#include <new>
#include <string>

#include "base/MessageLoop.h"

namespace forms {

namespace {

constexpr wchar_t kOwnerProperty[] = L"Snipmill.Window";

// A command that failed for want of memory or of a thread ends with a message, and the program goes on.
void ReportFailure(HWND hwnd, const std::exception& failure) noexcept {
    static bool reporting = false;  // a failure while the message is up (a paint, say) is not told twice
    if (reporting) return;
    reporting = true;
    try {
        std::wstring text = L"There is not enough memory to finish this command.";
        if (!dynamic_cast<const std::bad_alloc*>(&failure)) {
            const std::string reason = failure.what();
            text = L"This command could not be finished (" + std::wstring(reason.begin(), reason.end()) + L").";
        }
        base::ShowMessage(::GetAncestor(hwnd, GA_ROOT), text, MB_OK | MB_ICONERROR);
    } catch (const std::exception&) {
    }
    reporting = false;
}

}  // namespace

Window::~Window() {
    if (hwnd_) {
        HWND hwnd = hwnd_;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        ::RemovePropW(hwnd, kOwnerProperty);
        hwnd_ = nullptr;
        ::DestroyWindow(hwnd);
    }
}

Window* Window::FromHandle(HWND hwnd) noexcept {
    return hwnd ? static_cast<Window*>(::GetPropW(hwnd, kOwnerProperty)) : nullptr;
}

bool Window::CreateWindowOf(const wchar_t* className, UINT classStyle, DWORD style, DWORD exStyle, const wchar_t* title,
                            int x, int y, int width, int height, HWND parent, HCURSOR cursor) {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    if (!::GetClassInfoExW(instance, className, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof wc;
        wc.style = classStyle;
        wc.lpfnWndProc = Router;
        wc.hInstance = instance;
        wc.hCursor = cursor;
        wc.lpszClassName = className;
        if (!::RegisterClassExW(&wc)) return false;
    }
    return ::CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, nullptr, instance, this) !=
           nullptr;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultHandling(message, wParam, lParam);
}

LRESULT CALLBACK Window::Router(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    Window* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        ::SetPropW(hwnd, kOwnerProperty, self);
    } else {
        self = reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    LRESULT result = 0;
    try {
        result = self->HandleMessage(message, wParam, lParam);
    } catch (const std::exception& failure) {
        ReportFailure(hwnd, failure);
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        ::RemovePropW(hwnd, kOwnerProperty);
        self->hwnd_ = nullptr;
        self->OnDestroyed();
    }
    return result;
}

}  // namespace forms
