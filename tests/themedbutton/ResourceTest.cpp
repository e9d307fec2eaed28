// GDI objects and windows stay as many as they were over many repaints of
// every look and state and over many tooltip builds.
#include <windows.h>

#include <gtest/gtest.h>

#include "ThemedTestSupport.h"

using namespace themed_test;
using controls::ThemedButton;

TEST(ThemedResources, RepaintsKeepTheObjectCountsFlat) {
    HostForm& form = SharedForm();
    ThemedButton b(form, L"ThemedButton1", Bounds(10, 10, 97, 25));
    b.SetIcon(MakeIcon(0x30A030, {{3, 3, 0xC0C0C0}}));
    b.SetCaption(L"Open");
    // Every look in every state, with the icon plain and through the mask colour.
    auto set = [&](int combination) {
        const int look = combination % 4;
        b.SetStyle(combination / 4 % 11);
        b.SetUseMaskColor(look == 1);
        b.SetEnabled(look != 2);
        b.SetButtonType(look == 3 ? 1 : 0);
        b.SetValue(look == 3);
    };
    for (int combination = 0; combination < 44; ++combination) set(combination);  // what is kept is made
    const DWORD gdi = testing_support::GdiObjects();
    const DWORD user = testing_support::UserObjects();
    for (int repaint = 0; repaint < 10000; ++repaint) {
        if (repaint % 200 == 0) set(repaint / 200);
        b.Refresh();
    }
    EXPECT_EQ(testing_support::GdiObjects(), gdi);
    EXPECT_EQ(testing_support::UserObjects(), user);
}

TEST(ThemedResources, TooltipBuildsKeepTheObjectCountsFlat) {
    HostForm& form = SharedForm();
    ThemedButton b(form, L"ThemedButton1", Bounds(10, 10, 97, 25));
    b.SetToolTipText(L"Opens the site");
    b.SetTooltipTitle(L"Site");
    b.SetToolTipIcon(1);
    b.SetTooltipBackColor(0x00FFFF);
    b.SetToolTipForeColor(0x000001);
    ::SendMessageW(b.hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    ::SendMessageW(b.hWnd(), WM_MOUSELEAVE, 0, 0);
    const DWORD gdi = testing_support::GdiObjects();
    const DWORD user = testing_support::UserObjects();
    for (int i = 0; i < 1000; ++i) {
        ::SendMessageW(b.hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        ASSERT_NE(b.TooltipWindow(), nullptr);
        ::SendMessageW(b.hWnd(), WM_MOUSELEAVE, 0, 0);
    }
    EXPECT_EQ(testing_support::GdiObjects(), gdi);
    EXPECT_EQ(testing_support::UserObjects(), user);
    EXPECT_EQ(static_cast<forms::Control&>(b).ToolTipText(), L"Opens the site");
}
