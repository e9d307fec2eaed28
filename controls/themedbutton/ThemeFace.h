#pragma once
// Look 6: the platform's visual theme draws a push button.
#include <windows.h>

#include <uxtheme.h>

namespace controls::themedbutton {

// The theme data of the "Button" class for a window, opened when first asked
// for (opening is slow) and kept until the theme changes.
class ButtonTheme {
public:
    ButtonTheme() = default;
    ButtonTheme(const ButtonTheme&) = delete;
    ButtonTheme& operator=(const ButtonTheme&) = delete;
    ~ButtonTheme() { Forget(); }

    // None without an active theme.
    HTHEME For(HWND window);
    void Forget() noexcept;

private:
    HTHEME theme_ = nullptr;
    bool opened_ = false;
};

// Draws the theme's push button for the visual state (the defaulted state 5 for a
// focused normal button); with roundedBorders the theme's outline becomes the
// window's region. False when there is no theme or it could not draw.
bool DrawThemeFace(HTHEME theme, HWND window, HDC dc, int width, int height, int state, bool hasFocus,
                   bool roundedBorders);

}  // namespace controls::themedbutton
