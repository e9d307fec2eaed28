#pragma once
// A control's own tooltip: a "tooltips_class32" window with one tool, the
// control's client area as it is when the tooltip is made, whose mouse messages
// the tooltip watches itself. The buttons differ only in what they ask of it.
#include <windows.h>

#include <optional>
#include <string>

namespace forms {

struct TooltipLook {
    std::wstring text;
    // Set only when given; the icon (TTI_NONE, TTI_INFO, TTI_WARNING, TTI_ERROR) goes with it.
    std::optional<std::wstring> title;
    int icon = 0;
    bool balloon = false;
    bool rightToLeft = false;  // a mirrored layout
    // The shadow is a class style: every tooltip of the process has it from then on.
    bool dropShadow = false;
    std::optional<int> maxWidth;  // longer texts wrap
    // Translated colours (-1 where that failed); none keeps the platform's.
    std::optional<long> foreColor;
    std::optional<long> backColor;
    // The tool registered with the ANSI messages (id 0, texts in the system's code
    // page) rather than the wide ones (the control's window as its id).
    bool ansi = false;
};

class Tooltip {
public:
    Tooltip() = default;
    Tooltip(const Tooltip&) = delete;
    Tooltip& operator=(const Tooltip&) = delete;
    ~Tooltip() { Destroy(); }

    // A new tooltip for the control's window, replacing any earlier one.
    void Create(HWND control, const TooltipLook& look);
    // Removes the tool and the window.
    void Destroy() noexcept;
    HWND Handle() const noexcept { return window_; }

private:
    HWND window_ = nullptr;
    HWND control_ = nullptr;
    bool ansi_ = false;
};

}  // namespace forms
