#include "app/waveform/LevelDialogs.h"

namespace app {

namespace {

struct DialogState {
    const std::wstring* text;
    const TakeField* take;
};

void SelectField(HWND dialog) {
    HWND field = ::GetDlgItem(dialog, IDC_LEVEL_FIELD);
    ::SetFocus(field);
    ::SendMessageW(field, EM_SETSEL, 0, -1);
}

std::wstring FieldText(HWND dialog) {
    HWND field = ::GetDlgItem(dialog, IDC_LEVEL_FIELD);
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(field)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(field, text.data(), static_cast<int>(text.size()))));
    return text;
}

INT_PTR CALLBACK LevelDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        const auto* state = reinterpret_cast<const DialogState*>(lParam);
        ::SetDlgItemTextW(dialog, IDC_LEVEL_FIELD, state->text->c_str());
        SelectField(dialog);
        return FALSE;  // the focus is set
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            const auto* state = reinterpret_cast<const DialogState*>(::GetWindowLongPtrW(dialog, DWLP_USER));
            if ((*state->take)(dialog, FieldText(dialog)))
                ::EndDialog(dialog, IDOK);
            else
                SelectField(dialog);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            ::EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

bool RunLevelDialog(HWND owner, int id, const std::wstring& text, const TakeField& take) {
    DialogState state{&text, &take};
    return ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), owner, &LevelDialogProc,
                             reinterpret_cast<LPARAM>(&state)) == IDOK;
}

}  // namespace app
