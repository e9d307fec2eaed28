#pragma once
// What a themed button keeps and saves, with the values a newly placed button has.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "forms/Colors.h"
#include "forms/Font.h"
#include "forms/Picture.h"

namespace controls::themedbutton {

namespace Styles {
constexpr int Raised = 0;
constexpr int Soft = 1;
constexpr int Flat = 2;
constexpr int Etched = 3;
constexpr int Office = 4;
constexpr int Skin = 5;
constexpr int Theme = 6;
constexpr int Shaded = 7;
constexpr int Bevelled = 8;
constexpr int Cylinder = 9;
constexpr int Large = 10;
}  // namespace Styles

namespace Aligns {
constexpr int Centre = 0;
constexpr int Left = 1;
constexpr int Right = 2;
constexpr int Top = 3;
constexpr int Bottom = 4;
}  // namespace Aligns

namespace VisualStates {
constexpr int Normal = 1;
constexpr int Hot = 2;
constexpr int Pressed = 3;
constexpr int Disabled = 4;
constexpr int Defaulted = 5;  // only as the state handed to the visual theme
}  // namespace VisualStates

constexpr int kToggle = 1;   // ButtonType of a button whose Value flips on each click
constexpr int kBalloon = 1;  // ToolTipType of a balloon tooltip

// A system colour as a plain 0x00BBGGRR value, taken now.
inline forms::OleColor SystemValue(int index) noexcept {
    return static_cast<forms::OleColor>(forms::TranslateColor(forms::SystemColor(index)));
}

struct ButtonProperties {
    std::shared_ptr<forms::Picture> icon;  // none stands for the empty picture too
    int style = Styles::Raised;
    std::wstring caption;
    int iconSize = 16;
    int captionAlign = Aligns::Centre;
    int iconAlign = Aligns::Left;
    int nonThemeStyle = Styles::Raised;
    bool enabled = true;
    bool showFocus = false;
    bool useCustomColors = false;
    forms::OleColor backColor = SystemValue(COLOR_BTNFACE);
    forms::OleColor highlightColor = SystemValue(COLOR_HIGHLIGHT);
    forms::OleColor fontColor = SystemValue(COLOR_BTNTEXT);
    forms::OleColor fontHighlightColor = SystemValue(COLOR_BTNTEXT);
    std::wstring toolTipText;
    std::wstring tooltipTitle;
    int toolTipIcon = 0;
    int toolTipType = kBalloon;
    forms::OleColor tooltipBackColor = 0;  // 0: the platform's colour
    forms::OleColor toolTipForeColor = 0;
    std::shared_ptr<forms::Font> font;
    int buttonType = 0;
    bool value = false;
    forms::OleColor maskColor = 0;
    bool useMaskColor = false;
    short mousePointer = 0;
    bool roundedBordersByTheme = false;
    bool rightToLeft = false;

    bool PressedToggle() const noexcept { return buttonType == kToggle && value; }
};

}  // namespace controls::themedbutton
