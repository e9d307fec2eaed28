#include "controls/themedbutton/ButtonPersistence.h"

#include <variant>

namespace controls::themedbutton {

namespace {
using forms::OleColor;
using forms::PropertyBag;

constexpr wchar_t kMissingCaption[] = L"ThemedButton";
constexpr int kMissingStyle = 3;
constexpr int kMissingNonThemeStyle = 5;
constexpr OleColor kMissingMaskColor = 0xC0C0C0;

std::int32_t AsInt(OleColor color) noexcept { return static_cast<std::int32_t>(color); }

OleColor ReadColor(const PropertyBag& bag, const wchar_t* key, OleColor defaultValue) {
    return static_cast<OleColor>(bag.Read<std::int32_t>(key, AsInt(defaultValue)));
}

void WriteColor(PropertyBag& bag, const wchar_t* key, OleColor value, OleColor defaultValue) {
    bag.Write(key, AsInt(value), AsInt(defaultValue));
}

// Right-to-left is stored as a number (0 or -1) but read against a boolean default.
bool ReadTruth(const PropertyBag& bag, const wchar_t* key, bool defaultValue) {
    if (const forms::PropertyValue* value = bag.Find(key)) {
        if (const auto* truth = std::get_if<bool>(value)) return *truth;
        if (const auto* number = std::get_if<std::int32_t>(value)) return *number != 0;
    }
    return defaultValue;
}
}  // namespace

std::wstring ReadToolTipText(const PropertyBag& bag) { return bag.Read(L"ToolTipText", L""); }

ButtonProperties ReadButtonProperties(const PropertyBag& bag, const std::shared_ptr<forms::Font>& currentFont) {
    ButtonProperties p;
    p.icon = bag.Read<std::shared_ptr<forms::Picture>>(L"Icon", nullptr);
    p.style = bag.Read(L"Style", kMissingStyle);
    p.caption = bag.Read(L"Caption", kMissingCaption);
    p.iconSize = bag.Read(L"IconSize", 16);
    p.captionAlign = bag.Read(L"CaptionAlign", Aligns::Centre);
    p.iconAlign = bag.Read(L"IconAlign", Aligns::Left);
    p.nonThemeStyle = bag.Read(L"iNonThemeStyle", kMissingNonThemeStyle);
    p.enabled = bag.Read(L"Enabled", true);
    p.showFocus = bag.Read(L"ShowFocus", false);
    p.useCustomColors = bag.Read(L"USeCustomColors", false);
    p.backColor = ReadColor(bag, L"BackColor", SystemValue(COLOR_BTNFACE));
    p.highlightColor = ReadColor(bag, L"HighlightColor", SystemValue(COLOR_HIGHLIGHT));
    p.fontColor = ReadColor(bag, L"FontColor", SystemValue(COLOR_BTNTEXT));
    p.fontHighlightColor = ReadColor(bag, L"FontHighlightColor", SystemValue(COLOR_BTNTEXT));
    p.toolTipText = ReadToolTipText(bag);
    p.tooltipTitle = bag.Read(L"Tooltiptitle", L"");
    p.toolTipIcon = bag.Read(L"ToolTipIcon", 0);
    p.toolTipType = bag.Read(L"ToolTipType", kBalloon);
    // Deliberately crossed: the text colour's default for the background and the other way round.
    p.tooltipBackColor = ReadColor(bag, L"ttBackColor", SystemValue(COLOR_INFOTEXT));
    p.toolTipForeColor = ReadColor(bag, L"ttForeColor", SystemValue(COLOR_INFOBK));
    p.font = bag.Read<std::shared_ptr<forms::Font>>(L"Font", currentFont);
    if (!p.font) p.font = currentFont;
    p.buttonType = bag.Read(L"ButtonType", 0);
    p.value = bag.Read(L"Value", false);
    p.useMaskColor = bag.Read(L"UseMaskColor", false);
    p.maskColor = ReadColor(bag, L"MaskColor", kMissingMaskColor);
    p.mousePointer = bag.Read<std::int16_t>(L"MousePointer", 0);
    p.roundedBordersByTheme = bag.Read(L"RoundedBordersByTheme", true);
    p.rightToLeft = ReadTruth(bag, L"bRTLText", false);
    return p;
}

void WriteButtonProperties(PropertyBag& bag, const ButtonProperties& p, const std::wstring& hostToolTip) {
    bag.Write(L"Icon", p.icon);
    WriteInt(bag, L"Style", p.style, kMissingStyle);
    bag.Write(L"Caption", p.caption, std::wstring());
    WriteInt(bag, L"IconSize", p.iconSize, 16);
    WriteInt(bag, L"IconAlign", p.iconAlign, Aligns::Left);
    WriteInt(bag, L"CaptionAlign", p.captionAlign, Aligns::Centre);
    WriteInt(bag, L"iNonThemeStyle", p.nonThemeStyle, kMissingNonThemeStyle);
    bag.Write(L"Enabled", p.enabled, true);
    bag.Write(L"ShowFocus", p.showFocus, false);
    bag.Write(L"USeCustomColors", p.useCustomColors, false);
    WriteColor(bag, L"BackColor", p.backColor, SystemValue(COLOR_BTNFACE));
    WriteColor(bag, L"HighlightColor", p.highlightColor, SystemValue(COLOR_HIGHLIGHT));
    WriteColor(bag, L"FontColor", p.fontColor, SystemValue(COLOR_BTNTEXT));
    WriteColor(bag, L"FontHighlightColor", p.fontHighlightColor, SystemValue(COLOR_BTNTEXT));
    bag.Write(L"ToolTipText", p.toolTipText, hostToolTip);
    bag.Write(L"Tooltiptitle", p.tooltipTitle);
    bag.Write(L"ToolTipIcon", std::int32_t{p.toolTipIcon});
    bag.Write(L"ToolTipType", std::int32_t{p.toolTipType});
    WriteColor(bag, L"ttBackColor", p.tooltipBackColor, SystemValue(COLOR_INFOTEXT));
    WriteColor(bag, L"ttForeColor", p.toolTipForeColor, SystemValue(COLOR_INFOBK));
    bag.Write(L"Font", p.font);
    WriteInt(bag, L"ButtonType", p.buttonType, 0);
    bag.Write(L"Value", p.value, false);
    WriteColor(bag, L"MaskColor", p.maskColor, kMissingMaskColor);
    bag.Write(L"UseMaskColor", p.useMaskColor, false);
    bag.Write(L"MousePointer", std::int16_t{p.mousePointer}, std::int16_t{0});
    bag.Write(L"RoundedBordersByTheme", p.roundedBordersByTheme, true);
    // A number against a boolean default: never equal, so always written.
    bag.Write(L"bRTLText", std::int32_t{p.rightToLeft ? -1 : 0}, false);
}

}  // namespace controls::themedbutton
