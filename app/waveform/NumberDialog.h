#pragma once
// Runs a dialog template whose fields take numbers: the first field has the
// focus with its text selected; OK takes the numbers only when each is a number
// within its bounds, and otherwise names the field and keeps the dialog up.
#include <windows.h>

#include <optional>
#include <span>
#include <string>

namespace app {

struct NumberField {
    int id;              // the edit control
    const wchar_t* name; // as the message names it
    double value;        // shown when the dialog opens, and what was typed after OK
    double lowest;
    double highest;
    double step = 0;     // where not 0, the value must be a whole number of these
    std::span<const double> offered{};  // the values a drop-down combo box (in place of an edit control) lists
};

// The dialog `templateId` over `owner`, its fields filled in with their values
// and its check box (IDC_CHECK1, where `check` is given) set. True on OK, with
// the values and the check box's state read back.
bool RunNumberDialog(HWND owner, int templateId, std::span<NumberField> fields, bool* check = nullptr);

// A number as the dialogs show it ("-45", "0.5").
std::wstring NumberText(double value);

// The number a field's text holds ("." or "," before the fraction), or none.
std::optional<double> ParseFieldNumber(const wchar_t* text);

}  // namespace app
