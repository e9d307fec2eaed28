#include "app/waveform/NumberDialog.h"

#include <cmath>
#include <cstdio>
#include <cwchar>
#include <string>

#include "app/waveform/DialogIds.h"
#include "base/MessageLoop.h"

namespace app {

namespace {

struct DialogState {
    std::span<NumberField> fields;
    bool* check;
};

// Selects the whole text of a field, an edit control or a combo box's.
void SelectAll(HWND dialog, const NumberField& field) {
    HWND control = ::GetDlgItem(dialog, field.id);
    if (field.offered.empty())
        ::SendMessageW(control, EM_SETSEL, 0, -1);
    else
        ::SendMessageW(control, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

bool ReadFields(HWND dialog, DialogState& state) {
    for (NumberField& field : state.fields) {
        wchar_t text[64] = {};
        ::GetDlgItemTextW(dialog, field.id, text, 64);
        const std::optional<double> value = ParseFieldNumber(text);
        const bool offStep = value && field.step > 0 &&
                             std::abs(*value / field.step - std::round(*value / field.step)) > 1e-9;
        if (!value || *value < field.lowest || *value > field.highest || offStep) {
            const std::wstring steps = field.step > 0 ? L" in steps of " + NumberText(field.step) : L"";
            base::ShowMessage(dialog,
                              std::wstring(field.name) + L" must be a number from " + NumberText(field.lowest) +
                                  L" to " + NumberText(field.highest) + steps + L".",
                              MB_OK | MB_ICONERROR);
            ::SetFocus(::GetDlgItem(dialog, field.id));
            SelectAll(dialog, field);
            return false;
        }
        field.value = *value;
    }
    if (state.check) *state.check = ::IsDlgButtonChecked(dialog, IDC_CHECK1) == BST_CHECKED;
    return true;
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        auto& state = *reinterpret_cast<DialogState*>(lParam);
        for (const NumberField& field : state.fields) {
            for (double value : field.offered)
                ::SendDlgItemMessageW(dialog, field.id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(NumberText(value).c_str()));
            ::SetDlgItemTextW(dialog, field.id, NumberText(field.value).c_str());
        }
        if (state.check) ::CheckDlgButton(dialog, IDC_CHECK1, *state.check ? BST_CHECKED : BST_UNCHECKED);
        if (!state.fields.empty()) {
            ::SetFocus(::GetDlgItem(dialog, state.fields.front().id));
            SelectAll(dialog, state.fields.front());
            return FALSE;  // the focus is set
        }
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            auto& state = *reinterpret_cast<DialogState*>(::GetWindowLongPtrW(dialog, DWLP_USER));
            if (ReadFields(dialog, state)) ::EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            ::EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    default:
        break;
    }
    return FALSE;
}

}  // namespace

std::wstring NumberText(double value) {
    wchar_t text[32];
    std::swprintf(text, 32, L"%g", value);
    return text;
}

std::optional<double> ParseFieldNumber(const wchar_t* text) {
    std::wstring number = text;
    for (wchar_t& c : number)
        if (c == L',') c = L'.';
    wchar_t* end = nullptr;
    const double value = std::wcstod(number.c_str(), &end);
    while (end && *end == L' ') ++end;
    if (end == number.c_str() || (end && *end) || !std::isfinite(value)) return std::nullopt;
    return value;
}

bool RunNumberDialog(HWND owner, int templateId, std::span<NumberField> fields, bool* check) {
    DialogState state{fields, check};
    return ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner, DialogProc,
                             reinterpret_cast<LPARAM>(&state)) == IDOK;
}

}  // namespace app
