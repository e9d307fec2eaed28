#pragma once
// The base of every window and windowed control: `this` is bound to the HWND at
// WM_NCCREATE and unbound at WM_NCDESTROY; messages arrive in HandleMessage.
#include <windows.h>

namespace forms {

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND Handle() const noexcept { return hwnd_; }

    // The Window bound to a handle, or nullptr for a window of someone else's.
    static Window* FromHandle(HWND hwnd) noexcept;

protected:
    // Registers the class once (by name) and creates the window.
    bool CreateWindowOf(const wchar_t* className, UINT classStyle, DWORD style, DWORD exStyle, const wchar_t* title,
                        int x, int y, int width, int height, HWND parent,
                        HCURSOR cursor = ::LoadCursorW(nullptr, IDC_ARROW));

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
        return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    }

    // Called once the window is gone (after WM_NCDESTROY).
    virtual void OnDestroyed() {}

private:
    static LRESULT CALLBACK Router(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    HWND hwnd_ = nullptr;
};

}  // namespace forms
