#include "forms/Colors.h"

#include <windows.h>

#include <gtest/gtest.h>

TEST(Colors, PlainColoursPassThrough) {
    EXPECT_EQ(forms::TranslateColor(0xFFD1AD), 0xFFD1AD);
    EXPECT_EQ(forms::TranslateColor(0), 0);
    EXPECT_EQ(forms::TranslateColor(0xFFFFFF), 0xFFFFFF);
}

TEST(Colors, SystemReferencesBecomeTheSystemColour) {
    EXPECT_EQ(forms::TranslateColor(forms::SystemColor(COLOR_HIGHLIGHT)),
              static_cast<long>(::GetSysColor(COLOR_HIGHLIGHT)));
    EXPECT_EQ(forms::TranslateColor(0x8000000F), static_cast<long>(::GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(forms::TranslateColor(0x80000002), static_cast<long>(::GetSysColor(COLOR_ACTIVECAPTION)));
}

TEST(Colors, BadReferencesGiveMinusOne) {
    EXPECT_EQ(forms::TranslateColor(0x80000000u + 200), -1);
    EXPECT_EQ(forms::TranslateColor(0xFFFFFFFFu), -1);
    EXPECT_EQ(forms::TranslateColor(0x01000000u), -1);
}
