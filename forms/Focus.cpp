#include "forms/Focus.h"

#include "forms/Form.h"

namespace forms {

void MoveFocusToNextControl(HWND from, bool previous) noexcept {
    HWND root = ::GetAncestor(from, GA_ROOT);
    if (auto* form = dynamic_cast<Form*>(Window::FromHandle(root))) {
        form->MoveFocus(previous);
        return;
    }
    if (HWND next = root ? ::GetNextDlgTabItem(root, from, previous ? TRUE : FALSE) : nullptr) ::SetFocus(next);
}

bool OutOfView(HWND child) noexcept {
    HWND parent = ::GetParent(child);
    if (!parent || (::GetWindowLongW(child, GWL_STYLE) & WS_CHILD) == 0) return false;
    RECT area{};
    RECT client{};
    ::GetWindowRect(child, &area);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
    ::GetClientRect(parent, &client);
    RECT common{};
    return !::IntersectRect(&common, &area, &client);
}

}  // namespace forms
