#include "controls/themedbutton/ThemeFace.h"

#include <uxtheme.h>

#include "controls/themedbutton/ButtonProperties.h"
#include "forms/Handles.h"

namespace controls::themedbutton {

namespace {
constexpr int kPushButtonPart = 1;

struct ThemeTraits {
    using Handle = HTHEME;
    static Handle Invalid() noexcept { return nullptr; }
    static bool IsValid(Handle h) noexcept { return h != nullptr; }
    static void Close(Handle h) noexcept { ::CloseThemeData(h); }
};
using ThemeHandle = forms::UniqueHandle<ThemeTraits>;
}  // namespace

bool DrawThemeFace(HWND window, HDC dc, int width, int height, int state, bool hasFocus, bool roundedBorders) {
    const int themeState = hasFocus && state == VisualStates::Normal ? VisualStates::Defaulted : state;
    ThemeHandle theme(::OpenThemeData(window, L"Button"));
    if (!theme) return false;
    const RECT client{0, 0, width, height};
    if (roundedBorders) {
        const RECT grown{-1, -1, width + 1, height + 1};
        HRGN outline = nullptr;
        if (FAILED(::GetThemeBackgroundRegion(theme.Get(), dc, kPushButtonPart, themeState, &grown, &outline)))
            outline = nullptr;
        // The window owns the region from here on; none leaves the window unshaped.
        // No redraw: this runs inside a repaint.
        if (!::SetWindowRgn(window, outline, FALSE) && outline) ::DeleteObject(outline);
    }
    return SUCCEEDED(::DrawThemeBackground(theme.Get(), dc, kPushButtonPart, themeState, &client, &client));
}

}  // namespace controls::themedbutton
