#include "controls/imagebutton/ButtonPersistence.h"

namespace controls::imagebutton {

namespace {
using forms::OleColor;
using forms::PropertyBag;
using PicturePtr = std::shared_ptr<forms::Picture>;
using FontPtr = std::shared_ptr<forms::Font>;

constexpr wchar_t kReadCaption[] = L"zembutton";
constexpr wchar_t kWriteCaption[] = L"zembutton1";

std::int32_t SystemDefault(int index) {
    return static_cast<std::int32_t>(forms::TranslateColor(forms::SystemColor(index)));
}

OleColor ReadColor(const PropertyBag& bag, const wchar_t* key, std::int32_t defaultValue) {
    return static_cast<OleColor>(bag.Read<std::int32_t>(key, defaultValue));
}

// Opacities are bytes; a store that kept one as a plain integer is read as well.
std::uint8_t ReadByte(const PropertyBag& bag, const wchar_t* key, std::uint8_t defaultValue) {
    if (const forms::PropertyValue* value = bag.Find(key)) {
        if (const auto* byte = std::get_if<std::uint8_t>(value)) return *byte;
        if (const auto* number = std::get_if<std::int32_t>(value))
            if (*number >= 0 && *number <= 255) return static_cast<std::uint8_t>(*number);
    }
    return defaultValue;
}

std::int32_t AsInt(OleColor color) { return static_cast<std::int32_t>(color); }

int ReadInt(const PropertyBag& bag, const wchar_t* key, int defaultValue) {
    return bag.Read<std::int32_t>(key, defaultValue);
}
}  // namespace

ButtonProperties ReadButtonProperties(const PropertyBag& bag, const FontPtr& hostFont) {
    ButtonProperties p;
    p.buttonStyle = ReadInt(bag, L"ButtonStyle", Styles::SoftEdge);
    p.showFocusRect = bag.Read(L"ShowFocusRect", false);
    p.font = bag.Read<FontPtr>(L"Font", hostFont);
    if (!p.font) p.font = hostFont;
    p.backColor = ReadColor(bag, L"BackColor", SystemDefault(COLOR_BTNFACE));
    p.enabled = bag.Read(L"Enabled", true);
    p.caption = bag.Read(L"Caption", kReadCaption);
    p.value = bag.Read(L"Value", false);
    p.mousePointer = static_cast<short>(bag.Read(L"MousePointer", 0));
    p.handPointer = bag.Read(L"HandPointer", false);
    p.mouseIcon = bag.Read<PicturePtr>(L"MouseIcon", nullptr);
    p.pictureNormal = bag.Read<PicturePtr>(L"PictureNormal", nullptr);
    p.pictureHot = bag.Read<PicturePtr>(L"PictureHot", nullptr);
    p.pictureDown = bag.Read<PicturePtr>(L"PictureDown", nullptr);
    p.pictureShadow = bag.Read(L"PictureShadow", false);
    p.pictureOpacity = ReadByte(bag, L"PictureOpacity", 255);
    p.pictureOpacityOnOver = ReadByte(bag, L"PictureOpacityOnOver", 255);
    p.disabledPictureMode = ReadInt(bag, L"DisabledPictureMode", DisabledPictureModes::Faded);
    p.picturePushOnHover = bag.Read(L"PicturePushOnHover", false);
    p.pictureEffectOnOver = ReadInt(bag, L"PictureEffectOnOver", PictureEffects::Brighten);
    p.pictureEffectOnDown = ReadInt(bag, L"PictureEffectOnDown", PictureEffects::Darken);
    p.maskColor = ReadColor(bag, L"MaskColor", 0xE0E0E0);
    p.useMaskColor = bag.Read(L"UseMaskColor", true);
    p.captionEffects = ReadInt(bag, L"CaptionEffects", CaptionEffectKinds::None);
    p.mode = ReadInt(bag, L"Mode", Modes::Push);
    p.pictureAlign = ReadInt(bag, L"PictureAlign", PictureAligns::LeftOfCaption);
    p.captionAlign = ReadInt(bag, L"CaptionAlign", CaptionAligns::Center);
    p.foreColor = ReadColor(bag, L"ForeColor", SystemDefault(COLOR_BTNTEXT));
    p.foreColorHover = ReadColor(bag, L"ForeColorHover", SystemDefault(COLOR_BTNTEXT));
    p.dropDownSeparator = bag.Read(L"DropDownSeparator", false);
    p.tooltipTitle = bag.Read(L"TooltipTitle", L"");
    p.toolTip = bag.Read(L"ToolTip", L"");
    p.toolTipIcon = bag.Read(L"TooltipIcon", 0);
    p.toolTipType = ReadInt(bag, L"TooltipType", ToolTipTypes::Rectangular);
    p.tooltipBackColor = ReadColor(bag, L"TooltipBackColor", SystemDefault(COLOR_INFOBK));
    p.rightToLeft = bag.Read(L"RightToLeft", false);
    p.dropDownSymbol = bag.Read(L"DropDownSymbol", 0);
    p.colorScheme = ReadInt(bag, L"ColorScheme", Schemes::Blue);
    return p;
}

void WriteButtonProperties(PropertyBag& bag, const ButtonProperties& p, const FontPtr& hostFont) {
    const PicturePtr none;
    WriteInt(bag, L"ButtonStyle", p.buttonStyle, Styles::SoftEdge);
    bag.Write(L"ShowFocusRect", p.showFocusRect, false);
    bag.Write(L"Font", p.font, hostFont);
    bag.Write(L"BackColor", AsInt(p.backColor), SystemDefault(COLOR_BTNFACE));
    bag.Write(L"Enabled", p.enabled, true);
    bag.Write(L"Caption", p.caption, std::wstring(kWriteCaption));
    bag.Write(L"Value", p.value, false);
    bag.Write(L"MousePointer", static_cast<std::int32_t>(p.mousePointer), 0);
    bag.Write(L"HandPointer", p.handPointer, false);
    bag.Write(L"MouseIcon", p.mouseIcon, none);
    bag.Write(L"PictureNormal", p.pictureNormal, none);
    bag.Write(L"PictureHot", p.pictureHot, none);
    bag.Write(L"PictureDown", p.pictureDown, none);
    bag.Write(L"PictureShadow", p.pictureShadow, false);
    bag.Write(L"PictureOpacity", p.pictureOpacity, std::uint8_t{255});
    bag.Write(L"PictureOpacityOnOver", p.pictureOpacityOnOver, std::uint8_t{255});
    WriteInt(bag, L"DisabledPictureMode", p.disabledPictureMode, DisabledPictureModes::Faded);
    bag.Write(L"PicturePushOnHover", p.picturePushOnHover, false);
    WriteInt(bag, L"PictureEffectOnOver", p.pictureEffectOnOver, PictureEffects::Brighten);
    WriteInt(bag, L"PictureEffectOnDown", p.pictureEffectOnDown, PictureEffects::Darken);
    bag.Write(L"MaskColor", AsInt(p.maskColor), 0xE0E0E0);
    bag.Write(L"UseMaskColor", p.useMaskColor, true);
    WriteInt(bag, L"CaptionEffects", p.captionEffects, CaptionEffectKinds::None);
    WriteInt(bag, L"Mode", p.mode, Modes::Push);
    WriteInt(bag, L"PictureAlign", p.pictureAlign, PictureAligns::LeftOfCaption);
    WriteInt(bag, L"CaptionAlign", p.captionAlign, CaptionAligns::Center);
    bag.Write(L"ForeColor", AsInt(p.foreColor), SystemDefault(COLOR_BTNTEXT));
    bag.Write(L"ForeColorHover", AsInt(p.foreColorHover), SystemDefault(COLOR_BTNTEXT));
    bag.Write(L"DropDownSeparator", p.dropDownSeparator, false);
    bag.Write(L"TooltipTitle", p.tooltipTitle, std::wstring());
    bag.Write(L"ToolTip", p.toolTip, std::wstring());
    bag.Write(L"TooltipIcon", p.toolTipIcon, 0);
    WriteInt(bag, L"TooltipType", p.toolTipType, ToolTipTypes::Rectangular);
    bag.Write(L"TooltipBackColor", AsInt(p.tooltipBackColor), SystemDefault(COLOR_INFOBK));
    bag.Write(L"RightToLeft", p.rightToLeft, false);
    bag.Write(L"DropDownSymbol", p.dropDownSymbol, 0);
    WriteInt(bag, L"ColorScheme", p.colorScheme, Schemes::Blue);
}

}  // namespace controls::imagebutton
