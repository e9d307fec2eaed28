// The waveform window and the fine-marking keys, used as a user uses them: real
// key presses and mouse drags through the system's input queue, a real file, the
// marks read back from the main window's labels.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/FineMarks.h"
#include "app/Form1.h"
#include "app/TimeText.h"
#include "support/DialogWatcher.h"
#include "support/WindowTesting.h"

using testing_support::FixturePath;
using testing_support::PumpFor;
using testing_support::PumpUntil;

namespace {

constexpr double kRate = 44100;
const std::wstring kEndBeforeStart = L"The end point must be greater than the start point !";

// A key pressed and released with the modifiers held around it.
void Press(WORD key, std::initializer_list<WORD> modifiers = {}) {
    testing_support::UserTypes(key, modifiers);
    PumpFor(50);
}

class Waveform : public ::testing::Test {
protected:
    void SetUp() override {
        form.Show();
        form.OpenMp3(FixturePath(L"waveform\\tones.mp3"));
        ASSERT_TRUE(PumpUntil([&] { return form.player().PlayState() == app::MediaPlayer::kPlaying; }, 10000));
        form.player().Pause();
    }

    double Seconds(int label) { return app::ParseSeconds(form.Label(label).Caption()); }
    void Mark(double start, double end) {
        form.clearsel();
        ASSERT_TRUE(form.MoveStart(start));
        ASSERT_TRUE(form.MoveEnd(end));
    }
    void Focus(HWND window) {
        ::SetForegroundWindow(window);
        ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == window; }, 3000));
    }
    app::WaveformWindow& OpenWaveform() {
        Focus(form.Handle());
        Press('W');
        EXPECT_TRUE(PumpUntil([&] { return form.Waveform() && form.Waveform()->Peaks()->Finished(); }, 20000));
        return *form.Waveform();
    }
    // Whether the pointer, moved to x of the plot, takes the sizing shape (or, not wanted, loses it).
    // The window is asked for its pointer there as the system asks it on a move (a loaded
    // machine may let the system's own asking come late).
    bool PointerIsSizingAt(app::WaveformWindow& window, double x, bool sizingWanted) {
        const RECT plot = Plot(window);
        testing_support::UserMoves(window.Handle(), static_cast<int>(x), (plot.top + plot.bottom) / 2);
        ::SendMessageW(window.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window.Handle()),
                       MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return (::GetCursor() == ::LoadCursorW(nullptr, IDC_SIZEWE)) == sizingWanted;
    }
    // Drags with the left button from one client x of the waveform's plot to another.
    void Drag(app::WaveformWindow& window, double fromX, double toX) {
        const RECT plot = Plot(window);
        const int y = (plot.top + plot.bottom) / 2;
        testing_support::UserMoves(window.Handle(), static_cast<int>(fromX), y);
        testing_support::UserPresses();
        testing_support::UserMoves(window.Handle(), static_cast<int>((fromX + toX) / 2), y);
        testing_support::UserMoves(window.Handle(), static_cast<int>(toX), y);
        testing_support::UserReleases();
    }
    // The plot's strip of the window's client area.
    static RECT Plot(app::WaveformWindow& window) {
        RECT client{};
        ::GetClientRect(window.Handle(), &client);
        return app::WaveformLayout(client).plot;
    }

    testing_support::DialogWatcher watcher;  // message boxes answered with OK
    app::Form1 form;
};

}  // namespace

TEST_F(Waveform, KeysMoveAndSnapTheMarksAsSetStartAndSetEndWriteThem) {
    Mark(1.5, 3.5);
    Focus(form.Handle());
    struct Step {
        WORD key;
        std::initializer_list<WORD> modifiers;
        double start, end;
    } steps[] = {
        {VK_RIGHT, {VK_CONTROL}, 1.51, 3.5},
        {VK_LEFT, {VK_CONTROL}, 1.5, 3.5},
        {VK_LEFT, {VK_CONTROL}, 1.49, 3.5},
        {VK_RIGHT, {VK_CONTROL, VK_SHIFT}, 1.49, 3.51},
        {VK_LEFT, {VK_CONTROL, VK_SHIFT}, 1.49, 3.5},
    };
    for (const Step& s : steps) {
        Press(s.key, s.modifiers);
        EXPECT_NEAR(Seconds(5), s.start, 1e-9);
        EXPECT_NEAR(Seconds(7), s.end, 1e-9);
        EXPECT_EQ(form.Label(9).Caption(), app::FormatSeconds(Seconds(7) - Seconds(5)));
    }
    EXPECT_EQ(form.Slider1().SelStart(), 1);
    EXPECT_EQ(form.Slider1().SelLength(), 2);

    // Neither mark passes the other, nor the file's ends.
    Mark(0.005, 0.012);
    Press(VK_LEFT, {VK_CONTROL});
    EXPECT_EQ(form.Label(5).Caption(), L"0");
    Press(VK_LEFT, {VK_CONTROL, VK_SHIFT});
    Press(VK_LEFT, {VK_CONTROL, VK_SHIFT});
    EXPECT_EQ(form.Label(7).Caption(), L"0");
    Press(VK_RIGHT, {VK_CONTROL});
    EXPECT_EQ(form.Label(5).Caption(), L"0");

    // Q: the start, nearer the playhead, goes into the pause before the tone at
    // 1 s, as far as 150 ms reach; then the end, nearer now, from inside the tone
    // that ends at 4 s into the pause after it.
    Mark(1.1, 3.9);
    form.player().SetCurrentPosition(1.0);
    Press('Q');
    EXPECT_GE(Seconds(5), 0.95);
    EXPECT_LE(Seconds(5), 1.0);
    form.player().SetCurrentPosition(3.8);
    Press('Q');
    EXPECT_GE(Seconds(7), 4.0);
    EXPECT_LE(Seconds(7), 4.05);
    EXPECT_EQ(form.Label(9).Caption(), app::FormatSeconds(Seconds(7) - Seconds(5)));
}

TEST_F(Waveform, HearingTheEndPausesExactlyAtTheEndMark) {
    Mark(0.5, 2.2);
    Focus(form.Handle());
    // Where playback is once the key has been handled, and that it comes to rest exactly at `restsAt`.
    auto hear = [&](WORD key, double restsAt) {
        Press(key, {VK_SHIFT});
        const double from = form.player().CurrentPosition();
        EXPECT_TRUE(PumpUntil(
            [&] {
                return form.player().PlayState() == app::MediaPlayer::kPaused &&
                       form.player().CurrentPosition() == restsAt;
            },
            10000))
            << form.player().CurrentPosition();
        return from;
    };
    EXPECT_LT(hear('O', 2.2), 1.0);                      // from 0.2 s, paused exactly at the end mark
    EXPECT_LT(hear('I', 0.5 + app::kHearSeconds), 1.0);  // back from there to the start mark
}

TEST_F(Waveform, DraggingAMarkMovesItAndAnEndBeforeTheStartIsRefused) {
    Mark(1.0, 3.0);
    app::WaveformWindow& window = OpenWaveform();
    const app::WaveformView& view = window.View();
    EXPECT_TRUE(view.ShowsWholeFile());
    EXPECT_EQ(testing_support::WindowText(window.Handle()), L"Waveform");

    // Over a mark the pointer is the sizing arrow, and only there.
    EXPECT_TRUE(PointerIsSizingAt(window, view.XOf(3.0 * kRate), true));
    EXPECT_TRUE(PointerIsSizingAt(window, view.XOf(2.0 * kRate), false));

    // The end mark dragged to 3.5 s: the labels take the time under the pointer.
    Drag(window, view.XOf(3.0 * kRate), view.XOf(3.5 * kRate));
    const double pixel = view.SamplesPerPixel() / kRate;
    EXPECT_NEAR(Seconds(7), 3.5, pixel);
    EXPECT_EQ(form.Label(9).Caption(), app::FormatSeconds(Seconds(7) - Seconds(5)));

    // The start dragged past the end is refused with Set End's message; nothing moves.
    const std::wstring start = form.Label(5).Caption();
    const std::wstring end = form.Label(7).Caption();
    Drag(window, view.XOf(1.0 * kRate), view.XOf(4.0 * kRate));
    ASSERT_TRUE(PumpUntil([&] { return !watcher.Seen().empty(); }, 5000));
    EXPECT_EQ(watcher.Seen().back().text, kEndBeforeStart);
    EXPECT_EQ(watcher.Seen().back().owner, window.Handle());
    EXPECT_EQ(form.Label(5).Caption(), start);
    EXPECT_EQ(form.Label(7).Caption(), end);

    // A click away from the marks seeks there.
    Drag(window, view.XOf(2.0 * kRate), view.XOf(2.0 * kRate));
    EXPECT_NEAR(form.player().CurrentPosition(), 2.0, 2 * pixel);

    // The keys of the main window work here too; W goes back to the main window.
    Focus(window.Handle());
    Press('I');
    EXPECT_NEAR(Seconds(5), form.player().CurrentPosition(), 1e-6);
    Press('W');
    EXPECT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == form.Handle(); }, 3000));
}

TEST_F(Waveform, TakesNoInputWhileTheMainWindowIsHeldByADialog) {
    app::WaveformWindow& window = OpenWaveform();
    const app::WaveformView& view = window.View();
    // The same drag of the end mark, through the system's input queue, with the main
    // window free and held as a modal dialog or message box holds it: it must move the
    // mark in the first case for the second to mean anything.
    struct Case {
        const char* name;
        bool held;
        double end;
    } cases[] = {{"free", false, 3.5}, {"held", true, 3.0}, {"free again", false, 3.5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Mark(1.0, 3.0);
        ::EnableWindow(form.Handle(), TRUE);
        Focus(window.Handle());
        if (c.held) ::EnableWindow(form.Handle(), FALSE);
        EXPECT_EQ(::IsWindowEnabled(window.Handle()) != FALSE, !c.held) << "enabled and disabled with the main window";
        Drag(window, view.XOf(3.0 * kRate), view.XOf(3.5 * kRate));  // handled before it returns
        EXPECT_NEAR(Seconds(7), c.end, view.SamplesPerPixel() / kRate);
    }
}

TEST_F(Waveform, ClosestZoomDrawsEachDecodedSampleWhereItLies) {
    app::WaveformWindow& window = OpenWaveform();
    const app::WaveformView& view = window.View();
    const double tone = 1.25 * kRate;
    while (view.SamplesPerPixel() > app::WaveformView::kClosestSamplesPerPixel) window.ZoomAround(0.5, view.XOf(tone));
    EXPECT_DOUBLE_EQ(view.SamplesPerPixel(), app::WaveformView::kClosestSamplesPerPixel);
    window.ScrollTo(tone);
    PumpFor(100);

    const testing_support::Pixels pixels = testing_support::PrintClient(window.Handle());
    const RECT plot = Plot(window);
    const std::uint64_t first = static_cast<std::uint64_t>(tone);
    const std::vector<std::int16_t> samples =
        const_cast<media::Waveform*>(window.Peaks())->Samples(first, static_cast<std::size_t>(view.VisibleSamples()) - 1);
    const std::uint32_t ink = (GetRValue(app::WaveformPainter::kInk) << 16) | (GetGValue(app::WaveformPainter::kInk) << 8) |
                              GetBValue(app::WaveformPainter::kInk);
    ASSERT_GT(samples.size(), 100u);
    int drawn = 0;
    // Where a user reads a sample: four pixels to a sample from the plot's left edge
    // on, each in the middle of its four; the left channel in the upper half of the
    // plot, full scale two pixels short of its edges, above and below its centre line.
    ASSERT_EQ(view.First(), static_cast<double>(first));
    const long laneBottom = plot.top + (plot.bottom - plot.top) / 2;
    const double middle = (plot.top + laneBottom - 1) / 2.0;
    const double fullScale = (laneBottom - plot.top) / 2.0 - 2;
    for (std::size_t i = 0; i < samples.size() / 2; ++i) {
        // The left channel carries the tone; each of its samples is a point of ink.
        const int x = view.PlotLeft() + static_cast<int>(i) * 4 + 2;
        const int y = static_cast<int>(std::lround(middle - samples[i * 2] / 32768.0 * fullScale));
        if (x < view.PlotLeft() + 2 || x >= view.PlotLeft() + view.PlotWidth() - 2) continue;
        EXPECT_EQ(pixels.At(x, y), ink) << "sample " << first + i << " at " << x << "," << y;
        ++drawn;
    }
    EXPECT_GT(drawn, 100);
}

// Close up in a file of hours, a mark 3.5 hours on lies more than 2^31 pixels to
// the right: the selection band up to it still fills the plot.
TEST_F(Waveform, CloseUpInAFileOfHoursTheSelectionStillFillsThePlot) {
    app::WaveformWindow& window = OpenWaveform();  // for the peaks of a real file
    app::WaveformView view;
    view.SetLength(4ull * 3600 * 44100);
    view.SetClientWidth(600);
    while (view.SamplesPerPixel() > app::WaveformView::kClosestSamplesPerPixel) view.ZoomAround(0.5, view.PlotLeft());
    view.ScrollTo(1000);
    ASSERT_DOUBLE_EQ(view.First(), 1000);
    const RECT client{0, 0, 600, 200};
    const double end = 3.5 * 3600 * 44100;
    const app::WaveformScene scene{view, window.Peaks(), {}, 0, 1010.0, end, end, 0.0};
    const app::WaveformPainter painter;
    const testing_support::Pixels pixels =
        testing_support::DrawnPixels(600, 200, [&](HDC dc) { painter.Paint(dc, client, client, scene); });
    const COLORREF band = app::WaveformPainter::kSelection;
    const std::uint32_t shaded = (GetRValue(band) << 16) | (GetGValue(band) << 8) | GetBValue(band);
    const int y = app::WaveformLayout(client).plot.top + 10;
    // The start mark stands at 8 + 10 * 4 pixels; the band runs from there to the plot's right end.
    for (int x : {60, 300, 589}) EXPECT_EQ(pixels.At(x, y), shaded) << x;
}

TEST_F(Waveform, TheWorkerEndsOnReloadAndWhenTheWindowGoes) {
    const DWORD before = testing_support::Threads();
    {
        app::Form1 other;
        other.OpenMp3(FixturePath(L"media\\long_2h.mp3"));
        ASSERT_TRUE(PumpUntil([&] { return other.player().PlayState() == app::MediaPlayer::kPlaying; }, 20000));
        other.ShowWaveform();
        ASSERT_NE(other.Waveform(), nullptr);
        EXPECT_FALSE(other.Waveform()->Peaks()->Finished());
        const DWORD computing = testing_support::Threads();

        // Another file: the long file's worker is gone, the new one's ends soon after.
        other.OpenMp3(FixturePath(L"waveform\\tones.mp3"));
        ASSERT_TRUE(PumpUntil([&] { return other.Waveform()->Peaks()->Finished(); }, 20000));
        EXPECT_TRUE(PumpUntil([&] { return testing_support::Threads() < computing; }, 5000));

        other.OpenMp3(FixturePath(L"media\\long_2h.mp3"));
        EXPECT_FALSE(other.Waveform()->Peaks()->Finished());
    }
    // The window and its worker went with the main window, while it was still computing.
    EXPECT_TRUE(PumpUntil([&] { return testing_support::Threads() <= before; }, 5000))
        << testing_support::Threads() << " threads, " << before << " before";
}

TEST_F(Waveform, SplitPointsAreSetMovedUsedAndRemovedWithKeysMouseAndMenu) {
    app::WaveformWindow& window = OpenWaveform();
    const app::WaveformView& view = window.View();
    const app::SplitPoints& splits = form.Splits();
    auto splitWithMAt = [&](double seconds, HWND where) {
        form.player().SetCurrentPosition(seconds);
        Focus(where);
        Press('M');
    };
    splitWithMAt(1.5, form.Handle());
    splitWithMAt(3.0, window.Handle());
    ASSERT_EQ(splits.Points(), (std::vector<std::uint64_t>{66150, 132300}));

    // The second one takes the sizing pointer and is dragged to 3.4 s, as a mark is.
    // (The drag as the messages it gives: the marks' test drags with real input.)
    EXPECT_TRUE(PointerIsSizingAt(window, view.XOf(3.0 * kRate), true));
    const RECT plot = Plot(window);
    const int y = (plot.top + plot.bottom) / 2;
    for (auto [message, x] : {std::pair{WM_LBUTTONDOWN, 3.0}, {WM_MOUSEMOVE, 3.2}, {WM_LBUTTONUP, 3.4}})
        ::SendMessageW(window.Handle(), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                       testing_support::MousePosition(static_cast<int>(view.XOf(x * kRate)), y));
    ASSERT_EQ(splits.Points().size(), 2u);
    EXPECT_NEAR(splits.Points()[1] / kRate, 3.4, view.SamplesPerPixel() / kRate);

    // A double click inside the second piece selects it, written as Set Start and Set End write them.
    // (The messages a double click gives, as a loaded machine may deliver real clicks too slowly for one.)
    const LPARAM at = testing_support::MousePosition(static_cast<int>(view.XOf(2.5 * kRate)), (plot.top + plot.bottom) / 2);
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        ::SendMessageW(window.Handle(), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
    EXPECT_EQ(form.Label(5).Caption(), app::FormatSeconds(1.5));
    EXPECT_EQ(form.Label(7).Caption(), app::FormatSeconds(splits.Points()[1] / kRate));
    EXPECT_EQ(form.Label(9).Caption(), app::FormatSeconds(Seconds(7) - Seconds(5)));

    // The Split menu's items that need a split point are greyed only without one.
    HMENU split = ::GetSubMenu(::GetMenu(window.Handle()), 1);
    auto removeGreyed = [&] {
        ::SendMessageW(window.Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(split), 1);
        return (::GetMenuState(split, app::kRemoveSplitPoint, MF_BYCOMMAND) & MF_GRAYED) != 0;
    };
    EXPECT_FALSE(removeGreyed());
    // Delete takes the split point nearest the playhead.
    form.player().SetCurrentPosition(1.0);
    Focus(window.Handle());
    Press(VK_DELETE);
    EXPECT_EQ(splits.Points().size(), 1u);
    EXPECT_GT(splits.Points()[0], 3 * kRate);
    ::SendMessageW(window.Handle(), WM_COMMAND, app::kRemoveAllSplitPoints, 0);
    EXPECT_TRUE(splits.Points().empty());
    EXPECT_TRUE(removeGreyed());

    // They belong to the file: New Selection keeps them, another file clears them.
    splitWithMAt(2.0, form.Handle());
    form.clearsel();
    EXPECT_EQ(splits.Points().size(), 1u);
    form.OpenMp3(FixturePath(L"waveform\\tones.mp3"));
    EXPECT_TRUE(splits.Points().empty());
}

// The window's keys still work while a split point is held with the mouse: a key
// that takes the held point away ends the drag, and one that adds or takes away
// another leaves the held one to be let go where the pointer is.
TEST_F(Waveform, KeysThatChangeTheSplitPointsDuringADragNeverMoveAnotherPoint) {
    app::WaveformWindow& window = OpenWaveform();
    const app::WaveformView& view = window.View();
    const RECT plot = Plot(window);
    const int y = (plot.top + plot.bottom) / 2;
    auto mouse = [&](UINT message, double seconds) {
        ::SendMessageW(window.Handle(), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                       testing_support::MousePosition(static_cast<int>(view.XOf(seconds * kRate)), y));
    };
    struct Case {
        const char* what;
        std::vector<double> points;  // seconds; the one at 3.0 s is held
        WORD command;
        double playhead;
        bool stillHeld;
        std::vector<double> after;  // once let go at 3.4 s
    };
    const Case cases[] = {
        {"Del takes the only point", {3.0}, app::kRemoveSplitPoint, 3.0, false, {}},
        {"Del takes the held one, the last", {1.0, 2.0, 3.0}, app::kRemoveSplitPoint, 3.0, false, {1.0, 2.0}},
        {"Del takes the one before it", {1.0, 3.0}, app::kRemoveSplitPoint, 1.0, true, {3.4}},
        {"M adds one before it", {3.0}, app::kSplitHere, 1.0, true, {1.0, 3.4}},
        {"M adds one after it", {3.0}, app::kSplitHere, 4.0, true, {3.4, 4.0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::uint64_t> points;
        for (double seconds : c.points) points.push_back(static_cast<std::uint64_t>(seconds * kRate));
        form.Splits().Replace(points);
        form.player().SetCurrentPosition(c.playhead);
        mouse(WM_LBUTTONDOWN, 3.0);
        mouse(WM_MOUSEMOVE, 3.2);
        ASSERT_EQ(::GetCapture(), window.Handle());
        ::SendMessageW(window.Handle(), WM_COMMAND, c.command, 0);
        EXPECT_EQ(::GetCapture() == window.Handle(), c.stillHeld);
        mouse(WM_MOUSEMOVE, 3.4);
        ::UpdateWindow(window.Handle());  // the held point drawn where the pointer is
        mouse(WM_LBUTTONUP, 3.4);
        const std::vector<std::uint64_t>& after = form.Splits().Points();
        ASSERT_EQ(after.size(), c.after.size());
        for (std::size_t i = 0; i < after.size(); ++i)
            EXPECT_NEAR(after[i] / kRate, c.after[i], view.SamplesPerPixel() / kRate) << i;
    }
}

TEST_F(Waveform, FindPausesAndSplitEveryReplaceTheSplitPointsFromTheirDialogs) {
    form.OpenMp3(FixturePath(L"split\\album.mp3"));
    app::WaveformWindow& window = OpenWaveform();
    const app::SplitPoints& splits = form.Splits();
    // The dialogs come up with their defaults, and the watcher takes them with OK.
    ::SendMessageW(window.Handle(), WM_COMMAND, app::kFindPauses, 0);
    ASSERT_FALSE(watcher.Seen().empty());
    EXPECT_EQ(watcher.Seen().back().title, L"Find Pauses");
    ASSERT_EQ(splits.Points().size(), 2u);
    // In the two silences, 6 to 8 s and 16 to 18 s, not in the quiet noise inside the second sound.
    EXPECT_GT(splits.Points()[0], 6 * kRate);
    EXPECT_LT(splits.Points()[0], 8 * kRate);
    EXPECT_GT(splits.Points()[1], 16 * kRate);
    EXPECT_LT(splits.Points()[1], 18 * kRate);
    EXPECT_TRUE(splits.PauseAt(0) && splits.PauseAt(1));
    EXPECT_FALSE(splits.LeavePausesOut());

    ::SendMessageW(window.Handle(), WM_COMMAND, app::kSplitEvery, 0);
    EXPECT_EQ(watcher.Seen().back().title, L"Split Every");
    EXPECT_TRUE(splits.Points().empty());  // 10 minutes is longer than the file
}

TEST(WaveformScale, DecibelsPutSixtyBelowFullScaleAndQuieterOnTheCentreLine) {
    app::WaveformPainter painter;
    const RECT lane{0, 0, 100, 206};  // centre 102.5, full scale 101 pixels away
    struct Case {
        int value;
        int linear, decibels;
    };
    const Case cases[] = {
        {32767, 2, 2},     // full scale at the top either way
        {3277, 92, 35},    // -20 dB: a tenth of the way up, or two thirds
        {33, 102, 102},    // -60 dB: on the centre line
        {-3277, 113, 170}, // below the line alike
        {0, 102, 102},
    };
    for (const Case& c : cases) {
        painter.SetDecibels(false);
        EXPECT_EQ(painter.YOf(lane, c.value), c.linear) << c.value;
        painter.SetDecibels(true);
        EXPECT_EQ(painter.YOf(lane, c.value), c.decibels) << c.value;
    }
    // A stereo file's left channel above its right, each half the plot.
    const RECT left = app::WaveformPainter::Lane(RECT{0, 10, 100, 210}, 0, 2);
    const RECT right = app::WaveformPainter::Lane(RECT{0, 10, 100, 210}, 1, 2);
    EXPECT_EQ(left.top, 10);
    EXPECT_EQ(left.bottom, 110);
    EXPECT_EQ(right.top, 110);
    EXPECT_EQ(right.bottom, 210);
}
