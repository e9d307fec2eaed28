// The bar on the screen: its back buffer, its paint, and the drawing objects
// it leaves behind (none).
#include <gtest/gtest.h>

#include "BarTestSupport.h"
#include "forms/Dib.h"
#include "support/WindowTesting.h"

using namespace progress_test;

namespace {

Drawn OnScreen(controls::XP_ProgressBar& bar) {
    RECT client{};
    ::GetClientRect(bar.Handle(), &client);
    base::WindowDC screen(bar.Handle());
    return Drawn(screen.Get(), client.right, client.bottom);
}

TEST(BarScreen, ASetterShowsTheNewPictureAtOnce) {
    auto bar = MakeBar(481, 25);
    testing_support::PumpFor(50);
    bar->SetValue(100);  // no message is dispatched before the screen is read
    const Drawn screen = OnScreen(*bar);
    EXPECT_EQ(screen.At(240, 12), kBarColor);
    EXPECT_TRUE(screen.SameAs(Render(*bar)));
}

TEST(BarScreen, APaintRequestDrawsTheBarAgain) {
    auto bar = MakeBar(200, 25);
    bar->SetValue(50);
    const Drawn drawn = Render(*bar);
    const RECT blot{0, 0, 200, 25};
    {
        base::WindowDC screen(bar->hWnd());
        ::FillRect(screen.Get(), &blot, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    }
    ::InvalidateRect(bar->hWnd(), nullptr, FALSE);
    ::UpdateWindow(bar->hWnd());
    EXPECT_TRUE(OnScreen(*bar).SameAs(drawn));
}

TEST(BarScreen, TheBarShowsOnItsOwnWindowWhicheverWindowItIsMeasuredOn) {
    auto bar = MakeBar(200, 25);
    auto other = MakeBar(200, 25);
    ::SetWindowPos(other->Handle(), nullptr, 10, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ::UpdateWindow(bar->Handle());
    ::UpdateWindow(other->Handle());
    const Drawn before = OnScreen(*other);
    bar->SetHWnd(other->Handle());
    bar->SetValue(100);
    EXPECT_EQ(OnScreen(*bar).At(100, 12), kBarColor);
    EXPECT_TRUE(OnScreen(*other).SameAs(before));
}

TEST(BarBackBuffer, WithoutOneTheDrawingSurfaceIsTheBarsOwnDC) {
    auto bar = MakeBar(0, 25);
    ASSERT_NE(bar->hdc(), nullptr);
    EXPECT_EQ(::WindowFromDC(bar->hdc()), bar->Handle());
    ::SetWindowPos(bar->Handle(), nullptr, 0, 0, 120, 25, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_NE(::WindowFromDC(bar->hdc()), bar->Handle()) << "the back buffer, once the bar has a size";
}

TEST(BarBackBuffer, IsMadeAgainOnlyWhenTheBarGrows) {
    auto bar = MakeBar(200, 25);
    const HDC first = bar->hdc();
    ASSERT_NE(first, nullptr);
    ::SetWindowPos(bar->hWnd(), nullptr, 0, 0, 150, 20, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(bar->hdc(), first);
    // Smaller, the bar still draws all of itself at its new size.
    bar->SetValue(100);
    const Drawn small = Render(*bar);
    EXPECT_EQ(small.At(149, 10), 0x686868u);
    ::SetWindowPos(bar->hWnd(), nullptr, 0, 0, 300, 20, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(Render(*bar).At(299, 10), 0x686868u);
    EXPECT_EQ(Render(*bar).At(293, 10), kBarColor);
}

TEST(BarBackBuffer, PDrawCopiesAPartOrTheWhole) {
    auto bar = MakeBar(100, 25);
    bar->SetValue(100);
    Surface surface(120, 30);
    bar->pDraw(surface.Dc(), 40, 5, 10, 10, 0, 0);
    Drawn part = surface.Read();
    EXPECT_EQ(part.At(0, 5), kBarColor);  // (40, 10) of the bar
    EXPECT_EQ(part.At(10, 5), kWhite);    // beyond the 10 columns asked for
    bar->pDraw(surface.Dc(), 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(surface.Read().At(99, 12), 0x686868u);
}

TEST(BarResources, TenThousandDrawsLeaveNoDrawingObjects) {
    auto bar = MakeBar(481, 25);
    void* bits = nullptr;
    bar->SetImage(forms::Picture::FromBitmap(forms::CreateTopDownDib(8, 8, &bits)));
    bar->SetShowText(true);
    for (int style = 0; style <= 9; ++style) {  // every style's objects made once
        bar->SetScrolling(style);
        bar->SetOrientation(style % 2);
    }
    const DWORD before = testing_support::GdiObjects();
    for (int i = 0; i < 10000; ++i) {
        if (i % 500 == 0) {
            bar->SetScrolling(i / 500 % 10);
            bar->SetOrientation(i / 5000);
        }
        bar->SetValue(i % 101);
    }
    EXPECT_EQ(testing_support::GdiObjects(), before);
}

TEST(BarResources, AGoneBarLeavesNoDrawingObjects) {
    MakeBar(481, 25);  // the shared form's and the fonts' objects are made once
    const DWORD before = testing_support::GdiObjects();
    for (int i = 0; i < 20; ++i) {
        auto bar = MakeBar(481, 25);
        bar->SetShowText(true);
    }
    EXPECT_EQ(testing_support::GdiObjects(), before);
}

}  // namespace
