#pragma once
// The image button's public properties as one value, with the values a newly
// placed button starts from, and the names of their enumerated values.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "forms/Colors.h"
#include "forms/Font.h"
#include "forms/Picture.h"

namespace controls::imagebutton {

struct Styles {
    enum : int {
        Standard,
        SoftEdge,
        RoundedGradient,
        RoundedBands,
        FlatHighlight,
        SplitGradient,
        RoundedPanel,
        RoundedSimple,
        SquareBands,
        RoundedShaded,
        RoundedBlend,
        FlatEdge,
        FlatThin,
        Themed,
    };
    static constexpr int kCount = 14;
};

struct Schemes {
    enum : int { Blue, Olive, Silver, Custom };
};

struct VisualStates {
    enum : int { Normal, Hot, Down };
};

struct Modes {
    enum : int { Push, CheckBox, OptionButton };
};

struct CaptionAligns {
    enum : int { Left, Center, Right };
};

struct CaptionEffectKinds {
    enum : int { None, Raised, Sunken, Shadow, LightOutline, DarkOutline };
};

struct PictureAligns {
    enum : int {
        LeftEdge,
        LeftOfCaption,
        RightEdge,
        RightOfCaption,
        Center,
        TopEdge,
        AboveCaption,
        BottomEdge,
        BelowCaption
    };
};

struct PictureEffects {
    enum : int { None, Brighten, Darken };
};

struct DisabledPictureModes {
    enum : int { Faded, Grayscale };
};

struct ToolTipTypes {
    enum : int { Rectangular, Balloon };
};

// The pointer kind that means "use MouseIcon".
constexpr short kCustomPointer = 99;

struct ButtonProperties {
    int buttonStyle = Styles::Themed;
    int colorScheme = Schemes::Blue;
    forms::OleColor backColor = 0;
    forms::OleColor foreColor = forms::SystemColor(COLOR_BTNTEXT);
    forms::OleColor foreColorHover = 0;
    std::wstring caption;
    int captionAlign = CaptionAligns::Center;
    int captionEffects = CaptionEffectKinds::None;
    std::shared_ptr<forms::Font> font;
    bool enabled = true;
    int mode = Modes::Push;
    bool value = false;
    bool showFocusRect = true;
    bool handPointer = false;
    short mousePointer = 0;
    std::shared_ptr<forms::Picture> mouseIcon;
    forms::OleColor maskColor = 0xE0E0E0;
    bool useMaskColor = true;
    std::shared_ptr<forms::Picture> pictureNormal;
    std::shared_ptr<forms::Picture> pictureHot;
    std::shared_ptr<forms::Picture> pictureDown;
    int pictureAlign = PictureAligns::LeftOfCaption;
    bool pictureShadow = false;
    int pictureEffectOnOver = PictureEffects::None;
    int pictureEffectOnDown = PictureEffects::None;
    bool picturePushOnHover = false;
    std::uint8_t pictureOpacity = 255;
    std::uint8_t pictureOpacityOnOver = 255;
    int disabledPictureMode = DisabledPictureModes::Faded;
    int dropDownSymbol = 0;
    bool dropDownSeparator = false;
    bool rightToLeft = false;
    std::wstring toolTip;
    std::wstring tooltipTitle;
    int toolTipIcon = 0;
    int toolTipType = ToolTipTypes::Rectangular;
    forms::OleColor tooltipBackColor = 0;

    bool Checked() const noexcept { return mode != Modes::Push && value; }
    bool HasDropDown() const noexcept { return dropDownSymbol != 0 || dropDownSeparator; }
};

}  // namespace controls::imagebutton
