#pragma once
// The main window's keyboard shortcuts: each one stands for a command button.
#include <windows.h>

#include <span>
#include <string>
#include <vector>

namespace app {

struct Shortcut {
    int button;           // the zembutton whose command the shortcut runs
    WORD key;             // virtual key
    bool control;         // held with Ctrl
    const wchar_t* name;  // as the button's tooltip names it
};

std::span<const Shortcut> MainWindowShortcuts();

// The platform's accelerator entries; each command is its button's number.
std::vector<ACCEL> AcceleratorTable(std::span<const Shortcut> shortcuts);

// A button's tooltip naming its shortcut: "Set Start (I)".
std::wstring ToolTipWithShortcut(const std::wstring& caption, const Shortcut& shortcut);

}  // namespace app
