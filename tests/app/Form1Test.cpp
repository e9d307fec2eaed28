#include "app/Form1.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include "base/Handles.h"
#include "support/WindowTesting.h"

using testing_support::PumpFor;
using testing_support::PumpUntil;

namespace {

bool SameColour(std::uint32_t rgb, long colorref) {
    return rgb ==
           ((static_cast<std::uint32_t>(colorref & 0xFF) << 16) | (colorref & 0xFF00) | ((colorref >> 16) & 0xFF));
}

}  // namespace

TEST(Form1, AfterLoadOnlyTheFirstStepsAreOpen) {
    app::Form1 form;
    for (int number : {1, 8, 9, 10, 11}) EXPECT_TRUE(form.zembutton(number).Enabled()) << number;
    for (int number : {2, 3, 4, 5, 6, 7}) {
        EXPECT_FALSE(form.zembutton(number).Enabled()) << number;
        EXPECT_FALSE(::IsWindowEnabled(form.zembutton(number).hWnd())) << number;
    }
    EXPECT_TRUE(::IsWindowEnabled(form.Slider1().Handle()));
    EXPECT_EQ(::GetMenuState(::GetSystemMenu(form.Handle(), FALSE), SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
    EXPECT_TRUE(form.Timer1().Enabled());
    EXPECT_TRUE(form.Timer2().Enabled());
    EXPECT_FALSE(form.Timer3().Enabled());
    for (auto* timer : {&form.Timer1(), &form.Timer2(), &form.Timer3()}) EXPECT_EQ(timer->Interval(), 100u);
}

TEST(Form1, ControlsStandWhereTheyBelong) {
    app::Form1 form;
    RECT client{};
    ::GetClientRect(form.Handle(), &client);
    EXPECT_EQ(client.right, 494);
    EXPECT_EQ(client.bottom, 517);
    wchar_t caption[64]{};
    ::GetWindowTextW(form.Handle(), caption, 64);
    EXPECT_STREQ(caption, L"Tavrin Snipmill");

    auto placeOf = [&](HWND child) {
        RECT r{};
        ::GetWindowRect(child, &r);
        ::MapWindowPoints(nullptr, form.Handle(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    RECT save = placeOf(form.zembutton(5).hWnd());
    EXPECT_EQ(save.left, 248);
    EXPECT_EQ(save.top, 264);
    EXPECT_EQ(save.right - save.left, 97);
    EXPECT_EQ(save.bottom - save.top, 25);
    EXPECT_EQ(form.zembutton(5).Caption(), L"Save Selection");
    EXPECT_EQ(form.zembutton(11).Caption(), L"Check for updates");
    EXPECT_EQ(form.zembutton(5).ButtonStyle(), 8);
    EXPECT_EQ(form.zembutton(5).BackColor(), 0xFFD1ADu);
    RECT slider = placeOf(form.Slider1().Handle());
    EXPECT_EQ(slider.left, 41);
    EXPECT_EQ(slider.top, 186);
    EXPECT_EQ(slider.right - slider.left, 407);
    EXPECT_EQ(slider.bottom - slider.top, 30);

    EXPECT_EQ(form.Label(3).Caption(), L"Current Position");
    EXPECT_EQ(form.Label(11).Caption(), L"Click here to download free software.");
    EXPECT_TRUE(form.Label(11).GetFont()->Underline());
    EXPECT_EQ(form.Label(1).GetFont()->Size(), 18);
    EXPECT_EQ(form.Label(1).GetFont()->Name(), L"@Kozuka Gothic Pro M");
    HCURSOR hand = ::LoadCursorW(nullptr, IDC_HAND);
    for (int link : {1, 10, 11}) EXPECT_EQ(form.Label(link).Cursor(), hand);
    for (int link : {9, 10, 11}) EXPECT_EQ(form.zembutton(link).MouseIcon(), hand);
    EXPECT_FALSE(::GetWindowLongW(form.Text1().Handle(), GWL_STYLE) &
                 WS_VISIBLE);  // hidden, also once its window shows
}

TEST(Form1, PositionReadOutShowsZeroWithinOneTick) {
    app::Form1 form;
    form.Show();
    EXPECT_EQ(form.Label(2).Caption(), L"00:00");
    EXPECT_TRUE(PumpUntil([&] { return form.Label(2).Caption() == L"0"; }, 1000));
    for (int number : {5, 7, 9}) EXPECT_EQ(form.Label(number).Caption(), L"00:00");
}

TEST(Form1, NewSelectionClearsTheMarks) {
    app::Form1 form;
    form.Label(5).SetCaption(L"1.5");
    form.Label(7).SetCaption(L"4");
    form.Label(9).SetCaption(L"2.5");
    form.Slider1().SetSelStart(1);
    form.Slider1().SetSelLength(3);
    form.clearsel();
    for (int number : {5, 7, 9}) EXPECT_EQ(form.Label(number).Caption(), L"00:00");
    EXPECT_FALSE(form.Slider1().HasSelection());
    EXPECT_EQ(::SendMessageW(form.Slider1().Handle(), TBM_GETSELEND, 0, 0), 0);
}

TEST(Form1, ClosingTheWindowIsRefused) {
    app::Form1 form;
    form.Show();
    ::SendMessageW(form.Handle(), WM_CLOSE, 0, 0);
    ::SendMessageW(form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpFor(50);
    EXPECT_TRUE(::IsWindow(form.Handle()));
}

TEST(Form1, LooksRightOnScreen) {
    app::Form1 form;
    form.Show();
    ::SetWindowPos(form.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
    PumpUntil([&] { return form.Label(2).Caption() == L"0"; }, 1000);
    PumpFor(100);
    auto pixels = testing_support::CaptureClient(form.Handle());
    ASSERT_EQ(pixels.width, 494);
    ASSERT_TRUE(testing_support::WritePng(testing_support::ArtifactPath(L"Form1.png"), pixels));

    // Captions are drawn in the active-caption colour over the light background.
    const long captionColour = ::GetSysColor(COLOR_ACTIVECAPTION);
    int captionPixels = 0;
    for (int y = 368; y < 385; ++y)
        for (int x = 64; x < 153; ++x) captionPixels += SameColour(pixels.At(x, y), captionColour);
    EXPECT_GT(captionPixels, 40);
    // The frame around the buttons is a one-pixel outline.
    EXPECT_TRUE(SameColour(pixels.At(100, 256), ::GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_FALSE(SameColour(pixels.At(100, 257), ::GetSysColor(COLOR_BTNSHADOW)));
}

namespace {

// How many pixels of a rectangle differ between two pictures of the window.
int Differences(const testing_support::Pixels& a, const testing_support::Pixels& b, const RECT& area) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) count += a.At(x, y) != b.At(x, y);
    return count;
}

}  // namespace

TEST(Form1, LongReadOutsStayInsideTheirLabels) {
    app::Form1 form;
    form.Timer1().SetEnabled(false);  // the position read-out keeps what the test writes
    form.Show();
    ::SetWindowPos(form.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
    auto showing = [&](const wchar_t* value) {
        for (int label : {2, 5, 7, 9}) form.Label(label).SetCaption(value);
        PumpFor(100);
        return testing_support::CaptureClient(form.Handle());
    };
    const auto shortValues = showing(L"0");
    const auto longValues = showing(L"4.92528344671201");
    ASSERT_TRUE(testing_support::WritePng(testing_support::ArtifactPath(L"Form1-long-read-outs.png"), longValues));

    for (int caption : {3, 4, 6, 8})
        EXPECT_EQ(Differences(shortValues, longValues, form.Label(caption).Bounds()), 0) << "Label" << caption;
    for (int value : {2, 5, 7, 9}) {
        const RECT& bounds = form.Label(value).Bounds();
        EXPECT_GT(Differences(shortValues, longValues, bounds), 0) << "Label" << value;
        const RECT beyond{bounds.right, bounds.top, bounds.right + 16, bounds.bottom};
        EXPECT_EQ(Differences(shortValues, longValues, beyond), 0) << "Label" << value;
    }
}

TEST(Form1, CaptionsAndLinksShowWholeInTheStandInFace) {
    app::Form1 form;
    form.Label(11).SetCaption(L"Loaded " + std::wstring(80, L'x') + L".mp3");  // a name may run to the edge
    base::WindowDC screen(nullptr);
    auto textSize = [&](const forms::Label& label) {
        base::FontHandle font = label.GetFont()->CreateHandle(96);
        base::SelectedObject selected(screen.Get(), font.Get());
        SIZE text{};
        ::GetTextExtentPoint32W(screen.Get(), label.Caption().c_str(), static_cast<int>(label.Caption().size()), &text);
        return text;
    };
    for (int number : {1, 3, 4, 6, 8, 10, 11}) {
        const RECT& bounds = form.Label(number).Bounds();
        const SIZE text = textSize(form.Label(number));
        EXPECT_GE(bounds.right - bounds.left, text.cx) << "Label" << number;
        EXPECT_GE(bounds.bottom - bounds.top, text.cy) << "Label" << number;
    }
    // No caption reaches the value beside it, and the value labels keep their size.
    for (auto [caption, value] : {std::pair{3, 2}, {4, 5}, {6, 7}, {8, 9}})
        EXPECT_LT(form.Label(caption).Bounds().right, form.Label(value).Bounds().left) << "Label" << caption;
    for (int value : {2, 5, 7, 9}) EXPECT_EQ(form.Label(value).Bounds().right - form.Label(value).Bounds().left, 97);
}

TEST(Form1, LeavesNoObjectsBehind) {
    {
        app::Form1 warmUp;
        PumpFor(20);
    }
    const DWORD gdi = testing_support::GdiObjects();
    const DWORD user = testing_support::UserObjects();
    for (int i = 0; i < 3; ++i) {
        app::Form1 form;
        form.Show();
        PumpFor(50);
    }
    EXPECT_EQ(testing_support::GdiObjects(), gdi);
    EXPECT_EQ(testing_support::UserObjects(), user);
}
