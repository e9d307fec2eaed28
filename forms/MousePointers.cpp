#include "forms/MousePointers.h"

#include <cstdint>
#include <vector>

namespace forms {

HCURSOR StandardCursor(short kind) noexcept {
    const wchar_t* id = nullptr;
    switch (kind) {
    case 1:
        id = IDC_ARROW;
        break;
    case 2:
        id = IDC_CROSS;
        break;
    case 3:
        id = IDC_IBEAM;
        break;
    case 4:
        id = IDC_ICON;
        break;
    case 5:
        id = IDC_SIZEALL;
        break;
    case 6:
        id = IDC_SIZENESW;
        break;
    case 7:
        id = IDC_SIZENS;
        break;
    case 8:
        id = IDC_SIZENWSE;
        break;
    case 9:
        id = IDC_SIZEWE;
        break;
    case 10:
        id = IDC_UPARROW;
        break;
    case 11:
        id = IDC_WAIT;
        break;
    case 12:
        id = IDC_NO;
        break;
    case 13:
        id = IDC_APPSTARTING;
        break;
    case 14:
        id = IDC_HELP;
        break;
    case 15:
        id = IDC_SIZEALL;
        break;
    default:
        return nullptr;
    }
    return ::LoadCursorW(nullptr, id);
}

base::IconHandle CursorFromBitmap(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !::GetObjectW(bitmap, sizeof info, &info)) return {};
    const int height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    // An AND mask of zeros keeps every pixel of the colour bitmap: nothing of the screen shows through.
    const std::vector<std::uint8_t> zeros(static_cast<std::size_t>((info.bmWidth + 15) / 16 * 2) * height, 0);
    base::BitmapHandle mask(::CreateBitmap(info.bmWidth, height, 1, 1, zeros.data()));
    if (!mask) return {};
    ICONINFO icon{FALSE, 0, 0, mask.Get(), bitmap};
    return base::IconHandle(::CreateIconIndirect(&icon));
}

}  // namespace forms
