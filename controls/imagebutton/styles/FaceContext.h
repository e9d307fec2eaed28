#pragma once
// What a style routine draws from: the canvas, the button's visual facts at this
// redraw, and the button itself for the parts that are not the face.
#include <windows.h>

#include <uxtheme.h>

#include "base/Handles.h"
#include "base/Rounding.h"
#include "controls/imagebutton/Canvas.h"
#include "forms/Colors.h"

namespace controls::imagebutton {

struct FaceState {
    int style = 0;
    int scheme = 0;
    long back = 0;  // BackColor, translated
    int state = 0;  // VisualStates
    bool checked = false;
    bool enabled = true;
    bool hasFocus = false;
    bool isDefault = false;
    bool formActive = false;
    bool showFocusRect = false;
    bool mouseOver = false;
    bool buttonDown = false;
    bool userMode = true;

    // The focused or default-button look applies.
    bool Emphasised() const noexcept { return hasFocus || isDefault; }
    // The dotted rectangle shows the keyboard user where the focus is.
    bool ShowsFocusRect() const noexcept { return enabled && formActive && showFocusRect && hasFocus; }
};

// The button's side of a face drawing.
class FaceHost {
public:
    virtual ~FaceHost() = default;
    // Picture, caption and drop-down symbol, drawn over the face.
    virtual void DrawContent() = 0;
    // Gives the window the outline of its style again.
    virtual void RebuildRegion() = 0;
    // Gives the window this outline instead (the theme's own).
    virtual void SetWindowRegion(base::RegionHandle region) = 0;
    virtual HWND WindowHandle() const noexcept = 0;
    // The theme data of the class "Button" for the window; none where it cannot be opened.
    virtual HTHEME ButtonTheme() = 0;
};

struct FaceContext {
    const Canvas& canvas;
    const FaceState& face;
    FaceHost& host;
};

constexpr long kWhite = 0xFFFFFF;
constexpr long kBlack = 0x000000;

inline long SystemColorValue(int index) noexcept { return forms::TranslateColor(forms::SystemColor(index)); }

// round(value / divisor), halves to even, as the styles split their faces.
inline int RoundedPart(int value, double divisor) noexcept { return base::RoundToInt(value / divisor); }

}  // namespace controls::imagebutton
