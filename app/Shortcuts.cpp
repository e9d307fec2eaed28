#include "app/Shortcuts.h"

namespace app {

namespace {

const Shortcut kShortcuts[] = {
    {7, VK_SPACE, false, L"Space"},  // Pause/Play
    {2, 'I', false, L"I"},           // Set Start
    {3, 'O', false, L"O"},           // Set End
    {4, 'P', false, L"P"},           // Play Selection
    {1, 'O', true, L"Ctrl+O"},       // Select MP3
    {5, 'S', true, L"Ctrl+S"},       // Save Selection
    {6, 'N', true, L"Ctrl+N"},       // New Selection
};

}  // namespace

std::span<const Shortcut> MainWindowShortcuts() { return kShortcuts; }

std::vector<ACCEL> AcceleratorTable(std::span<const Shortcut> shortcuts) {
    std::vector<ACCEL> table;
    for (const Shortcut& s : shortcuts) {
        // Virtual keys match with exactly the modifiers given, so Shift+I or Ctrl+I stay free.
        const BYTE flags = FVIRTKEY | (s.control ? FCONTROL : 0);
        table.push_back(ACCEL{flags, s.key, static_cast<WORD>(s.button)});
    }
    return table;
}

std::wstring ToolTipWithShortcut(const std::wstring& caption, const Shortcut& shortcut) {
    return caption + L" (" + shortcut.name + L")";
}

}  // namespace app
