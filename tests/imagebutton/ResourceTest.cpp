// Every GDI object, DC, region and tooltip the button makes is given back:
// the process's counts stay where they were over many redraws and hovers.
#include <gtest/gtest.h>

#include "ButtonStates.h"
#include "ButtonTestSupport.h"
#include "controls/imagebutton/ButtonProperties.h"

using namespace imagebutton_test;
using controls::zembutton;

namespace {

std::shared_ptr<forms::Picture> Picture(int bits) { return MakeBitmap(0x808080, {}, bits, 128, 16); }
}  // namespace

TEST(Resources, GdiObjectsStayFlatOverTenThousandRedrawsOfEveryStyleAndState) {
    TestForm& form = SharedForm();
    std::vector<std::unique_ptr<zembutton>> buttons;
    const auto pictures = std::array{Picture(24), Picture(32)};
    for (int style = 0; style < controls::imagebutton::Styles::kCount; ++style) {
        for (const ButtonState& state : AllStates()) {
            MoveMouseAway();
            auto b = std::make_unique<zembutton>(form, L"zembutton1", Bounds(10, 10, 97, 25));
            b->SetButtonStyle(style);
            b->SetCaption(L"Save && &Exit");
            b->SetCaptionEffects(style % 6);
            b->SetDropDownSymbol(style % 2 ? 6 : 0);
            b->SetDropDownSeparator(style % 3 == 0);
            b->SetPictureNormal(pictures[static_cast<std::size_t>(style % 2)]);
            b->SetPictureShadow(style % 4 == 1);
            state.apply(form, *b);
            if (::GetCapture()) ::ReleaseCapture();
            buttons.push_back(std::move(b));
        }
    }
    MoveMouseAway();
    for (auto& b : buttons) b->Redraw();
    const DWORD gdiBefore = testing_support::GdiObjects();
    const DWORD userBefore = testing_support::UserObjects();
    for (int i = 0; i < 10000; ++i) buttons[static_cast<std::size_t>(i) % buttons.size()]->Redraw();
    EXPECT_EQ(testing_support::GdiObjects(), gdiBefore);
    EXPECT_EQ(testing_support::UserObjects(), userBefore);
}

TEST(Resources, HoversPressesAndRestylesLeaveNothingBehind) {
    TestForm& form = SharedForm();
    MoveMouseAway();
    zembutton b(form, L"zembutton1", Bounds(10, 10, 97, 25));
    b.SetToolTip(L"Tip");
    b.SetTooltipTitle(L"Title");
    auto cycle = [&](int i) {
        b.SetButtonStyle(i % controls::imagebutton::Styles::kCount);
        MoveMouse(b, 300, 12);
        MoveMouse(b, 40, 12);
        Press(b, 40, 12);
        Release(b, 40, 12);
        b.SetEnabled(i % 2 == 0);
    };
    for (int i = 0; i < 28; ++i) cycle(i);  // every style once, lazily made things made
    const DWORD gdiBefore = testing_support::GdiObjects();
    const DWORD userBefore = testing_support::UserObjects();
    for (int i = 0; i < 280; ++i) cycle(i);
    EXPECT_EQ(testing_support::GdiObjects(), gdiBefore);
    EXPECT_EQ(testing_support::UserObjects(), userBefore);
    MoveMouseAway();
}

TEST(Resources, ButtonsGiveEverythingBackWhenDestroyed) {
    TestForm& form = SharedForm();
    auto make = [&] {
        auto b = std::make_unique<zembutton>(form, L"zembutton1", Bounds(10, 10, 97, 25));
        b->SetButtonStyle(8);
        b->SetPictureNormal(Picture(24));
        MoveMouse(*b, 40, 12);
        return b;
    };
    make().reset();
    MoveMouseAway();
    const DWORD gdiBefore = testing_support::GdiObjects();
    const DWORD userBefore = testing_support::UserObjects();
    for (int i = 0; i < 50; ++i) make().reset();
    MoveMouseAway();
    EXPECT_EQ(testing_support::GdiObjects(), gdiBefore);
    EXPECT_EQ(testing_support::UserObjects(), userBefore);
}
