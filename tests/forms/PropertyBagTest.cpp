#include "forms/PropertyBag.h"

#include <gtest/gtest.h>

using forms::PropertyBag;

TEST(PropertyBag, RoundTripsEveryKindOfValue) {
    PropertyBag bag;
    auto font = forms::Font::Create(L"Tahoma", 8.25, true);
    bag.Write(L"Caption", std::wstring(L"Cancel"), std::wstring(L""));
    bag.Write(L"ButtonStyle", std::int32_t{13}, std::int32_t{0});
    bag.Write(L"Enabled", false, true);
    bag.Write(L"Ratio", 0.25, 0.0);
    bag.Write(L"Font", font, std::shared_ptr<forms::Font>());

    EXPECT_EQ(bag.Read(L"Caption", L""), L"Cancel");
    EXPECT_EQ(bag.Read(L"ButtonStyle", 1), 13);
    EXPECT_FALSE(bag.Read(L"Enabled", true));
    EXPECT_EQ(bag.Read(L"Ratio", 0.0), 0.25);
    EXPECT_EQ(bag.Read(L"Font", std::shared_ptr<forms::Font>()), font);
}

TEST(PropertyBag, KeysIgnoreCaseAndKeepTheirOrder) {
    PropertyBag bag;
    bag.Write(L"BackColor", std::int32_t{0});
    bag.Write(L"CaptionEffects", std::int32_t{0});
    bag.Write(L"backcolor", std::int32_t{5});
    EXPECT_EQ(bag.Read(L"BACKCOLOR", -1), 5);
    EXPECT_EQ(bag.Keys(), (std::vector<std::wstring>{L"BackColor", L"CaptionEffects"}));
}

TEST(PropertyBag, ValuesEqualToTheirDefaultAreLeftOut) {
    PropertyBag bag;
    bag.Write(L"Value", std::int32_t{7}, std::int32_t{0});
    bag.Write(L"Value", std::int32_t{0}, std::int32_t{0});
    bag.Write(L"Font", forms::Font::Create(L"Tahoma", 8.25), forms::Font::Create(L"tahoma", 8.25));
    EXPECT_FALSE(bag.Contains(L"Value"));
    EXPECT_FALSE(bag.Contains(L"Font"));
    EXPECT_EQ(bag.Read(L"Value", 42), 42);
}

TEST(PropertyBag, MissingOrMistypedKeysReadAsTheDefault) {
    PropertyBag bag;
    bag.Write(L"Caption", std::wstring(L"x"));
    EXPECT_EQ(bag.Read(L"Caption", 3), 3);
    EXPECT_EQ(bag.Read(L"Nothing", L"none"), L"none");
}
