#include "controls/imagebutton/ThemeApi.h"

namespace controls::imagebutton {

namespace {
template <typename Function>
void Find(HMODULE library, const char* name, Function& function) noexcept {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
}
}  // namespace

const ThemeApi& ThemeApi::Instance() {
    static const ThemeApi api;
    return api;
}

ThemeApi::ThemeApi() {
    // Kept loaded for the life of the process: buttons may draw with it at any time.
    HMODULE library = ::LoadLibraryW(L"uxtheme.dll");
    if (!library) return;
    Find(library, "OpenThemeData", openThemeData_);
    Find(library, "CloseThemeData", closeThemeData_);
    Find(library, "DrawThemeBackground", drawThemeBackground_);
    Find(library, "GetThemeBackgroundRegion", getThemeBackgroundRegion_);
    if (openThemeData_ && closeThemeData_ && drawThemeBackground_ && getThemeBackgroundRegion_)
        Find(library, "IsAppThemed", isAppThemed_);
}

HTHEME ThemeApi::Open(HWND window, const wchar_t* classes) const noexcept {
    return Loaded() ? openThemeData_(window, classes) : nullptr;
}

void ThemeApi::Close(HTHEME theme) const noexcept {
    if (Loaded()) closeThemeData_(theme);
}

HRESULT ThemeApi::DrawBackground(HTHEME theme, HDC dc, int part, int state, const RECT& rect,
                                 const RECT& clip) const noexcept {
    return Loaded() ? drawThemeBackground_(theme, dc, part, state, &rect, &clip) : E_NOTIMPL;
}

HRESULT ThemeApi::BackgroundRegion(HTHEME theme, HDC dc, int part, int state, const RECT& rect,
                                   HRGN* region) const noexcept {
    return Loaded() ? getThemeBackgroundRegion_(theme, dc, part, state, &rect, region) : E_NOTIMPL;
}

}  // namespace controls::imagebutton
