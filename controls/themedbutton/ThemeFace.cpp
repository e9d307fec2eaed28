#include "controls/themedbutton/ThemeFace.h"

#include "base/Handles.h"
#include "controls/themedbutton/ButtonProperties.h"

namespace controls::themedbutton {

namespace {
constexpr int kPushButtonPart = 1;
}  // namespace

HTHEME ButtonTheme::For(HWND window) {
    if (!opened_) {
        theme_ = ::OpenThemeData(window, L"Button");
        opened_ = true;
    }
    return theme_;
}

void ButtonTheme::Forget() noexcept {
    if (theme_) ::CloseThemeData(theme_);
    theme_ = nullptr;
    opened_ = false;
}

bool DrawThemeFace(HTHEME theme, HWND window, HDC dc, int width, int height, int state, bool hasFocus,
                   bool roundedBorders) {
    if (!theme) return false;
    const int themeState = hasFocus && state == VisualStates::Normal ? VisualStates::Defaulted : state;
    const RECT client{0, 0, width, height};
    if (roundedBorders) {
        const RECT grown{-1, -1, width + 1, height + 1};
        HRGN made = nullptr;
        base::RegionHandle outline;
        if (SUCCEEDED(::GetThemeBackgroundRegion(theme, dc, kPushButtonPart, themeState, &grown, &made)))
            outline.Reset(made);
        // The window owns the region from here on; none leaves the window unshaped.
        // No redraw: this runs inside a repaint.
        if (::SetWindowRgn(window, outline.Get(), FALSE)) outline.Release();
    }
    return SUCCEEDED(::DrawThemeBackground(theme, dc, kPushButtonPart, themeState, &client, &client));
}

}  // namespace controls::themedbutton
