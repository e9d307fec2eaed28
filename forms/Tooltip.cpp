#include "forms/Tooltip.h"

#include <commctrl.h>

#include <type_traits>

#include "forms/AnsiText.h"

namespace forms {

namespace {
// The tool as the ANSI (id 0) or the wide messages (the control's window as id) know it.
template <typename Info>
Info ToolRecord(HWND control) {
    constexpr bool ansi = std::is_same_v<Info, TOOLINFOA>;
    Info info{};
    info.cbSize = ansi ? TTTOOLINFOA_V2_SIZE : TTTOOLINFOW_V2_SIZE;
    info.uFlags = ansi ? TTF_SUBCLASS : TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = control;
    info.uId = ansi ? 0 : reinterpret_cast<UINT_PTR>(control);
    return info;
}

template <typename Info, typename Text>
bool AddTool(HWND window, UINT message, HWND control, HINSTANCE instance, Text text) {
    Info info = ToolRecord<Info>(control);
    ::GetClientRect(control, &info.rect);
    info.hinst = instance;
    info.lpszText = text.data();  // copied by the tooltip
    return ::SendMessageW(window, message, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

template <typename Info>
void RemoveTool(HWND window, UINT message, HWND control) {
    Info info = ToolRecord<Info>(control);
    ::SendMessageW(window, message, 0, reinterpret_cast<LPARAM>(&info));
}

template <typename Text>
void SetTitle(HWND window, UINT message, int icon, const Text& title) {
    ::SendMessageW(window, message, static_cast<WPARAM>(icon), reinterpret_cast<LPARAM>(title.c_str()));
}
}  // namespace

void Tooltip::Create(HWND control, const TooltipLook& look) {
    Destroy();
    DWORD style = TTS_ALWAYSTIP | TTS_NOPREFIX;
    if (look.balloon) style |= TTS_BALLOON;
    const DWORD exStyle = look.rightToLeft ? WS_EX_LAYOUTRTL : 0;
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    window_ = ::CreateWindowExW(exStyle, TOOLTIPS_CLASSW, nullptr, style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, control, nullptr, instance, nullptr);
    if (!window_) return;
    control_ = control;
    ansi_ = look.ansi;
    if (look.dropShadow) ::SetClassLongPtrW(window_, GCL_STYLE, ::GetClassLongPtrW(window_, GCL_STYLE) | CS_DROPSHADOW);
    const bool added = look.ansi ? AddTool<TOOLINFOA>(window_, TTM_ADDTOOLA, control, instance, ToAnsi(look.text))
                                 : AddTool<TOOLINFOW>(window_, TTM_ADDTOOLW, control, instance, look.text);
    if (!added) return;
    if (look.title && look.ansi) SetTitle(window_, TTM_SETTITLEA, look.icon, ToAnsi(*look.title));
    if (look.title && !look.ansi) SetTitle(window_, TTM_SETTITLEW, look.icon, *look.title);
    if (look.maxWidth) ::SendMessageW(window_, TTM_SETMAXTIPWIDTH, 0, *look.maxWidth);
    if (look.foreColor) ::SendMessageW(window_, TTM_SETTIPTEXTCOLOR, static_cast<WPARAM>(*look.foreColor), 0);
    if (look.backColor) ::SendMessageW(window_, TTM_SETTIPBKCOLOR, static_cast<WPARAM>(*look.backColor), 0);
}

void Tooltip::Destroy() noexcept {
    if (!window_) return;
    if (ansi_)
        RemoveTool<TOOLINFOA>(window_, TTM_DELTOOLA, control_);
    else
        RemoveTool<TOOLINFOW>(window_, TTM_DELTOOLW, control_);
    ::DestroyWindow(window_);
    window_ = nullptr;
}

}  // namespace forms
