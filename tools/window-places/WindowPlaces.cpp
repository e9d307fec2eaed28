// Draws the main window as the keyboard user sees it, with the focus Tab moved on
// from Select MP3, and the whole screen as the main window and the waveform
// window first open. Writes main-focus.png and windows-first-open.png into the
// folder given.
// Run with: scripts/contact-sheet window-places
#include <windows.h>

#include <string>

#include "app/Form1.h"
#include "support/DialogWatcher.h"
#include "support/Png.h"
#include "support/WindowTesting.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    const std::wstring folder = argv[1];
    testing_support::DialogWatcher watcher;
    // A key of its own, emptied: the windows open where a new user's would.
    const app::UserSettings settings(L"Software\\Snipmill Pictures");
    settings.Clear();
    app::Form1 form(settings);
    form.Show();
    form.OpenMp3(testing_support::FixturePath(L"waveform\\tones.mp3"));
    if (!testing_support::PumpUntil([&] { return form.player().PlayState() == app::MediaPlayer::kPlaying; }, 10000))
        return 1;
    form.player().Pause();
    ::SetForegroundWindow(form.Handle());
    ::SetFocus(form.zembutton(1).hWnd());
    testing_support::UserTypes(VK_TAB);
    if (!testing_support::PumpUntil([&] { return ::GetFocus() != form.zembutton(1).hWnd(); }, 3000)) return 1;
    testing_support::PumpFor(200);
    if (!testing_support::WritePngInto(folder, L"main-focus.png", testing_support::CaptureWindow(form.Handle()))) return 1;

    form.ShowWaveform();
    if (!testing_support::PumpUntil([&] { return form.Waveform()->Peaks()->Finished(); }, 20000)) return 1;
    testing_support::PumpFor(300);
    const bool written =
        testing_support::WritePngInto(folder, L"windows-first-open.png", testing_support::CaptureWindow(::GetDesktopWindow(), false));
    settings.Clear();
    return written ? 0 : 1;
}
