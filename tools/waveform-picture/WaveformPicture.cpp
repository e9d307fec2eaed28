// Draws the waveform window as a user sees it with a loaded file, a marked
// selection and the playhead: the whole file, zoomed in to single samples at the
// start mark, and a tenth of a second where a tone ends; and the whole window,
// menu bar and frame, with the file split into pieces, and with a selection's
// fades and level. Writes waveform-whole.png, waveform-samples.png,
// waveform-tenth.png, waveform-split.png and waveform-levels.png into the folder given.
// Run with: scripts/contact-sheet waveform-picture
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/Form1.h"
#include "app/Shortcuts.h"
#include "support/DialogWatcher.h"
#include "support/Png.h"
#include "support/WindowTesting.h"

namespace {

// The picture of the whole window taken while its Split menu is open: a timer
// fires inside the menu's own message loop, takes it and closes the menu.
HWND menuWindow = nullptr;
bool menuShot = false;
std::wstring menuShotPath;
void CALLBACK TakeMenuShot(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    menuShot = testing_support::WritePng(menuShotPath, testing_support::CaptureWindow(menuWindow, false));
    ::EndMenu();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    const std::wstring folder = argv[1];
    testing_support::DialogWatcher watcher;  // answers "Playing the file" with OK
    app::Form1 form;
    form.Show();
    form.OpenMp3(testing_support::FixturePath(L"waveform\\tones.mp3"));
    if (!testing_support::PumpUntil([&] { return form.player().PlayState() == app::MediaPlayer::kPlaying; }, 10000))
        return 1;
    form.player().Pause();
    form.MoveStart(1.2);
    form.MoveEnd(3.4);
    form.player().SetCurrentPosition(2.25);
    form.ShowWaveform();
    app::WaveformWindow& waveform = *form.Waveform();
    if (!testing_support::PumpUntil([&] { return waveform.Peaks()->Finished(); }, 20000)) return 1;
    testing_support::PumpFor(200);
    if (!testing_support::WritePngInto(folder, L"waveform-whole.png", testing_support::PrintClient(waveform.Handle()))) return 1;

    // Closest zoom, the start mark a third into the view.
    const app::WaveformView& view = waveform.View();
    while (view.SamplesPerPixel() > app::WaveformView::kClosestSamplesPerPixel)
        waveform.ZoomAround(0.5, view.XOf(1.2 * 44100));
    waveform.ScrollTo(1.2 * 44100 - view.VisibleSamples() / 3);
    testing_support::PumpFor(200);
    if (!testing_support::WritePngInto(folder, L"waveform-samples.png", testing_support::PrintClient(waveform.Handle()))) return 1;

    // A tenth of a second around the end of the first tone.
    waveform.ZoomAround(4410 / view.VisibleSamples(), view.XOf(2.0 * 44100));
    waveform.ScrollTo(2.0 * 44100 - view.VisibleSamples() / 2);
    testing_support::PumpFor(200);
    if (!testing_support::WritePngInto(folder, L"waveform-tenth.png", testing_support::PrintClient(waveform.Handle()))) return 1;

    // Split into four pieces, seen whole with the window's frame and its Split menu open.
    for (double seconds : {0.8, 2.0, 3.6}) form.Splits().Add(static_cast<std::uint64_t>(seconds * 44100));
    ::SendMessageW(waveform.Handle(), WM_COMMAND, app::kWholeFile, 0);
    testing_support::PumpFor(300);
    menuWindow = waveform.Handle();
    menuShotPath = folder + L"\\waveform-split.png";
    ::SetTimer(nullptr, 0, 500, TakeMenuShot);
    ::SendMessageW(waveform.Handle(), WM_SYSCOMMAND, SC_KEYMENU, L's');
    if (!menuShot) return 1;
    std::wprintf(L"%ls\n", menuShotPath.c_str());

    // A wider selection faded in and out and raised by 3 dB, the whole window.
    form.Splits().RemoveAll();
    form.clearsel();
    form.MoveStart(0.5);
    form.MoveEnd(4.5);
    form.Levels().SetFadeIn(1.0);
    form.Levels().SetFadeOut(1.5);
    form.Levels().SetLevelDb(3);
    form.LevelsChanged();
    testing_support::PumpFor(300);
    return testing_support::WritePngInto(folder, L"waveform-levels.png", testing_support::CaptureWindow(waveform.Handle())) ? 0 : 1;
}
