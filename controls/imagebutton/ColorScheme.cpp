#include "controls/imagebutton/ColorScheme.h"

#include <optional>

#include "controls/imagebutton/ColorMath.h"

namespace controls::imagebutton {

namespace {
// The back colour of the style in one of the three named schemes; none where
// the style keeps whatever back colour it has.
std::optional<forms::OleColor> SchemeBackColor(int style, int scheme) noexcept {
    auto pick = [scheme](forms::OleColor blue, forms::OleColor olive,
                         forms::OleColor silver) -> std::optional<forms::OleColor> {
        switch (scheme) {
        case Schemes::Blue:
            return blue;
        case Schemes::Olive:
            return olive;
        case Schemes::Silver:
            return silver;
        default:
            return std::nullopt;
        }
    };
    switch (style) {
    case Styles::RoundedGradient:
        return pick(0xE7EBEC, 0xDBEEF3, 0xFCF1F0);
    case Styles::RoundedBands:
        return pick(0xFDECE0, 0xDEEDE8, static_cast<forms::OleColor>(ShiftColor(0xD4D4D4, 0.06f)));
    case Styles::SplitGradient:
        return pick(0xFCE1CA, 0xBAD6D4, static_cast<forms::OleColor>(ShiftColor(0xBA9EA0, 0.15f)));
    case Styles::SquareBands:
    case Styles::RoundedBlend:
        return pick(0xFFD1AD, 0xBAD6D4, 0xE3DFE0);
    case Styles::RoundedShaded:
        return pick(0xFFD1AD, 0xBAD6D4, 0xE1D6D5);
    case Styles::Themed:
        return std::nullopt;
    default:
        return forms::SystemColor(COLOR_BTNFACE);
    }
}
}  // namespace

int SchemeForStyle(int style, int currentScheme) noexcept {
    switch (style) {
    case Styles::RoundedBands:
    case Styles::RoundedShaded:
        return Schemes::Silver;
    case Styles::SplitGradient:
    case Styles::FlatEdge:
    case Styles::FlatThin:
    case Styles::Themed:
        return currentScheme;
    default:
        return Schemes::Blue;
    }
}

void ApplySchemeColors(ButtonProperties& properties) noexcept {
    if (auto back = SchemeBackColor(properties.buttonStyle, properties.colorScheme)) properties.backColor = *back;
    properties.foreColor = forms::SystemColor(COLOR_BTNTEXT);
    const int style = properties.buttonStyle;
    properties.showFocusRect = style == Styles::Standard || style == Styles::SoftEdge || style == Styles::RoundedShaded;
    if (style == Styles::FlatHighlight) properties.picturePushOnHover = true;
}

}  // namespace controls::imagebutton
