#include "app/UserSettings.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

// A key of the test's own, so that the program's remembered settings are never touched.
class UserSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { settings.Clear(); }
    void TearDown() override { settings.Clear(); }

    app::UserSettings settings{L"Software\\Snipmill Tests\\UserSettings"};
};

TEST_F(UserSettingsTest, NumbersComeBackAsWrittenAndForgottenOnClear) {
    EXPECT_FALSE(settings.Number(L"Left").has_value());
    EXPECT_EQ(settings.Number(L"Left", 40), 40);
    for (int value : {0, 1, -1, -32000, 2147483647, -2147483647 - 1}) {
        ASSERT_TRUE(settings.SetNumber(L"Left", value));
        EXPECT_EQ(settings.Number(L"Left"), value);
    }
    ASSERT_TRUE(settings.SetNumber(L"Top", 7));
    settings.Clear();
    EXPECT_FALSE(settings.Number(L"Left").has_value());
    EXPECT_FALSE(settings.Number(L"Top").has_value());
}

TEST_F(UserSettingsTest, AValueOfAnotherTypeIsNotANumber) {
    ASSERT_TRUE(settings.SetNumber(L"Width", 5));
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Snipmill Tests\\UserSettings", 0, KEY_SET_VALUE, &key),
              ERROR_SUCCESS);
    const wchar_t text[] = L"wide";
    ::RegSetValueExW(key, L"Width", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
    ::RegCloseKey(key);
    EXPECT_FALSE(settings.Number(L"Width").has_value());
}

}  // namespace
