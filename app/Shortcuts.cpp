#include "app/Shortcuts.h"

#include <algorithm>

namespace app {

namespace {

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
    {kShowWaveform, 'W', false, false, L"W", {1}, L"show the waveform"},
};

}  // namespace

std::span<const Shortcut> MainWindowShortcuts() { return kShortcuts; }

bool RepeatsWhileHeld(WORD command) { return command >= kStartEarlier && command <= kEndLater; }

std::vector<ACCEL> AcceleratorTable(std::span<const Shortcut> shortcuts) {
    std::vector<ACCEL> table;
    for (const Shortcut& s : shortcuts) {
        // Virtual keys match with exactly the modifiers given, so Ctrl+I stays free and
        // plain arrows still reach the slider.
        const BYTE flags = FVIRTKEY | (s.control ? FCONTROL : 0) | (s.shift ? FSHIFT : 0);
        table.push_back(ACCEL{flags, s.key, s.command});
    }
    return table;
}

std::wstring ToolTipWithShortcuts(const std::wstring& caption, int button, std::span<const Shortcut> shortcuts) {
    std::wstring keys;
    for (const Shortcut& s : shortcuts)
        if (s.command == button) keys += (keys.empty() ? L"" : L", ") + std::wstring(s.name);
    std::wstring tip = keys.empty() ? caption : caption + L" (" + keys + L")";
    for (const Shortcut& s : shortcuts)
        if (std::ranges::find(s.tips, button) != std::end(s.tips)) tip += std::wstring(L"\r\n") + s.name + L": " + s.does;
    return tip == caption ? std::wstring() : tip;
}

}  // namespace app
