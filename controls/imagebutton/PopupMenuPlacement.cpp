#include "controls/imagebutton/PopupMenuPlacement.h"

namespace controls::imagebutton {

std::optional<MenuPlacement> PlacePopupMenu(int align, long flags, int width, int height) noexcept {
    constexpr long kRightAlign = TPM_RIGHTALIGN;    // 0x08
    constexpr long kBottomAlign = TPM_BOTTOMALIGN;  // 0x20
    switch (align) {
    case 0:
        return MenuPlacement{{0, height}, flags, false};
    case 1:
        return MenuPlacement{{0, 0}, kBottomAlign, true};
    case 2:
        return MenuPlacement{{0, 0}, flags | kRightAlign, true};
    case 3:
        return MenuPlacement{{width, 0}, flags, false};
    case 4:
        return MenuPlacement{{0, 0}, kBottomAlign | kRightAlign, true};
    case 5:
        return MenuPlacement{{0, height}, flags | kRightAlign, true};
    case 6:
        return MenuPlacement{{width, 0}, kBottomAlign, true};
    case 7:
        return MenuPlacement{{width, height}, flags, false};
    default:
        return std::nullopt;
    }
}

}  // namespace controls::imagebutton
