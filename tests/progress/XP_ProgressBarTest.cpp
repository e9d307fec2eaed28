#include "controls/progress/XP_ProgressBar.h"

#include <gtest/gtest.h>

#include "app/frmDOSOutput.h"
#include "support/WindowTesting.h"

namespace {

// The bar as the output window hosts it.
class ProgressBar : public ::testing::Test {
protected:
    void SetUp() override { window.Show(); }
    app::frmDOSOutput window;
    controls::XP_ProgressBar& bar = window.pb();
};

TEST_F(ProgressBar, KeepsTheValueAsAPercentageOfMax) {
    bar.SetMax(200);
    bar.SetValue(50);
    EXPECT_EQ(bar.Percent(), 25);
    EXPECT_EQ(bar.Value(), 50);
}

TEST_F(ProgressBar, AValueAboveMaxFillsTheBar) {
    bar.SetValue(250);
    EXPECT_EQ(bar.Percent(), 100);
    EXPECT_EQ(bar.Value(), 100);
}

TEST_F(ProgressBar, AZeroMaxLeavesTheFillAsItWas) {
    bar.SetValue(40);
    bar.SetMax(0);
    bar.SetValue(70);
    EXPECT_EQ(bar.Percent(), 40);
}

TEST_F(ProgressBar, ASystemColourIsKeptResolved) {
    bar.SetColor(forms::SystemColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(bar.Color(), ::GetSysColor(COLOR_HIGHLIGHT));
}

TEST_F(ProgressBar, DrawsTheFillInItsColourAtOnce) {
    testing_support::PumpFor(100);
    const int middle = 240, row = 12;
    bar.SetValue(0);
    EXPECT_EQ(testing_support::CaptureClient(bar.hWnd()).At(middle, row), 0xFFFFFFu);
    bar.SetValue(100);
    // No message is dispatched in between: the setter drew the bar itself.
    testing_support::Pixels full = testing_support::CaptureClient(bar.hWnd());
    const std::uint32_t blue = (51u << 16) | (94u << 8) | 168u;  // the output window's bar colour, as RGB
    int filled = 0;
    for (int x = middle; x < middle + 8; ++x) filled += full.At(x, row) == blue;
    EXPECT_EQ(filled, 6);  // six-pixel blocks with two-pixel gaps
}

}  // namespace
