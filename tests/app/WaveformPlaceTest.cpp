// Where the waveform window opens: beside or below the main window, over none of
// its buttons, or where the user last left it while that is on a monitor.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "app/Form1.h"
#include "app/RememberedPlace.h"
#include "support/DialogWatcher.h"
#include "support/WindowTesting.h"

using testing_support::FixturePath;
using testing_support::PumpUntil;

namespace {

const wchar_t* const kKey = L"Software\\Snipmill Tests\\WaveformPlace";

bool Overlap(const RECT& a, const RECT& b) {
    RECT common{};
    return ::IntersectRect(&common, &a, &b) != FALSE;
}

RECT WindowArea(HWND window) {
    RECT area{};
    ::GetWindowRect(window, &area);
    return area;
}

RECT WorkArea() {
    RECT area{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

class WaveformPlace : public ::testing::Test {
protected:
    void SetUp() override { app::UserSettings(kKey).Clear(); }
    void TearDown() override { app::UserSettings(kKey).Clear(); }

    // A main window of its own settings put at `at` with a file open, then its waveform window; its frame.
    RECT Open(app::Form1& form, POINT at) {
        form.Show();
        ::SetWindowPos(form.Handle(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        form.OpenMp3(FixturePath(L"waveform\\tones.mp3"));
        EXPECT_TRUE(PumpUntil([&] { return form.player().PlayState() == app::MediaPlayer::kPlaying; }, 10000));
        form.player().Pause();
        form.ShowWaveform();
        return WindowArea(form.Waveform()->Handle());
    }

    testing_support::DialogWatcher watcher;
};

}  // namespace

TEST_F(WaveformPlace, OpensBesideOrBelowTheMainWindowElseOverNoneOfItsControls) {
    const RECT work = WorkArea();
    RECT frame{0, 0, app::WaveformWindow::kClientWidth, app::WaveformWindow::kClientHeight};
    ::AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW | WS_HSCROLL, TRUE, 0);
    const LONG waveformHeight = frame.bottom - frame.top;
    // Where the main window's top stands: at the work area's top or bottom, or a little
    // too low for the waveform window to fit above it (nor below, nor beside it), so
    // that it fits only over the picture above the first controls.
    enum class Top { First, Last, NoRoomAbove };
    struct Case {
        const char* name;
        double across;  // where the main window stands, as a part of the room the screen leaves it
        Top top;
        bool clearOfTheMainWindow;
    } cases[] = {
        {"top left: below", 0, Top::First, true},
        {"bottom right: above", 1, Top::Last, true},
        {"in the middle: over the picture", 0.5, Top::NoRoomAbove, false},
        {"top right: below", 1, Top::First, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        app::Form1 form{app::UserSettings(kKey)};
        const RECT main = WindowArea(form.Handle());
        const LONG tops[] = {work.top, work.bottom - (main.bottom - main.top), work.top + waveformHeight - 30};
        const POINT at{work.left + static_cast<LONG>(c.across * (work.right - work.left - (main.right - main.left))),
                       tops[static_cast<int>(c.top)]};
        const RECT waveform = Open(form, at);
        const RECT placedMain = WindowArea(form.Handle());
        RECT inside{};
        ::IntersectRect(&inside, &waveform, &work);
        EXPECT_TRUE(::EqualRect(&inside, &waveform)) << "wholly on the work area";
        EXPECT_EQ(Overlap(waveform, placedMain), !c.clearOfTheMainWindow);
        // The buttons, the slider, the read-outs and the links.
        std::vector<RECT> controls = {WindowArea(form.Slider1().Handle())};
        for (int number = 1; number <= 11; ++number) {
            if (::IsWindowVisible(form.zembutton(number).hWnd()))
                controls.push_back(WindowArea(form.zembutton(number).hWnd()));
            RECT label = form.Label(number).Bounds();
            ::MapWindowPoints(form.Handle(), nullptr, reinterpret_cast<POINT*>(&label), 2);
            if (!form.Label(number).Caption().empty()) controls.push_back(label);
        }
        for (const RECT& control : controls) EXPECT_FALSE(Overlap(waveform, control));
    }
}

TEST_F(WaveformPlace, OpensWhereTheUserLastLeftItWhileThatIsOnAMonitor) {
    const RECT left{130, 170, 830, 470};
    {
        app::Form1 form{app::UserSettings(kKey)};
        Open(form, {0, 0});
        const HWND window = form.Waveform()->Handle();
        ::SetWindowPos(window, nullptr, left.left, left.top, left.right - left.left, left.bottom - left.top,
                       SWP_NOZORDER);
        ::SendMessageW(window, WM_EXITSIZEMOVE, 0, 0);  // as the system ends the user's move
    }
    const RECT work = WorkArea();
    struct Case {
        const char* name;
        RECT kept;  // written by the window itself for the first
        bool used;
    } cases[] = {
        {"where it was left", left, true},
        {"right of every monitor", {work.right + 50, 100, work.right + 750, 400}, false},
        {"title bar above the screen", {100, -100, 800, 200}, false},
        {"partly off the left edge", {-300, 200, 400, 500}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (&c != &cases[0]) app::RememberedPlace(app::UserSettings(kKey), L"Waveform").Save(c.kept);
        app::Form1 form{app::UserSettings(kKey)};
        const RECT waveform = Open(form, {0, 0});
        EXPECT_EQ(::EqualRect(&waveform, &c.kept) != FALSE, c.used);
        if (!c.used) {
            EXPECT_FALSE(Overlap(waveform, WindowArea(form.Handle()))) << "the first place instead";
        }
    }
}
