#include "app/Shortcuts.h"

#include <algorithm>

namespace app {

namespace {

using enum KeyScope;
using enum MenuName;

const Shortcut kShortcuts[] = {
    {7, VK_SPACE, false, false, L"Space", {}, nullptr},  // Pause/Play, where no button has the focus
    {7, 'K', false, false, L"K", {}, nullptr},           // Pause/Play everywhere, as in media players
    {2, 'I', false, false, L"I", {}, nullptr},           // Set Start
    {3, 'O', false, false, L"O", {}, nullptr},           // Set End
    {4, 'P', false, false, L"P", {}, nullptr},           // Play Selection
    {1, 'O', true, false, L"Ctrl+O", {}, nullptr},       // Select MP3
    {5, 'S', true, false, L"Ctrl+S", {}, nullptr},       // Save Selection
    {6, 'N', true, false, L"Ctrl+N", {}, nullptr},       // New Selection
    {kStartEarlier, VK_LEFT, true, false, L"Ctrl+Left", {2}, L"start 10 ms earlier"},
    {kStartLater, VK_RIGHT, true, false, L"Ctrl+Right", {2}, L"start 10 ms later"},
    {kHearStart, 'I', false, true, L"Shift+I", {2}, L"play 2 s from the start"},
    {kEndEarlier, VK_LEFT, true, true, L"Ctrl+Shift+Left", {3}, L"end 10 ms earlier"},
    {kEndLater, VK_RIGHT, true, true, L"Ctrl+Shift+Right", {3}, L"end 10 ms later"},
    {kHearEnd, 'O', false, true, L"Shift+O", {3}, L"play the 2 s before the end"},
    {kSnapToQuiet, 'Q', false, false, L"Q", {2, 3}, L"move the mark nearer the playhead to a pause"},
    {kShowWaveform, 'W', false, false, L"W", {1}, L"show the waveform", Main},
    {kSplitHere, 'M', false, false, L"M", {1}, L"split the file at the playhead", Both, Split, L"Split &Here", Needs::File},

    // The waveform window's own.
    {kMainWindow, 'W', false, false, L"W", {}, nullptr, Waveform},
    {kSavePieces, 'S', true, true, L"Ctrl+Shift+S", {}, nullptr, Waveform, File, L"&Save Pieces...", Needs::File},
    {kImportCueSheet, 0, false, false, nullptr, {}, nullptr, Waveform, File, L"&Import Cue Sheet...", Needs::File, true},
    {kExportCueSheet, 0, false, false, nullptr, {}, nullptr, Waveform, File, L"&Export Cue Sheet...", Needs::File},
    {kCloseWaveform, 0, false, false, nullptr, {}, nullptr, Waveform, File, L"&Close", Needs::Nothing, true},
    {kRemoveSplitPoint, VK_DELETE, false, false, L"Del", {}, nullptr, Waveform, Split, L"&Remove Split Point",
     Needs::SplitPoint},
    {kFindPauses, 'F', true, false, L"Ctrl+F", {}, nullptr, Waveform, Split, L"&Find Pauses...", Needs::File, true},
    {kSplitEvery, 0, false, false, nullptr, {}, nullptr, Waveform, Split, L"Split &Every...", Needs::File},
    {kRemoveAllSplitPoints, 0, false, false, nullptr, {}, nullptr, Waveform, Split, L"Remove &All Split Points",
     Needs::SplitPoint, true},
    {kFadeIn, 0, false, false, nullptr, {}, nullptr, Waveform, Level, L"Fade &In...", Needs::Selection},
    {kFadeOut, 0, false, false, nullptr, {}, nullptr, Waveform, Level, L"Fade &Out...", Needs::Selection},
    {kChangeLevel, 0, false, false, nullptr, {}, nullptr, Waveform, Level, L"Change &Level...", Needs::Selection, true},
    {kNormalize, 0, false, false, nullptr, {}, nullptr, Waveform, Level, L"&Normalize", Needs::Selection},
    {kNormalizeLoudness, 0, false, false, nullptr, {}, nullptr, Waveform, Level, L"Normalize Lou&dness...",
     Needs::Selection},
    {kNoLevelChange, 0, false, false, nullptr, {}, nullptr, Waveform, Level, L"No Level &Change", Needs::Selection,
     true},
    {kMeasureLoudness, 0, false, false, nullptr, {}, nullptr, Waveform, Level, L"&Measure Loudness...", Needs::File,
     true},
    {kReplayGainTags, 0, false, false, nullptr, {}, nullptr, Waveform, Level, L"Write &ReplayGain Tags"},
    {kZoomIn, VK_ADD, false, false, L"+", {}, nullptr, Waveform, View, L"Zoom &In", Needs::File},
    {kZoomIn, VK_OEM_PLUS, false, false, L"+", {}, nullptr, Waveform},
    {kZoomIn, VK_OEM_PLUS, false, true, L"+", {}, nullptr, Waveform},
    {kZoomOut, VK_SUBTRACT, false, false, L"-", {}, nullptr, Waveform, View, L"Zoom &Out", Needs::File},
    {kZoomOut, VK_OEM_MINUS, false, false, L"-", {}, nullptr, Waveform},
    {kWholeFile, 0, false, false, nullptr, {}, nullptr, Waveform, View, L"&Whole File", Needs::File},
    {kShowFileStart, VK_HOME, false, false, L"Home", {}, nullptr, Waveform, View, L"File &Start", Needs::File, true},
    {kShowFileEnd, VK_END, false, false, L"End", {}, nullptr, Waveform, View, L"File E&nd", Needs::File},
    {kDecibels, 0, false, false, nullptr, {}, nullptr, Waveform, View, L"&Decibels", Needs::Nothing, true},
};

std::vector<Shortcut> ShortcutsFor(KeyScope window) {
    std::vector<Shortcut> rows;
    for (const Shortcut& s : kShortcuts)
        if (static_cast<unsigned>(s.scope) & static_cast<unsigned>(window)) rows.push_back(s);
    return rows;
}

}  // namespace

std::vector<Shortcut> MainWindowShortcuts() { return ShortcutsFor(Main); }
std::vector<Shortcut> WaveformShortcuts() { return ShortcutsFor(Waveform); }

bool RepeatsWhileHeld(WORD command) {
    return (command >= kStartEarlier && command <= kEndLater) || command == kZoomIn || command == kZoomOut;
}

std::vector<ACCEL> AcceleratorTable(const std::vector<Shortcut>& shortcuts) {
    std::vector<ACCEL> table;
    for (const Shortcut& s : shortcuts) {
        if (s.key == 0) continue;
        // Virtual keys match with exactly the modifiers given, so Ctrl+I stays free and
        // plain arrows still reach the slider.
        const BYTE flags = FVIRTKEY | (s.control ? FCONTROL : 0) | (s.shift ? FSHIFT : 0);
        table.push_back(ACCEL{flags, s.key, s.command});
    }
    return table;
}

std::wstring ToolTipWithShortcuts(const std::wstring& caption, int button, const std::vector<Shortcut>& shortcuts) {
    std::wstring keys;
    for (const Shortcut& s : shortcuts)
        if (s.command == button) keys += (keys.empty() ? L"" : L", ") + std::wstring(s.name);
    std::wstring tip = keys.empty() ? caption : caption + L" (" + keys + L")";
    for (const Shortcut& s : shortcuts)
        if (std::ranges::find(s.tips, button) != std::end(s.tips)) tip += std::wstring(L"\r\n") + s.name + L": " + s.does;
    return tip == caption ? std::wstring() : tip;
}

base::MenuHandle WaveformMenuBar() {
    const std::pair<MenuName, const wchar_t*> menus[] = {
        {File, L"&File"}, {Split, L"&Split"}, {Level, L"&Level"}, {View, L"&View"}};
    base::MenuHandle bar(::CreateMenu());
    for (const auto& [menu, title] : menus) {
        HMENU popup = ::CreatePopupMenu();
        for (const Shortcut& s : kShortcuts) {
            if (s.menu != menu || !s.menuText) continue;
            if (s.separatorBefore && ::GetMenuItemCount(popup) > 0) ::AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
            std::wstring text = s.menuText;
            if (s.name) text += std::wstring(L"\t") + s.name;
            ::AppendMenuW(popup, MF_STRING, s.command, text.c_str());
        }
        // The bar owns its popups from here on.
        ::AppendMenuW(bar.Get(), MF_POPUP, reinterpret_cast<UINT_PTR>(popup), title);
    }
    return bar;
}

void EnableMenuItems(HMENU menu, const CommandState& state) {
    for (const Shortcut& s : kShortcuts) {
        if (!s.menuText) continue;
        const bool usable = s.needs == Needs::Nothing || (s.needs == Needs::File && state.fileLoaded) ||
                            (s.needs == Needs::SplitPoint && state.hasSplitPoints) ||
                            (s.needs == Needs::Selection && state.hasSelection);
        ::EnableMenuItem(menu, s.command, MF_BYCOMMAND | (usable ? MF_ENABLED : MF_GRAYED));
    }
    ::CheckMenuItem(menu, kDecibels, MF_BYCOMMAND | (state.decibels ? MF_CHECKED : MF_UNCHECKED));
    ::CheckMenuItem(menu, kReplayGainTags, MF_BYCOMMAND | (state.replayGainTags ? MF_CHECKED : MF_UNCHECKED));
}

}  // namespace app
