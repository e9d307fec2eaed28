// What the bar stores and converts, what each setter triggers, and what it
// saves and restores through the host's property store.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <stdexcept>

#include "BarTestSupport.h"
#include "forms/Dib.h"

using namespace progress_test;

namespace {

struct Conversion {
    int max, min, value;
    int percent;   // stored by the setter (after its own redraw)
    int readBack;  // what Value then returns
};

const Conversion kConversions[] = {
    {200, 0, 50, 25, 50},                           // a quarter of 200
    {100, 0, -20, -20, -20},                        // a negative value stays negative
    {100, 0, 250, 100, 100},                        // above Max: the redraw lowers the fill to 100
    {8, 0, 1, 12, 1},                               // 12.5 % rounds to the even 12
    {8, 0, 3, 38, 3},                               // 37.5 % rounds to the even 38
    {3, 0, 1, 33, 1},        {100, 10, 20, 30, 3},  // with a minimum: + min when set, / min when read
};

class ValueConversion : public ::testing::TestWithParam<Conversion> {};

TEST_P(ValueConversion, KeepsTheValueAsAFillPercentage) {
    const Conversion& c = GetParam();
    auto bar = MakeBar(120, 25);
    bar->SetMax(c.max);
    bar->SetMin(c.min);
    bar->SetValue(c.value);
    EXPECT_EQ(bar->Percent(), c.percent);
    EXPECT_EQ(bar->Value(), c.readBack);
}

INSTANTIATE_TEST_SUITE_P(Bar, ValueConversion, ::testing::ValuesIn(kConversions));

struct Refusal {
    const char* name;
    int min, max;  // a zero maximum fails as a division by zero, the others as an overflow
    int value;
};

const Refusal kRefusals[] = {
    {"value x 100 beyond 32 bits", 0, 100, INT_MAX / 100 + 1},
    {"value x 100 below 32 bits", 0, 100, INT_MIN / 100 - 1},
    {"percentage beyond 32 bits", INT_MAX / 2, 1, INT_MAX / 100},
    {"zero maximum", 0, 0, 5},
};

TEST(BarValue, AnOverflowOrAZeroMaxFailsTheSetterAndChangesNothing) {
    for (const Refusal& r : kRefusals) {
        SCOPED_TRACE(r.name);
        auto bar = MakeBar(120, 25);
        bar->SetValue(40);
        bar->SetMin(r.min);
        bar->SetMax(r.max);
        const Drawn before = Render(*bar);
        if (r.max == 0)
            EXPECT_THROW(bar->SetValue(r.value), std::domain_error);
        else
            EXPECT_THROW(bar->SetValue(r.value), std::overflow_error);
        EXPECT_EQ(bar->Percent(), 40);
        EXPECT_TRUE(Render(*bar).SameAs(before));
    }
}

TEST(BarColor, ASystemColourReadsBackResolved) {
    auto bar = MakeBar(120, 25);
    bar->SetColor(0x8000000D);
    EXPECT_EQ(bar->Color(), ::GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_NE(bar->Color(), 0x8000000Du);
    bar->SetColor(0x123456);
    EXPECT_EQ(bar->Color(), 0x123456u);
}

TEST(BarColor, ANewBarTakesTheHighlightColour) {
    controls::XP_ProgressBar bar(SharedHost(), L"pb", RECT{10, 10, 130, 35});
    EXPECT_EQ(bar.Color(), ::GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(bar.Max(), 100);
    EXPECT_EQ(bar.Min(), 0);
    EXPECT_EQ(bar.Value(), 0);
    EXPECT_EQ(bar.Scrolling(), 0);
    EXPECT_EQ(bar.Orientation(), 0);
    EXPECT_FALSE(bar.ShowText());
    EXPECT_EQ(bar.Image(), nullptr);
    ASSERT_NE(bar.Font(), nullptr);
    EXPECT_EQ(bar.Font()->Name(), L"MS Sans Serif");
    EXPECT_NE(bar.hdc(), nullptr);
}

struct SetterEffect {
    const char* name;
    std::function<void(controls::XP_ProgressBar&)> set;
    bool redraws;
    const wchar_t* marks;  // the property the host is told about, or nullptr
};

const SetterEffect kSetters[] = {
    {"BrushStyle", [](auto& b) { b.SetBrushStyle(2); }, false, L"BrushStyle"},
    {"Color", [](auto& b) { b.SetColor(0x00FF00); }, true, L"Color"},
    {"Font", [](auto& b) { b.SetFont(forms::Font::Create(L"Tahoma", 12)); }, false, nullptr},
    {"Image", [](auto& b) { b.SetImage(nullptr); }, true, L"Image"},
    {"Min", [](auto& b) { b.SetMin(5); }, false, L"Min"},
    {"Max", [](auto& b) { b.SetMax(500); }, false, L"Max"},
    {"Orientation", [](auto& b) { b.SetOrientation(0); }, true, L"Orientation"},
    {"Scrolling", [](auto& b) { b.SetScrolling(0); }, true, L"Scrolling"},
    {"ShowText", [](auto& b) { b.SetShowText(false); }, true, L"ShowText"},
    {"Value", [](auto& b) { b.SetValue(30); }, true, nullptr},
};

TEST(BarSetters, RedrawAndMarkAsTheirPropertyRequires) {
    for (const SetterEffect& s : kSetters) {
        SCOPED_TRACE(s.name);
        auto bar = MakeBar(120, 25);
        bar->SetValue(30);
        SharedHost().changes.clear();
        // A mark on the back buffer survives only if nothing redraws.
        ::SetPixelV(bar->hdc(), 60, 12, 0x0000FF);
        s.set(*bar);
        EXPECT_EQ(Drawn(bar->hdc(), 120, 25).At(60, 12) != 0x0000FF, s.redraws);
        if (s.marks)
            EXPECT_EQ(SharedHost().changes, std::vector<std::wstring>{s.marks});
        else
            EXPECT_TRUE(SharedHost().changes.empty());
    }
}

TEST(BarSetters, MinAndMaxChangeNothingUntilTheNextDraw) {
    auto bar = MakeBar(120, 25);
    bar->SetValue(50);
    const Drawn before = Render(*bar);
    bar->SetMax(200);
    EXPECT_EQ(bar->Percent(), 50);
    EXPECT_EQ(bar->Value(), 100);  // the same fill, read against the new maximum
    EXPECT_TRUE(Render(*bar).SameAs(before));
}

// ---- The property store

std::vector<std::wstring> KeysOf(const forms::PropertyBag& bag) { return bag.Keys(); }

TEST(BarStore, ANewBarWritesItsFontAndItsColourResolved) {
    controls::XP_ProgressBar bar(SharedHost(), L"pb", RECT{10, 10, 130, 35});
    forms::PropertyBag bag;
    bar.WriteProperties(bag);
    EXPECT_EQ(KeysOf(bag), (std::vector<std::wstring>{L"Font", L"BrushStyle", L"Color"}));
    EXPECT_EQ(bag.Read(L"BrushStyle", -1), 0);  // never restored: the new bar's own 0
    EXPECT_EQ(static_cast<COLORREF>(bag.Read(L"Color", 0)), ::GetSysColor(COLOR_HIGHLIGHT));
}

TEST(BarStore, AnEmptyStoreGivesTheDefaults) {
    forms::PropertyBag empty;
    auto bar = MakeBar(120, 25, empty);
    EXPECT_EQ(bar->Font(), nullptr);
    EXPECT_EQ(bar->Color(), ::GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(bar->Max(), 100);
    EXPECT_EQ(bar->Value(), 0);
    forms::PropertyBag written;
    bar->WriteProperties(written);
    // The hatch style restored as 4 is the default and is left out; the colour is always written.
    EXPECT_EQ(KeysOf(written), std::vector<std::wstring>{L"Color"});
}

TEST(BarStore, EveryPropertySurvivesARoundTripInTheStoreOrder) {
    auto bar = MakeBar(120, 25);
    auto font = forms::Font::Create(L"Tahoma", 10, true);
    void* bits = nullptr;
    auto image = forms::Picture::FromBitmap(forms::CreateTopDownDib(8, 8, &bits));
    bar->SetFont(font);
    bar->SetBrushStyle(HS_DIAGCROSS);
    bar->SetImage(image);
    bar->SetMax(200);
    bar->SetMin(0);
    bar->SetOrientation(1);
    bar->SetScrolling(5);
    bar->SetShowText(true);
    bar->SetValue(150);
    forms::PropertyBag bag;
    bar->WriteProperties(bag);
    EXPECT_EQ(KeysOf(bag), (std::vector<std::wstring>{L"Font", L"BrushStyle", L"Color", L"Image", L"Max",
                                                      L"Orientation", L"Scrolling", L"ShowText", L"Value"}));
    EXPECT_EQ(bag.Read(L"Value", 0), 150);  // as read, not as the fill percentage
    EXPECT_EQ(bag.Read(L"Color", 0), static_cast<int>(kBarColor));

    auto restored = MakeBar(120, 25, bag);
    EXPECT_EQ(restored->Font(), font);
    EXPECT_EQ(restored->Image(), image);
    EXPECT_EQ(restored->Color(), kBarColor);
    EXPECT_EQ(restored->Max(), 200);
    EXPECT_EQ(restored->Orientation(), 1);
    EXPECT_EQ(restored->Scrolling(), 5);
    EXPECT_TRUE(restored->ShowText());
    EXPECT_EQ(restored->Value(), 150);
    EXPECT_EQ(restored->Percent(), 75);
    forms::PropertyBag again;
    restored->WriteProperties(again);
    EXPECT_EQ(KeysOf(again), KeysOf(bag));
    EXPECT_EQ(again.Read(L"BrushStyle", 0), HS_DIAGCROSS);
}

TEST(BarStore, AStoredValueItsStoredMaxCannotConvertLeavesTheBarEmpty) {
    forms::PropertyBag bag;
    bag.Write(L"Max", std::int32_t{0});
    bag.Write(L"Value", std::int32_t{50});
    std::unique_ptr<controls::XP_ProgressBar> bar;
    EXPECT_NO_THROW(bar = MakeBar(120, 25, bag));
    EXPECT_EQ(bar->Percent(), 0);
}

TEST(BarStore, ReadingTheStoreMarksThePropertiesItSetsThroughTheirSetters) {
    forms::PropertyBag bag;
    SharedHost().changes.clear();
    controls::XP_ProgressBar bar(SharedHost(), L"pb", RECT{10, 10, 130, 35}, bag);
    EXPECT_EQ(SharedHost().changes,
              (std::vector<std::wstring>{L"Color", L"Max", L"Min", L"Orientation", L"Scrolling", L"ShowText"}));
}

}  // namespace
