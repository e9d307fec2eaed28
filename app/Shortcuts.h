#pragma once
// The main window's keyboard shortcuts: the command buttons' keys, and the keys
// that mark finely and show the waveform.
#include <windows.h>

#include <span>
#include <string>
#include <vector>

namespace app {

// Commands without a button of their own; a button's command is its number.
enum MarkCommand : WORD {
    kShowWaveform = 100,
    kStartEarlier,
    kStartLater,
    kEndEarlier,
    kEndLater,
    kHearStart,
    kHearEnd,
    kSnapToQuiet,
};

struct Shortcut {
    WORD command;         // a zembutton's number, or a MarkCommand
    WORD key;             // virtual key
    bool control;         // held with Ctrl
    bool shift;           // held with Shift
    const wchar_t* name;  // as the tooltips name it
    // The buttons whose tooltips name a key that is not their own, and what it does there.
    int tips[2];
    const wchar_t* does;
};

std::span<const Shortcut> MainWindowShortcuts();

// Whether holding the shortcut's key down repeats its command (moving a mark does).
bool RepeatsWhileHeld(WORD command);

// The platform's accelerator entries; each command is the shortcut's command.
std::vector<ACCEL> AcceleratorTable(std::span<const Shortcut> shortcuts);

// A button's tooltip naming its own shortcut, "Set Start (I)", and after it, a
// line each, the other keys that act on what the button does.
std::wstring ToolTipWithShortcuts(const std::wstring& caption, int button, std::span<const Shortcut> shortcuts);

}  // namespace app
