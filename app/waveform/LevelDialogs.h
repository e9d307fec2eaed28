#pragma once
// The Level menu's dialogs: one field each, the length of a fade or the change
// of level. Their templates are in LevelDialogs.rc, which snipmill.rc includes.
#define IDD_FADE_IN 101
#define IDD_FADE_OUT 102
#define IDD_CHANGE_LEVEL 103
#define IDC_LEVEL_PROMPT 1001
#define IDC_LEVEL_FIELD 1002

#ifndef RC_INVOKED
#include <windows.h>

#include <functional>
#include <string>

namespace app {

// Shows the dialog `id` over `owner` with `text` in its field, which has the
// focus with its text selected. OK hands the dialog and the field's text to
// `take`, which says whether it took it; where not, having told the user why
// over the dialog, the dialog stays. True when the user chose OK and it was taken.
using TakeField = std::function<bool(HWND dialog, const std::wstring& text)>;
bool RunLevelDialog(HWND owner, int id, const std::wstring& text, const TakeField& take);

}  // namespace app
#endif
