#include "forms/MousePointers.h"

#include <cstdint>
#include <iterator>
#include <vector>

namespace forms {

HCURSOR StandardCursor(short kind) noexcept {
    // Kinds 1 to 15 in order; 15 (size all) is 5 again.
    static const wchar_t* const kCursors[] = {IDC_ARROW,    IDC_CROSS,  IDC_IBEAM,       IDC_ICON,   IDC_SIZEALL,
                                              IDC_SIZENESW, IDC_SIZENS, IDC_SIZENWSE,    IDC_SIZEWE, IDC_UPARROW,
                                              IDC_WAIT,     IDC_NO,     IDC_APPSTARTING, IDC_HELP,   IDC_SIZEALL};
    if (kind < 1 || kind > static_cast<short>(std::size(kCursors))) return nullptr;
    return ::LoadCursorW(nullptr, kCursors[kind - 1]);
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
