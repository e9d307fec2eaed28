// The button's model without a window: schemes, persistence,
// content layout and popup-menu placement.
#include <gtest/gtest.h>

#include <array>

#include "ColorRules.h"
#include "controls/imagebutton/ButtonPersistence.h"
#include "controls/imagebutton/ColorMath.h"
#include "controls/imagebutton/ColorScheme.h"
#include "controls/imagebutton/ContentLayout.h"
#include "controls/imagebutton/PopupMenuPlacement.h"
#include "controls/imagebutton/WindowRegion.h"
#include "forms/AccessKey.h"

using namespace controls::imagebutton;

namespace {
ButtonProperties WithStyle(int style, int scheme) {
    ButtonProperties p;
    p.buttonStyle = style;
    p.colorScheme = scheme;
    p.backColor = 0x123456;
    ApplySchemeColors(p);
    return p;
}

// A rectangle's left, top, right and bottom, comparable and printable.
std::array<LONG, 4> Edges(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
}  // namespace

TEST(ColorScheme, StylesBringTheirScheme) {
    EXPECT_EQ(SchemeForStyle(Styles::RoundedBands, Schemes::Olive), Schemes::Silver);
    EXPECT_EQ(SchemeForStyle(Styles::RoundedShaded, Schemes::Blue), Schemes::Silver);
    EXPECT_EQ(SchemeForStyle(Styles::SplitGradient, Schemes::Olive), Schemes::Olive);
    for (int style : {0, 1, 2, 4, 6, 7, 8, 10}) EXPECT_EQ(SchemeForStyle(style, Schemes::Custom), Schemes::Blue);
    for (int style : {11, 12, 13}) EXPECT_EQ(SchemeForStyle(style, Schemes::Olive), Schemes::Olive);
}

TEST(ColorScheme, BackColorsPerStyleAndScheme) {
    EXPECT_EQ(WithStyle(2, 0).backColor, 0xE7EBECu);
    EXPECT_EQ(WithStyle(2, 1).backColor, 0xDBEEF3u);
    EXPECT_EQ(WithStyle(2, 2).backColor, 0xFCF1F0u);
    EXPECT_EQ(WithStyle(2, 3).backColor, 0x123456u);
    EXPECT_EQ(WithStyle(3, 0).backColor, 0xFDECE0u);
    EXPECT_EQ(WithStyle(3, 2).backColor, static_cast<forms::OleColor>(imagebutton_test::rule::Shift(0xD4D4D4, 0.06f)));
    EXPECT_EQ(WithStyle(5, 1).backColor, 0xBAD6D4u);
    EXPECT_EQ(WithStyle(5, 2).backColor, static_cast<forms::OleColor>(imagebutton_test::rule::Shift(0xBA9EA0, 0.15f)));
    EXPECT_EQ(WithStyle(8, 0).backColor, 0xFFD1ADu);
    EXPECT_EQ(WithStyle(10, 2).backColor, 0xE3DFE0u);
    EXPECT_EQ(WithStyle(9, 2).backColor, 0xE1D6D5u);
    EXPECT_EQ(WithStyle(9, 3).backColor, 0x123456u);
    for (int style : {0, 1, 4, 6, 7, 11, 12})
        for (int scheme : {0, 1, 2, 3})
            EXPECT_EQ(WithStyle(style, scheme).backColor, forms::SystemColor(COLOR_BTNFACE));
    EXPECT_EQ(WithStyle(13, 0).backColor, 0x123456u);
}

TEST(ColorScheme, ForeColorFocusRectAndPushOnHover) {
    for (int style = 0; style < Styles::kCount; ++style) {
        ButtonProperties p = WithStyle(style, 0);
        EXPECT_EQ(p.foreColor, forms::SystemColor(COLOR_BTNTEXT));
        EXPECT_EQ(p.showFocusRect, style == 0 || style == 1 || style == 9) << style;
        EXPECT_EQ(p.picturePushOnHover, style == 4) << style;
    }
    ButtonProperties pushed;
    pushed.picturePushOnHover = true;
    pushed.buttonStyle = 8;
    ApplySchemeColors(pushed);
    EXPECT_TRUE(pushed.picturePushOnHover);  // other styles leave it as it was
}

TEST(Persistence, AnEmptyStoreRestoresTheAbsentDefaults) {
    forms::PropertyBag bag;
    auto hostFont = forms::Font::Create(L"MS Sans Serif", 8.25);
    ButtonProperties p = ReadButtonProperties(bag, hostFont);
    EXPECT_EQ(p.buttonStyle, 1);  // not 13: a saved button without the key is a SoftEdge one
    EXPECT_FALSE(p.showFocusRect);
    EXPECT_EQ(p.font, hostFont);
    EXPECT_EQ(p.backColor, static_cast<forms::OleColor>(forms::TranslateColor(forms::SystemColor(COLOR_BTNFACE))));
    EXPECT_EQ(p.caption, L"zembutton");
    EXPECT_EQ(p.pictureEffectOnOver, 1);
    EXPECT_EQ(p.pictureEffectOnDown, 2);
    EXPECT_EQ(p.maskColor, 0xE0E0E0u);
    EXPECT_TRUE(p.useMaskColor);
    EXPECT_EQ(p.foreColorHover, static_cast<forms::OleColor>(forms::TranslateColor(forms::SystemColor(COLOR_BTNTEXT))));
    EXPECT_EQ(p.tooltipBackColor,
              static_cast<forms::OleColor>(forms::TranslateColor(forms::SystemColor(COLOR_INFOBK))));
    EXPECT_EQ(p.pictureOpacity, 255);
    EXPECT_EQ(p.colorScheme, 0);
}

TEST(Persistence, ReadingKeepsStoredColoursAndComparesKeysWithoutCase) {
    forms::PropertyBag bag;
    bag.Write(L"buttonstyle", std::int32_t{3});
    bag.Write(L"BACKCOLOR", std::int32_t{0x00ABCDEF});
    bag.Write(L"ShowFocusRect", true);
    bag.Write(L"PicturePushOnHover", true);
    bag.Write(L"PictureOpacity", std::uint8_t{7});
    bag.Write(L"PictureOpacityOnOver", std::int32_t{9});
    bag.Write(L"caption", std::wstring(L"Cancel"));
    ButtonProperties p = ReadButtonProperties(bag, nullptr);
    EXPECT_EQ(p.buttonStyle, 3);
    EXPECT_EQ(p.backColor, 0xABCDEFu);  // no scheme colour replaces it
    EXPECT_TRUE(p.showFocusRect);
    EXPECT_TRUE(p.picturePushOnHover);
    EXPECT_EQ(p.pictureOpacity, 7);
    EXPECT_EQ(p.pictureOpacityOnOver, 9);
    EXPECT_EQ(p.caption, L"Cancel");
}

TEST(Persistence, WritingLeavesOutDefaultsAndKeepsTheOrder) {
    auto hostFont = forms::Font::Create(L"MS Sans Serif", 8.25);
    ButtonProperties p;
    p.buttonStyle = 8;
    p.caption = L"zembutton1";
    p.font = hostFont;
    p.backColor = 0xFFD1AD;
    p.showFocusRect = false;
    p.pictureEffectOnOver = 1;
    p.pictureEffectOnDown = 2;
    p.pictureOpacity = 128;
    p.foreColor = static_cast<forms::OleColor>(forms::TranslateColor(forms::SystemColor(COLOR_BTNTEXT)));
    p.foreColorHover = p.foreColor;
    p.tooltipBackColor = static_cast<forms::OleColor>(forms::TranslateColor(forms::SystemColor(COLOR_INFOBK)));
    p.colorScheme = 3;
    forms::PropertyBag bag;
    WriteButtonProperties(bag, p, hostFont);
    const std::vector<std::wstring> expected = {L"ButtonStyle", L"BackColor", L"PictureOpacity", L"ColorScheme"};
    EXPECT_EQ(bag.Keys(), expected);
    ASSERT_NE(bag.Find(L"PictureOpacity"), nullptr);
    EXPECT_TRUE(std::holds_alternative<std::uint8_t>(*bag.Find(L"PictureOpacity")));

    ButtonProperties back = ReadButtonProperties(bag, hostFont);
    EXPECT_EQ(back.buttonStyle, 8);
    EXPECT_EQ(back.backColor, 0xFFD1ADu);
    EXPECT_EQ(back.pictureOpacity, 128);
    EXPECT_EQ(back.colorScheme, 3);
}

TEST(Persistence, EveryKeyIsWrittenInItsOrder) {
    ButtonProperties p;  // a new button's values differ from most "absent" defaults
    p.caption = L"Other";
    p.font = forms::Font::Create(L"Tahoma", 10);
    p.handPointer = true;
    p.mousePointer = 3;
    p.pictureShadow = true;
    p.pictureOpacity = 1;
    p.pictureOpacityOnOver = 2;
    p.disabledPictureMode = 1;
    p.picturePushOnHover = true;
    p.maskColor = 1;
    p.useMaskColor = false;
    p.captionEffects = 2;
    p.mode = 1;
    p.value = true;
    p.pictureAlign = 3;
    p.captionAlign = 0;
    p.dropDownSeparator = true;
    p.tooltipTitle = L"t";
    p.toolTip = L"tip";
    p.toolTipIcon = 1;
    p.toolTipType = 1;
    p.tooltipBackColor = 5;
    p.rightToLeft = true;
    p.dropDownSymbol = 6;
    p.colorScheme = 2;
    p.enabled = false;
    p.foreColorHover = 0x0000FF;
    auto picture = forms::Picture::FromBitmap(base::BitmapHandle(::CreateBitmap(2, 2, 1, 32, nullptr)));
    p.mouseIcon = picture;
    p.pictureNormal = picture;
    p.pictureHot = picture;
    p.pictureDown = picture;
    forms::PropertyBag bag;
    WriteButtonProperties(bag, p, forms::Font::Create(L"MS Sans Serif", 8.25));
    const std::vector<std::wstring> expected = {L"ButtonStyle",
                                                L"ShowFocusRect",
                                                L"Font",
                                                L"BackColor",
                                                L"Enabled",
                                                L"Caption",
                                                L"Value",
                                                L"MousePointer",
                                                L"HandPointer",
                                                L"MouseIcon",
                                                L"PictureNormal",
                                                L"PictureHot",
                                                L"PictureDown",
                                                L"PictureShadow",
                                                L"PictureOpacity",
                                                L"PictureOpacityOnOver",
                                                L"DisabledPictureMode",
                                                L"PicturePushOnHover",
                                                L"PictureEffectOnOver",
                                                L"PictureEffectOnDown",
                                                L"MaskColor",
                                                L"UseMaskColor",
                                                L"CaptionEffects",
                                                L"Mode",
                                                L"PictureAlign",
                                                L"CaptionAlign",
                                                L"ForeColor",
                                                L"ForeColorHover",
                                                L"DropDownSeparator",
                                                L"TooltipTitle",
                                                L"ToolTip",
                                                L"TooltipIcon",
                                                L"TooltipType",
                                                L"TooltipBackColor",
                                                L"RightToLeft",
                                                L"DropDownSymbol",
                                                L"ColorScheme"};
    EXPECT_EQ(bag.Keys(), expected);
}

TEST(ContentLayout, CentredCaptionWithAPictureLeftOfIt) {
    const ContentInput in{
        .width = 97, .height = 25, .caption = {40, 13}, .pictureWidth = 16, .pictureHeight = 16, .hasPicture = true};
    const ContentLayout l = LayOutContent(in);
    // ((97 - 40 + 16) div 2, (25 - 13) div 2)
    EXPECT_EQ(l.caption.left, 36);
    EXPECT_EQ(l.caption.top, 6);
    EXPECT_EQ(l.caption.right, 76);
    EXPECT_EQ(l.picture.left, 36 - 16 - 4);
    EXPECT_EQ(l.picture.top, 4);
    EXPECT_EQ(l.picture.right - l.picture.left, 16);
}

TEST(ContentLayout, ABlankCaptionCentresThePicture) {
    ContentInput in{.width = 60,
                    .height = 30,
                    .caption = {0, 13},
                    .captionBlank = true,
                    .pictureWidth = 20,
                    .pictureHeight = 10,
                    .hasPicture = true};
    for (int align = 0; align <= 8; ++align) {
        in.pictureAlign = align;
        const ContentLayout l = LayOutContent(in);
        EXPECT_EQ(l.picture.left, 20) << align;
        EXPECT_EQ(l.picture.top, 10) << align;
    }
    in.dropDownSymbol = 6;
    EXPECT_EQ(LayOutContent(in).picture.left, 12);  // moved 8 left for the drop-down part
}

TEST(ContentLayout, PictureAlignments) {
    ContentInput in{.width = 100,
                    .height = 40,
                    .caption = {30, 13},
                    .pictureWidth = 16,
                    .pictureHeight = 16,
                    .hasPicture = true,
                    .captionAlign = CaptionAligns::Left};
    auto at = [&](int align) {
        in.pictureAlign = align;
        return LayOutContent(in);
    };
    EXPECT_EQ(at(0).picture.left, 3);
    EXPECT_EQ(at(0).caption.left, 20);  // pushed right of the picture: picW + 4
    EXPECT_EQ(at(2).picture.left, 100 - 16 - 3);
    EXPECT_EQ(at(3).picture.left, at(3).caption.right + 4);
    EXPECT_EQ(at(5).picture.top, 4);
    EXPECT_EQ(at(5).caption.top, (40 - 13) / 2 + 8);
    EXPECT_EQ(at(6).picture.top, at(6).caption.top - 16 - 2);
    EXPECT_EQ(at(7).picture.top, 40 - 16 - 4);
    EXPECT_EQ(at(8).picture.top, at(8).caption.bottom + 2);
    EXPECT_EQ(at(8).caption.top, (40 - 13) / 2 - 8);
    in.dropDownSeparator = true;
    in.captionAlign = CaptionAligns::Right;
    // Right edge: 100 - 16 - 3 - 16 = 65, but not left of the caption's right end + 2.
    const ContentLayout right = at(2);
    EXPECT_EQ(right.picture.left, std::max<LONG>(65, right.caption.right + 2));
}

TEST(ContentLayout, ThemedButtonsKeepTheCaptionFourPixelsIn) {
    const ContentLayout l = LayOutContent({.width = 40, .height = 15, .caption = {60, 13}, .style = Styles::Themed});
    EXPECT_EQ(Edges(l.caption), Edges({4, 4, 36, 11}));
}

TEST(ContentLayout, DropDownSymbolAndReserve) {
    EXPECT_EQ(CaptionReserve(0, false, 1), 8);
    EXPECT_EQ(CaptionReserve(6, false, 1), 16);
    EXPECT_EQ(CaptionReserve(0, true, 3), 24);
    // Top round(5.5) = 6, bottom round(20.5) = 20.
    EXPECT_EQ(Edges(LayOutContent({.width = 97, .height = 25, .dropDownSymbol = 6}).symbol), Edges({82, 6, 97, 20}));
}

TEST(ContentLayout, PressedStylesMoveTheContent) {
    for (int style = 0; style < Styles::kCount; ++style) {
        const bool moves = style == 0 || style == 1 || style == 5 || style == 6 || style == 7 || style == 10 ||
                           style == 11 || style == 12;
        EXPECT_EQ(PressOffset(style, VisualStates::Down), moves ? 1 : 0) << style;
        EXPECT_EQ(PressOffset(style, VisualStates::Hot), 0);
        const bool symbolMoves = moves && style != 5 && style != 10;
        EXPECT_EQ(SymbolPressOffset(style, VisualStates::Down), symbolMoves ? 1 : 0) << style;
    }
}

TEST(PopupMenuPlacement, EightAlignments) {
    const long flags = TPM_LEFTBUTTON;
    struct Expected {
        int align;
        POINT point;
        long flags;
        bool stored;
    };
    const Expected table[] = {
        {0, {0, 25}, flags, false}, {1, {0, 0}, 0x20, true},     {2, {0, 0}, flags | 0x08, true},
        {3, {97, 0}, flags, false}, {4, {0, 0}, 0x28, true},     {5, {0, 25}, flags | 0x08, true},
        {6, {97, 0}, 0x20, true},   {7, {97, 25}, flags, false},
    };
    for (const Expected& e : table) {
        auto placed = PlacePopupMenu(e.align, flags, 97, 25);
        ASSERT_TRUE(placed) << e.align;
        EXPECT_EQ(placed->point.x, e.point.x) << e.align;
        EXPECT_EQ(placed->point.y, e.point.y) << e.align;
        EXPECT_EQ(placed->flags, e.flags) << e.align;
        EXPECT_EQ(placed->storeFlags, e.stored) << e.align;
    }
    EXPECT_FALSE(PlacePopupMenu(8, flags, 97, 25));
    EXPECT_FALSE(PlacePopupMenu(-1, flags, 97, 25));
}

TEST(WindowRegion, CornerEllipses) {
    const int expected[] = {0, 0, 3, 3, 0, 0, 4, 3, 0, 3, 4, 0, 0, 0};
    for (int style = 0; style < Styles::kCount; ++style) EXPECT_EQ(CornerEllipse(style), expected[style]) << style;
    EXPECT_FALSE(RegionForStyle(Styles::Themed, 10, 10));
}
