// The main window's commands driven as a user drives them: clicks on the
// buttons, answers in the file dialog and the message boxes, a real file playing.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "app/Form1.h"
#include "app/TimeText.h"
#include "base/MessageLoop.h"
#include "base/Rounding.h"
#include "support/BadMp3.h"
#include "support/DialogWatcher.h"
#include "support/WindowTesting.h"

using testing_support::DialogWatcher;
using testing_support::FixturePath;
using testing_support::MessageBoxSeen;
using testing_support::PumpFor;
using testing_support::PumpUntil;

namespace {

constexpr int kPlaying = app::MediaPlayer::kPlaying;
constexpr int kPaused = app::MediaPlayer::kPaused;

// Answers the open dialog with the next file in line (none: Cancel) and every
// message box with OK, noting what the boxes said.
class User {
public:
    User()
        : watcher_([this](HWND dialog) {
              if (testing_support::WindowText(dialog) != L"Open") return false;
              std::wstring file;
              {
                  std::lock_guard lock(mutex_);
                  if (!files_.empty()) {
                      file = files_.front();
                      files_.pop_front();
                  }
              }
              if (file.empty())
                  testing_support::PressButton(dialog, IDCANCEL);
              else
                  testing_support::ChooseFile(dialog, file);
              return true;
          }) {}

    void WillOpen(const std::wstring& file) {
        std::lock_guard lock(mutex_);
        files_.push_back(file);
    }
    void WillCancel() { WillOpen(L""); }

    static void Click(controls::zembutton& button) {
        ::SendMessageW(button.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        ::SendMessageW(button.hWnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        base::DoEvents();
    }

    std::vector<MessageBoxSeen> Boxes() const { return watcher_.Seen(); }

private:
    std::mutex mutex_;
    std::deque<std::wstring> files_;
    DialogWatcher watcher_;
};

class SelectionCommands : public ::testing::Test {
protected:
    void SetUp() override { form.Show(); }

    void Load(const std::wstring& name) {
        user.WillOpen(FixturePath(L"media\\" + name));
        User::Click(form.zembutton(1));
    }
    // Holds playback at a position, as if the user had paused there.
    void HoldAt(double seconds) {
        form.player().Pause();
        form.player().SetCurrentPosition(seconds);
        ASSERT_TRUE(PumpUntil([&] { return form.Label(2).Caption() == app::FormatSeconds(seconds); }, 2000));
    }
    // Set Start and Set End clicked while playback is held at those positions.
    void SetStartAt(double seconds) {
        HoldAt(seconds);
        User::Click(form.zembutton(2));
    }
    void SetEndAt(double seconds) {
        HoldAt(seconds);
        User::Click(form.zembutton(3));
    }
    void MarkSelection(double start, double end) {
        SetStartAt(start);
        SetEndAt(end);
    }
    std::wstring Caption(int label) { return form.Label(label).Caption(); }
    // The end watch goes by the position last shown: what each of its ticks saw
    // (the form's own handler has run by then).
    std::shared_ptr<std::vector<double>> WatchEndTicks() {
        auto seen = std::make_shared<std::vector<double>>();
        form.Timer3().Tick.Subscribe([this, seen] { seen->push_back(app::ParseSeconds(Caption(2))); });
        return seen;
    }
    // Paused by the first tick that saw the end reached, no later.
    static void ExpectPausedAtTheFirstTickAtOrPast(const std::vector<double>& seen, double end) {
        ASSERT_FALSE(seen.empty());
        EXPECT_GE(seen.back(), end);
        for (std::size_t i = 0; i + 1 < seen.size(); ++i) EXPECT_LT(seen[i], end) << "tick " << i;
    }

    app::Form1 form;
    User user;
};

}  // namespace

TEST_F(SelectionCommands, SelectMp3PlaysTheFileAndOpensTheNextSteps) {
    Load(L"cbr128_info.mp3");
    auto boxes = user.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, L"Snipmill");
    EXPECT_EQ(boxes[0].text, L"Playing the file cbr128_info");
    EXPECT_EQ(boxes[0].icon, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_TRUE(PumpUntil([&] { return form.player().PlayState() == kPlaying; }, 3000));
    EXPECT_EQ(form.Slider1().Min(), -1);
    EXPECT_EQ(form.Slider1().Max(), 3);
    EXPECT_EQ(form.Slider1().TickFrequency(), 20);
    for (int number : {2, 7}) EXPECT_TRUE(form.zembutton(number).Enabled());
    for (int number : {3, 4, 5, 6}) EXPECT_FALSE(form.zembutton(number).Enabled());
    EXPECT_EQ(form.Text1().Text(), FixturePath(L"media\\cbr128_info.mp3"));
    EXPECT_EQ(Caption(11), L"Loaded cbr128_info.mp3");
    for (int label : {5, 7, 9}) EXPECT_EQ(Caption(label), L"00:00");
}

TEST_F(SelectionCommands, CancellingTheOpenDialogStopsPlaybackAndKeepsTheRest) {
    Load(L"cbr128_info.mp3");
    SetStartAt(1);
    form.player().Play();
    ASSERT_TRUE(PumpUntil([&] { return form.player().PlayState() == kPlaying; }, 3000));
    ASSERT_TRUE(form.Slider1().HasSelection());
    user.WillCancel();
    User::Click(form.zembutton(1));
    EXPECT_NE(form.player().PlayState(), kPlaying);
    EXPECT_FALSE(form.Slider1().HasSelection());
    EXPECT_EQ(Caption(5), L"1");
    EXPECT_EQ(form.Text1().Text(), FixturePath(L"media\\cbr128_info.mp3"));
    EXPECT_EQ(user.Boxes().size(), 1u);  // only the first file's "Playing the file"
}

TEST_F(SelectionCommands, AFileThatIsNotMp3IsRefusedAndTheLoadedOneStays) {
    Load(L"cbr128_info.mp3");
    Load(L"text.mp3");
    auto boxes = user.Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].icon, static_cast<UINT>(MB_ICONERROR));
    EXPECT_NE(boxes[1].text.find(L"text.mp3"), std::wstring::npos) << boxes[1].text;
    EXPECT_EQ(form.Text1().Text(), FixturePath(L"media\\cbr128_info.mp3"));
    EXPECT_EQ(Caption(11), L"Loaded cbr128_info.mp3");
    EXPECT_EQ(form.player().CurrentMedia().duration > 2.9, true);
}

TEST_F(SelectionCommands, StartEndAndLengthAreMarkedAtThePlaybackPosition) {
    Load(L"cbr128_info.mp3");
    SetStartAt(0.5);
    EXPECT_EQ(Caption(5), L"0.5");
    EXPECT_TRUE(form.zembutton(3).Enabled());
    EXPECT_EQ(form.Slider1().SelStart(), 0);  // 0.5 rounds to the even neighbour
    SetEndAt(2.25);
    EXPECT_EQ(Caption(7), L"2.25");
    EXPECT_EQ(Caption(9), L"1.75");
    for (int number : {3, 4, 5, 6}) EXPECT_TRUE(form.zembutton(number).Enabled());
    EXPECT_EQ(form.Slider1().SelLength(), 2);
    EXPECT_EQ(::SendMessageW(form.Slider1().Handle(), TBM_GETSELEND, 0, 0), 2);
    EXPECT_TRUE(user.Boxes().size() == 1u);
}

TEST_F(SelectionCommands, AnEndBeforeTheStartIsRefused) {
    Load(L"cbr128_info.mp3");
    MarkSelection(2, 1);
    auto boxes = user.Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, L"The end point must be greater than the start point !");
    EXPECT_EQ(boxes[1].icon, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(Caption(7), L"00:00");
    EXPECT_EQ(Caption(9), L"00:00");
    EXPECT_FALSE(form.zembutton(4).Enabled());
}

TEST_F(SelectionCommands, StartAtTheVeryBeginningIsWrittenAsZero) {
    Load(L"cbr128_info.mp3");
    SetStartAt(0);
    EXPECT_EQ(Caption(5), L"0");
    SetEndAt(1.5);
    EXPECT_EQ(Caption(9), L"1.5");
}

TEST_F(SelectionCommands, SetEndAfterNewSelectionTakesTheStartAsZero) {
    Load(L"cbr128_info.mp3");
    MarkSelection(1, 2);
    User::Click(form.zembutton(6));
    for (int label : {5, 7, 9}) EXPECT_EQ(Caption(label), L"00:00");
    EXPECT_FALSE(form.Slider1().HasSelection());
    SetEndAt(2.5);
    EXPECT_EQ(Caption(7), L"2.5");
    EXPECT_EQ(Caption(9), L"2.5");
}

TEST_F(SelectionCommands, SetStartAfterSetEndKeepsTheLength) {
    Load(L"cbr128_info.mp3");
    MarkSelection(1, 2);
    SetStartAt(0.25);
    EXPECT_EQ(Caption(5), L"0.25");
    EXPECT_EQ(Caption(7), L"2");
    EXPECT_EQ(Caption(9), L"1");
}

TEST_F(SelectionCommands, PlaySelectionRefusesAnEndBeforeTheStart) {
    Load(L"cbr128_info.mp3");
    form.Label(5).SetCaption(L"2");
    form.Label(7).SetCaption(L"1");
    form.zembutton(4).SetEnabled(true);
    User::Click(form.zembutton(4));
    auto boxes = user.Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, L"End point must be greater than the start point");
    EXPECT_EQ(boxes[1].icon, static_cast<UINT>(MB_ICONERROR));
    EXPECT_FALSE(form.Timer3().Enabled());
}

TEST_F(SelectionCommands, PlaySelectionPausesAtTheEndPoint) {
    Load(L"cbr128_info.mp3");
    MarkSelection(0.5, 1.2);
    auto seen = WatchEndTicks();
    User::Click(form.zembutton(4));
    EXPECT_TRUE(form.Timer3().Enabled());
    ASSERT_TRUE(PumpUntil([&] { return form.player().PlayState() == kPaused; }, 10000));
    EXPECT_FALSE(form.Timer3().Enabled());
    const double pausedAt = form.player().CurrentPosition();
    EXPECT_GE(pausedAt, 1.2);
    ExpectPausedAtTheFirstTickAtOrPast(*seen, 1.2);
    EXPECT_GE(pausedAt, seen->back());
    // Paused, not only said to be: the position stays, and is shown, where it stopped.
    ASSERT_TRUE(PumpUntil([&] { return Caption(2) == app::FormatSeconds(pausedAt); }, 5000));
    EXPECT_EQ(form.player().CurrentPosition(), pausedAt);
}

TEST_F(SelectionCommands, PlaySelectionWithNoLengthPausesAtTheNextTick) {
    Load(L"cbr128_info.mp3");
    SetStartAt(1);
    User::Click(form.zembutton(3));
    EXPECT_EQ(Caption(9), L"0");
    auto seen = WatchEndTicks();
    User::Click(form.zembutton(4));
    ASSERT_TRUE(PumpUntil([&] { return !form.Timer3().Enabled(); }, 10000));
    EXPECT_EQ(form.player().PlayState(), kPaused);
    ExpectPausedAtTheFirstTickAtOrPast(*seen, 1.0);
}

TEST_F(SelectionCommands, PausingByHandLeavesTheEndWatchOn) {
    Load(L"cbr128_info.mp3");
    MarkSelection(0.2, 1.5);
    User::Click(form.zembutton(4));
    PumpFor(200);
    form.player().Pause();  // by hand, before the end point
    PumpFor(300);
    EXPECT_TRUE(form.Timer3().Enabled());
    form.player().Play();
    ASSERT_TRUE(PumpUntil([&] { return !form.Timer3().Enabled(); }, 4000));
    EXPECT_EQ(form.player().PlayState(), kPaused);
    // Once it has paused, the watch is off: playback resumed now runs past the end.
    form.player().Play();
    EXPECT_TRUE(PumpUntil([&] { return form.player().CurrentPosition() > 2.2; }, 4000));
    EXPECT_EQ(form.player().PlayState(), kPlaying);
}

TEST_F(SelectionCommands, PausePlayTogglesAtTheSlidersSecond) {
    Load(L"cbr128_info.mp3");
    ASSERT_TRUE(PumpUntil([&] { return form.player().PlayState() == kPlaying; }, 3000));
    form.Slider1().SetValue(2);
    User::Click(form.zembutton(7));
    EXPECT_EQ(form.player().PlayState(), kPaused);
    EXPECT_EQ(form.player().CurrentPosition(), 2.0);
    form.Slider1().SetValue(1);
    const auto clicked = std::chrono::steady_clock::now();  // the clock the player keeps its time by
    User::Click(form.zembutton(7));
    EXPECT_TRUE(PumpUntil([&] { return form.player().PlayState() == kPlaying; }, 3000));
    const double position = form.player().CurrentPosition();
    EXPECT_GE(position, 1.0);
    EXPECT_LE(position, 1.0 + std::chrono::duration<double>(std::chrono::steady_clock::now() - clicked).count());
}

TEST_F(SelectionCommands, DraggingTheSliderSeeksThenTheTimerTakesItBack) {
    Load(L"cbr128_info.mp3");
    HoldAt(0);
    ::SetFocus(form.Slider1().Handle());
    ::SendMessageW(form.Slider1().Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    ::SendMessageW(form.Slider1().Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(form.player().CurrentPosition(), 2.0);
    EXPECT_TRUE(PumpUntil([&] { return Caption(2) == L"2"; }, 2000));
    EXPECT_EQ(form.Slider1().Value(), 2);
}

namespace {

struct BadFile {
    const char* what;
    const wchar_t* fixture;
    testing_support::Bytes (*make)(const testing_support::Bytes& mp3);
    const wchar_t* title;  // what "Playing the file" names, if not the file
    int frames;            // of 1152 samples at 44.1 kHz
};

// What plays of frames without an encoder's information frame: their samples but
// the decoder's delay, which no frame follows to push out.
double PlayingLength(int frames) { return (frames * 1152 - 529) / 44100.0; }

}  // namespace

TEST_F(SelectionCommands, DamagedFilesOpenWithTheLengthThatPlays) {
    using namespace testing_support;
    const BadFile files[] = {
        {"every other frame header damaged", L"tone440.mp3", EveryOtherHeaderDamaged, nullptr, 97},
        {"an empty ID3 header between every two frames", L"cbr128_noinfo.mp3", TagBetweenEveryTwoFrames, nullptr, 116},
        {"a leading tag that declares too small a size", L"cbr128_noinfo.mp3",
         [](const Bytes& mp3) { return AfterPictureTag(mp3, 1536000, 20, false); }, L"Noise", 116},
    };
    int number = 0;
    for (const BadFile& bad : files) {
        SCOPED_TRACE(bad.what);
        Bytes bytes = bad.make(ReadFileBytes(FixturePath(std::wstring(L"media\\") + bad.fixture)));
        // Each its own file: the player keeps the one it plays open.
        std::wstring name = L"damaged" + std::to_wstring(++number);
        SparseFile file(name + L".mp3", bytes, bytes.size());
        user.WillOpen(file.Path());
        User::Click(form.zembutton(1));
        ASSERT_FALSE(user.Boxes().empty());
        std::wstring stem = file.Path().substr(file.Path().find_last_of(L'\\') + 1);
        stem.resize(stem.size() - 4);
        EXPECT_EQ(user.Boxes().back().text, L"Playing the file " + (bad.title ? std::wstring(bad.title) : stem));
        double duration = PlayingLength(bad.frames);
        EXPECT_DOUBLE_EQ(form.player().CurrentMedia().duration, duration);
        EXPECT_EQ(form.Slider1().Max(), base::RoundToInt(duration));
        EXPECT_TRUE(PumpUntil([&] { return form.player().PlayState() == kPlaying; }, 3000));
    }
}

TEST_F(SelectionCommands, AFileJoinedFromPartsOfTwoSampleRatesSaysWhatDoesNotPlay) {
    Load(L"joined.mp3");
    Load(L"joined_channels.mp3");
    Load(L"joined_formats.mp3");
    auto boxes = user.Boxes();
    ASSERT_EQ(boxes.size(), 4u);  // nothing to say of parts of one rate, whatever their channels
    EXPECT_EQ(boxes[1].text, L"Playing the file joined_channels");
    EXPECT_EQ(boxes[2].text, L"Playing the file Part one");
    EXPECT_EQ(boxes[3].text,
              L"From 1.0 s on, this file goes on at another sample rate (22050 Hz) than it starts at "
              L"(44100 Hz). Snipmill cannot change the sample rate while it plays: it leaves the parts "
              L"at the other rate out.");
    EXPECT_EQ(boxes[3].icon, static_cast<UINT>(MB_ICONWARNING));
}

TEST_F(SelectionCommands, TheWindowKeepsPaintingWhileAHugeFileOpens) {
    using namespace testing_support;
    // Audio, a 512 MB hole that must be read through (seconds), and the audio again.
    Bytes audio = ReadFileBytes(FixturePath(L"media\\cbr128_noinfo.mp3"));
    SparseFile huge(L"huge.mp3", audio, 512ull << 20, audio);

    // Another thread asks the window to paint again and again, each time once the
    // last paint is done, and counts the paints done while the file is still opening.
    HWND window = form.Handle();
    std::atomic<bool> opening{true};
    std::atomic<int> paintedWhileOpening{0};
    std::thread prober([&] {
        while (opening) {
            ::InvalidateRect(window, nullptr, FALSE);
            while (opening && ::GetUpdateRect(window, nullptr, FALSE))
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            if (opening) ++paintedWhileOpening;
        }
    });
    user.WillOpen(huge.Path());
    User::Click(form.zembutton(1));
    opening = false;
    prober.join();
    // Reading the hole takes seconds on any machine: a window that waited for it would paint once at most.
    EXPECT_GE(paintedWhileOpening, 3);
    EXPECT_DOUBLE_EQ(form.player().CurrentMedia().duration, PlayingLength(232));

    // And the window answers again: Pause/Play pauses.
    EXPECT_TRUE(::IsWindowEnabled(window));
    ASSERT_TRUE(PumpUntil([&] { return form.player().PlayState() == kPlaying; }, 3000));
    User::Click(form.zembutton(7));
    EXPECT_EQ(form.player().PlayState(), kPaused);
}

TEST_F(SelectionCommands, MessagesBelongToTheMainWindowWhileAnotherIsActive) {
    Load(L"cbr128_info.mp3");
    HWND other = ::CreateWindowExW(0, L"STATIC", L"Another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 0, 200, 100,
                                   nullptr, nullptr, nullptr, nullptr);
    ::SetActiveWindow(other);
    ASSERT_EQ(::GetActiveWindow(), other);
    MarkSelection(2, 1);
    ::DestroyWindow(other);
    auto boxes = user.Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, L"The end point must be greater than the start point !");
    EXPECT_EQ(boxes[1].owner, form.Handle());
    EXPECT_FALSE(boxes[1].ownerEnabled);  // the main window takes no clicks while the box is up
    EXPECT_EQ(boxes[0].owner, form.Handle());
}
