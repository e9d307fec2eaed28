#pragma once
// The program's command table: each command's key, the tooltips that name it,
// the waveform window's menu item that runs it and what it needs to be usable.
// The keys, the menus and the tooltips are all made from it.
#include <windows.h>

#include <string>
#include <vector>

#include "base/Handles.h"

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
    kSplitHere,
};

// The waveform window's own commands.
enum WaveformCommand : WORD {
    kMainWindow = 200,
    kZoomIn,
    kZoomOut,
    kWholeFile,
    kShowFileStart,
    kShowFileEnd,
    kDecibels,
    kSavePieces,
    kImportCueSheet,
    kExportCueSheet,
    kCloseWaveform,
    kRemoveSplitPoint,
    kFindPauses,
    kSplitEvery,
    kRemoveAllSplitPoints,
    kFadeIn,
    kFadeOut,
    kChangeLevel,
    kNormalize,
    kNoLevelChange,
    kNormalizeLoudness,
    kMeasureLoudness,
    kReplayGainTags,
};

// Which windows a command's key works in.
enum class KeyScope : unsigned char { Main = 1, Waveform = 2, Both = 3 };
// The waveform window's menus, in the order of its menu bar.
enum class MenuName : unsigned char { None, File, Split, Level, View };
// What must be there for a command to be usable.
enum class Needs : unsigned char { Nothing, File, SplitPoint, Selection };

struct Shortcut {
    WORD command;         // a zembutton's number, a MarkCommand or a WaveformCommand
    WORD key;             // virtual key; 0 for a command that has none
    bool control;         // held with Ctrl
    bool shift;           // held with Shift
    const wchar_t* name;  // the key as the tooltips and menus name it
    // The buttons whose tooltips name a key that is not their own, and what it does there.
    int tips[2];
    const wchar_t* does;
    KeyScope scope = KeyScope::Both;
    MenuName menu = MenuName::None;
    const wchar_t* menuText = nullptr;  // with its access key; the key's name follows it
    Needs needs = Needs::Nothing;
    bool separatorBefore = false;  // in its menu
};

// The table's rows whose keys work in the main window, and in the waveform window.
std::vector<Shortcut> MainWindowShortcuts();
std::vector<Shortcut> WaveformShortcuts();

// Whether holding the shortcut's key down repeats its command (moving a mark and zooming do).
bool RepeatsWhileHeld(WORD command);

// The platform's accelerator entries; each command is the shortcut's command.
std::vector<ACCEL> AcceleratorTable(const std::vector<Shortcut>& shortcuts);

// A button's tooltip naming its own shortcut, "Set Start (I)", and after it, a
// line each, the other keys that act on what the button does.
std::wstring ToolTipWithShortcuts(const std::wstring& caption, int button, const std::vector<Shortcut>& shortcuts);

// The waveform window's menu bar: "&File", "&Split", "&Level", "&View", each item with its key.
base::MenuHandle WaveformMenuBar();

// What the commands' rules ask of the window's state.
struct CommandState {
    bool fileLoaded = false;
    bool hasSplitPoints = false;
    bool hasSelection = false;  // a start and a length set
    bool decibels = false;  // the waveform's scale, shown as a check mark
    bool replayGainTags = false;  // whether saves write ReplayGain tags, shown as a check mark
};
// Greys or enables each item of the menu by its command's rule.
void EnableMenuItems(HMENU menu, const CommandState& state);

}  // namespace app
