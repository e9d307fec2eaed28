#include "forms/Font.h"

#include <gtest/gtest.h>

TEST(Font, InstalledFacesAreUsedAsNamed) {
    forms::Font font(L"Tahoma", 8.25, true);
    EXPECT_EQ(font.DrawingFace(), L"Tahoma");
    LOGFONTW lf = font.LogFont(96);
    EXPECT_EQ(lf.lfHeight, -11);  // 8.25 pt at 96 dpi is exactly 11 pixels
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
}

TEST(Font, MissingAndVerticalFacesFallBackToAHorizontalFace) {
    forms::Font vertical(L"@Kozuka Gothic Pro M", 18, true);
    EXPECT_EQ(vertical.DrawingFace().front() == L'@', false);
    EXPECT_TRUE(forms::IsFontInstalled(vertical.DrawingFace()));
    EXPECT_EQ(vertical.LogFont(96).lfHeight, -24);
    EXPECT_EQ(vertical.LogFont(96).lfWeight, FW_BOLD);
}

TEST(Font, ChangesAreAnnounced) {
    forms::Font font(L"Tahoma", 8);
    int calls = 0;
    auto token = font.Subscribe([&] { ++calls; });
    font.SetBold(true);
    font.SetSize(10);
    font.Unsubscribe(token);
    font.SetItalic(true);
    EXPECT_EQ(calls, 2);
}
