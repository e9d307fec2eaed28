#include "forms/AccessKey.h"

#include <gtest/gtest.h>

TEST(AccessKey, FromTheCaption) {
    EXPECT_EQ(forms::AccessKeyOf(L"&Save"), L's');
    EXPECT_EQ(forms::AccessKeyOf(L"Save && &Exit"), L'e');
    EXPECT_EQ(forms::AccessKeyOf(L"A&&B"), std::nullopt);
    EXPECT_EQ(forms::AccessKeyOf(L"Plain"), std::nullopt);
    EXPECT_EQ(forms::AccessKeyOf(L"End&"), std::nullopt);
    EXPECT_EQ(forms::AccessKeyOf(L"&"), std::nullopt);
    EXPECT_EQ(forms::AccessKeyOf(L"&&&x"), L'x');
    EXPECT_EQ(forms::AccessKeyOf(L"a && b &&c"), std::nullopt);
    EXPECT_EQ(forms::AccessKeyOf(L"Caf&\u00C9"), L'\u00E9');
}
