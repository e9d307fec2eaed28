#pragma once
// The platform's visual-theme library, loaded by name when first asked for, so
// that the button also runs where the library is missing.
#include <windows.h>

#include <uxtheme.h>

namespace controls::imagebutton {

class ThemeApi {
public:
    // The library as this process found it, loaded on the first call.
    static const ThemeApi& Instance();

    bool Loaded() const noexcept { return isAppThemed_ != nullptr; }
    bool IsAppThemed() const noexcept { return isAppThemed_ && isAppThemed_(); }
    HTHEME Open(HWND window, const wchar_t* classes) const noexcept;
    void Close(HTHEME theme) const noexcept;
    HRESULT DrawBackground(HTHEME theme, HDC dc, int part, int state, const RECT& rect,
                           const RECT& clip) const noexcept;
    HRESULT BackgroundRegion(HTHEME theme, HDC dc, int part, int state, const RECT& rect, HRGN* region) const noexcept;

    ThemeApi(const ThemeApi&) = delete;
    ThemeApi& operator=(const ThemeApi&) = delete;

private:
    ThemeApi();

    BOOL(WINAPI* isAppThemed_)() = nullptr;
    HTHEME(WINAPI* openThemeData_)(HWND, LPCWSTR) = nullptr;
    HRESULT(WINAPI* closeThemeData_)(HTHEME) = nullptr;
    HRESULT(WINAPI* drawThemeBackground_)(HTHEME, HDC, int, int, const RECT*, const RECT*) = nullptr;
    HRESULT(WINAPI* getThemeBackgroundRegion_)(HTHEME, HDC, int, int, const RECT*, HRGN*) = nullptr;
};

// Theme data opened for a window, closed when this goes away.
class ThemeData {
public:
    ThemeData(HWND window, const wchar_t* classes) noexcept : theme_(ThemeApi::Instance().Open(window, classes)) {}
    ThemeData(const ThemeData&) = delete;
    ThemeData& operator=(const ThemeData&) = delete;
    ~ThemeData() {
        if (theme_) ThemeApi::Instance().Close(theme_);
    }
    HTHEME Get() const noexcept { return theme_; }

private:
    HTHEME theme_;
};

}  // namespace controls::imagebutton
