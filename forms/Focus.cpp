#include "forms/Focus.h"

namespace forms {

void MoveFocusToNextControl(HWND from, bool previous) noexcept {
    HWND form = ::GetAncestor(from, GA_ROOT);
    if (!form) return;
    if (HWND next = ::GetNextDlgTabItem(form, from, previous ? TRUE : FALSE)) ::SetFocus(next);
}

}  // namespace forms
