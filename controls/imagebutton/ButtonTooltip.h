#pragma once
// The button's own tooltip: a "tooltips_class32" window made afresh each time
// the button turns hot, watching the button's mouse messages itself.
#include <windows.h>

#include <string>

namespace controls::imagebutton {

struct TooltipLook {
    std::wstring text;
    std::wstring title;
    int icon = 0;  // TTI_NONE, TTI_INFO, TTI_WARNING, TTI_ERROR
    bool balloon = false;
    long backColor = 0;  // translated; 0 keeps the platform's colour
    bool rightToLeft = false;
};

class ButtonTooltip {
public:
    static constexpr int kMaxWidth = 240;

    ButtonTooltip() = default;
    ButtonTooltip(const ButtonTooltip&) = delete;
    ButtonTooltip& operator=(const ButtonTooltip&) = delete;
    ~ButtonTooltip() { Destroy(); }

    // Replaces any earlier tooltip with one for the whole client area of the tool window.
    void Create(HWND tool, const TooltipLook& look);
    void Destroy() noexcept;
    HWND Handle() const noexcept { return window_; }

private:
    HWND window_ = nullptr;
};

}  // namespace controls::imagebutton
