#pragma once
// The themed button's own tooltip window: built when the mouse comes over the
// button and torn down when it leaves, registered with the platform's ANSI
// tool messages.
#include <windows.h>

#include <commctrl.h>

#include <optional>
#include <string>

namespace controls::themedbutton {

struct TooltipLook {
    std::wstring text;
    std::wstring title;
    int icon = 0;  // TTI_NONE, TTI_INFO, TTI_WARNING, TTI_ERROR
    bool balloon = true;
    // Translated colours (-1 where that failed); none keeps the platform's colour.
    std::optional<long> foreColor;
    std::optional<long> backColor;
};

class ButtonTooltip {
public:
    ButtonTooltip() = default;
    ButtonTooltip(const ButtonTooltip&) = delete;
    ButtonTooltip& operator=(const ButtonTooltip&) = delete;
    ~ButtonTooltip() { TearDown(); }

    // A new tooltip window for the tool's client area as it is now, replacing any earlier one.
    void Build(HWND tool, const TooltipLook& look);
    void TearDown() noexcept;
    HWND Handle() const noexcept { return window_; }

private:
    HWND window_ = nullptr;
    TOOLINFOA tool_{};
    std::string text_;  // the tool record points at it
};

}  // namespace controls::themedbutton
