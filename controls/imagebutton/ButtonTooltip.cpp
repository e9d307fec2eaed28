#include "controls/imagebutton/ButtonTooltip.h"

#include <commctrl.h>

namespace controls::imagebutton {

void ButtonTooltip::Create(HWND tool, const TooltipLook& look) {
    Destroy();
    DWORD style = TTS_ALWAYSTIP | TTS_NOPREFIX;
    if (look.balloon) style |= TTS_BALLOON;
    const DWORD exStyle = look.rightToLeft ? WS_EX_LAYOUTRTL : 0;
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    window_ = ::CreateWindowExW(exStyle, TOOLTIPS_CLASSW, nullptr, style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, tool, nullptr, instance, nullptr);
    if (!window_) return;
    // The drop shadow is a class style: every tooltip of the process gets it from now on.
    ::SetClassLongPtrW(window_, GCL_STYLE, ::GetClassLongPtrW(window_, GCL_STYLE) | CS_DROPSHADOW);

    TOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = tool;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.hinst = instance;
    ::GetClientRect(tool, &info.rect);
    std::wstring text = look.text;
    info.lpszText = text.data();
    ::SendMessageW(window_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    if (!look.title.empty())
        ::SendMessageW(window_, TTM_SETTITLEW, static_cast<WPARAM>(look.icon),
                       reinterpret_cast<LPARAM>(look.title.c_str()));
    ::SendMessageW(window_, TTM_SETMAXTIPWIDTH, 0, kMaxWidth);
    if (look.backColor != 0) ::SendMessageW(window_, TTM_SETTIPBKCOLOR, static_cast<WPARAM>(look.backColor), 0);
}

void ButtonTooltip::Destroy() noexcept {
    if (window_) ::DestroyWindow(window_);
    window_ = nullptr;
}

}  // namespace controls::imagebutton
