#include <gtest/gtest.h>

#include <new>
#include <system_error>

#include "base/MessageLoop.h"
#include "forms/Form.h"
#include "forms/TextBox.h"
#include "forms/Timer.h"
#include "forms/Units.h"
#include "forms/Windowless.h"
#include "support/DialogWatcher.h"
#include "support/WindowTesting.h"

namespace {

class HostForm : public forms::Form {
public:
    HostForm() { CreateForm(L"Snipmill.Test.Host", L"Host", 300, 200, WS_OVERLAPPEDWINDOW, 0); }
};

// A window whose commands fail as they do when the system has no memory or thread to give.
class FailingForm : public forms::Form {
public:
    FailingForm() { CreateForm(L"Snipmill.Test.Failing", L"Failing", 300, 200, WS_OVERLAPPEDWINDOW, 0); }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_APP) throw std::bad_alloc();
        if (message == WM_APP + 1) throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
        return Form::HandleMessage(message, wParam, lParam);
    }
};

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

}  // namespace

TEST(Hosting, LabelsAreClickedWhereTheyStand) {
    HostForm form;
    forms::Label label(form, L"Label1", RECT{10, 10, 110, 30}, L"Click me", forms::Font::Create(L"Tahoma", 8.25),
                       0x000000);
    int clicks = 0;
    label.Click.Subscribe([&] { ++clicks; });
    ::SendMessageW(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(20, 20));
    ::SendMessageW(form.Handle(), WM_LBUTTONUP, 0, At(25, 22));
    EXPECT_EQ(clicks, 1);
    // Pressed on the label but released elsewhere: no click, as with any button.
    ::SendMessageW(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(20, 20));
    ::SendMessageW(form.Handle(), WM_LBUTTONUP, 0, At(200, 150));
    ::SendMessageW(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(200, 150));
    ::SendMessageW(form.Handle(), WM_LBUTTONUP, 0, At(20, 20));
    EXPECT_EQ(clicks, 1);
}

TEST(Hosting, TransparentLabelsShowWhatLiesBehind) {
    HostForm form;
    forms::Frame back(form, L"Shape1", RECT{0, 0, 300, 200}, 0x0000FF);
    forms::Label label(form, L"Label1", RECT{10, 10, 200, 40}, L"W", forms::Font::Create(L"Tahoma", 18), 0xFF0000);
    auto pixels = testing_support::PrintClient(form.Handle());
    const std::uint32_t face = ::GetSysColor(COLOR_BTNFACE);
    const std::uint32_t faceRgb = ((face & 0xFF) << 16) | (face & 0xFF00) | ((face >> 16) & 0xFF);
    EXPECT_EQ(pixels.At(0, 0), 0xFF0000u);   // the frame, drawn in red (0x0000FF is BGR)
    EXPECT_EQ(pixels.At(150, 35), faceRgb);  // inside the label, away from the text: the form's colour
    int blue = 0;
    for (int y = 10; y < 40; ++y)
        for (int x = 10; x < 40; ++x) blue += pixels.At(x, y) == 0x0000FFu;
    EXPECT_GT(blue, 20);  // the letter in the label's colour
}

TEST(Hosting, TimerTicksArriveAsMessages) {
    forms::Timer timer(20, false);
    int ticks = 0;
    timer.Tick.Subscribe([&] { ++ticks; });
    testing_support::PumpFor(80);
    EXPECT_EQ(ticks, 0);
    timer.SetEnabled(true);
    EXPECT_TRUE(testing_support::PumpUntil([&] { return ticks >= 2; }, 2000));
    timer.SetEnabled(false);
    const int stopped = ticks;
    testing_support::PumpFor(80);
    EXPECT_EQ(ticks, stopped);
}

TEST(Hosting, DoEventsRunsWaitingMessagesAndKeepsQuit) {
    HostForm form;
    forms::Label label(form, L"Label1", RECT{0, 0, 10, 10}, L"", forms::Font::Create(L"Tahoma", 8), 0);
    int clicks = 0;
    label.Click.Subscribe([&] { ++clicks; });
    ::PostMessageW(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    ::PostMessageW(form.Handle(), WM_LBUTTONUP, 0, At(5, 5));
    ::PostQuitMessage(3);
    base::DoEvents();
    EXPECT_EQ(clicks, 1);
    MSG msg{};
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST(Hosting, TextBoxesHoldAndAppendText) {
    HostForm form;
    forms::TextBox box(form.Handle(), RECT{0, 0, 100, 20}, L"Text2", false, true);
    EXPECT_EQ(box.Text(), L"Text2");
    box.SetText(L"");
    box.Append(L"a\r\n");
    box.Append(L"b");
    EXPECT_EQ(box.Text(), L"a\r\nb");
    EXPECT_FALSE(::GetWindowLongW(box.Handle(), GWL_STYLE) & WS_VISIBLE);  // hidden, also once its window shows
}

TEST(Units, TwipsAndPixels) {
    EXPECT_EQ(forms::PixelsToTwips(97, 96), 1455);
    EXPECT_EQ(forms::TwipsToPixels(1455, 96), 97);
    EXPECT_EQ(forms::TwipsToPixels(220, 96), 220.0 * 96 / 1440);
}

TEST(Hosting, AHandlerThatFailsEndsItsCommandWithAMessageNotTheProgram) {
    testing_support::DialogWatcher watcher;
    FailingForm form;
    ::SendMessageW(form.Handle(), WM_APP, 0, 0);
    ::SendMessageW(form.Handle(), WM_APP + 1, 0, 0);
    const auto seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text, L"There is not enough memory to finish this command.");
    EXPECT_EQ(seen[0].owner, form.Handle());
    EXPECT_EQ(seen[0].icon, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(seen[1].text.rfind(L"This command could not be finished (", 0), 0u) << std::string(seen[1].text.begin(), seen[1].text.end());
    EXPECT_TRUE(::IsWindow(form.Handle()));
}

