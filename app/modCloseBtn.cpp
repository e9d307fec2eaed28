#include "app/modCloseBtn.h"

#include <cstddef>

namespace app {

namespace {
// The id the Close item carries while it is switched off.
constexpr UINT kClosedId = static_cast<UINT>(-10);
// MENUITEMINFOA without its trailing hbmpItem field, the record's older and shorter
// form (72 bytes in this 64-bit build, 44 in a 32-bit one).
constexpr UINT kMenuItemInfoSize = offsetof(MENUITEMINFOA, hbmpItem);
}  // namespace

std::int16_t SwitchCloseCommand(HWND hWnd, const bool& Enable) {
    if (!::IsWindow(hWnd)) return -1;
    HMENU menu = ::GetSystemMenu(hWnd, FALSE);
    const UINT currentId = Enable ? kClosedId : SC_CLOSE;
    const UINT newId = Enable ? SC_CLOSE : kClosedId;

    MENUITEMINFOA item{};
    item.cbSize = kMenuItemInfoSize;
    item.fMask = MIIM_STATE;
    if (!::GetMenuItemInfoA(menu, currentId, FALSE, &item)) return -1;

    item.fMask = MIIM_ID;
    item.wID = newId;
    if (!::SetMenuItemInfoA(menu, currentId, FALSE, &item)) return -2;

    if (Enable)
        item.fState &= ~static_cast<UINT>(MFS_GRAYED);
    else
        item.fState |= MFS_GRAYED;
    item.fMask = MIIM_STATE;
    if (!::SetMenuItemInfoA(menu, newId, FALSE, &item)) return -3;

    // Redraw the title bar now, with the changed close box.
    ::SendMessageA(hWnd, WM_NCACTIVATE, static_cast<WPARAM>(-1), 0);
    return 0;
}

}  // namespace app
