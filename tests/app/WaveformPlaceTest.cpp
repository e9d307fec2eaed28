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
    struct Case {
        const char* name;
        double across, down;  // where the main window stands, as parts of the room the screen leaves it
        bool clearOfTheMainWindow;
    } cases[] = {
        {"top left: below", 0, 0, true},
        {"bottom right: above", 1, 1, true},
        {"in the middle: no room round it", 0.5, 0.5, false},
        {"top right: below", 1, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        app::Form1 form{app::UserSettings(kKey)};
        const RECT main = WindowArea(form.Handle());
        const POINT at{work.left + static_cast<LONG>(c.across * (work.right - work.left - (main.right - main.left))),
                       work.top + static_cast<LONG>(c.down * (work.bottom - work.top - (main.bottom - main.top)))};
        const RECT waveform = Open(form, at);
        const RECT placedMain = WindowArea(form.Handle());
        RECT inside{};
        ::IntersectRect(&inside, &waveform, &work);
        EXPECT_TRUE(::EqualRect(&inside, &waveform)) << "wholly on the work area";
        EXPECT_EQ(Overlap(waveform, placedMain), !c.clearOfTheMainWindow);
        std::vector<HWND> controls = {form.Slider1().Handle()};
        for (int number = 1; number <= 11; ++number) controls.push_back(form.zembutton(number).hWnd());
        for (HWND control : controls) {
            if (::IsWindowVisible(control)) {
                EXPECT_FALSE(Overlap(waveform, WindowArea(control)));
            }
        }
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
