#include "controls/themedbutton/ButtonTooltip.h"

#include <commctrl.h>

#include "controls/themedbutton/AnsiText.h"

namespace controls::themedbutton {

void ButtonTooltip::Build(HWND tool, const TooltipLook& look) {
    TearDown();
    DWORD style = TTS_ALWAYSTIP | TTS_NOPREFIX;
    if (look.balloon) style |= TTS_BALLOON;
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    window_ = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, tool, nullptr, instance, nullptr);
    if (!window_) return;
    text_ = ToAnsi(look.text);
    tool_ = TOOLINFOA{};
    tool_.cbSize = TTTOOLINFOA_V2_SIZE;
    tool_.uFlags = TTF_SUBCLASS;
    tool_.hwnd = tool;
    tool_.uId = 0;
    ::GetClientRect(tool, &tool_.rect);
    tool_.hinst = instance;
    tool_.lpszText = text_.data();
    if (!::SendMessageW(window_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool_))) return;
    if (!look.title.empty() || look.icon != 0) {
        const std::string title = ToAnsi(look.title);
        ::SendMessageW(window_, TTM_SETTITLEA, static_cast<WPARAM>(look.icon), reinterpret_cast<LPARAM>(title.c_str()));
    }
    if (look.foreColor) ::SendMessageW(window_, TTM_SETTIPTEXTCOLOR, static_cast<WPARAM>(*look.foreColor), 0);
    if (look.backColor) ::SendMessageW(window_, TTM_SETTIPBKCOLOR, static_cast<WPARAM>(*look.backColor), 0);
}

void ButtonTooltip::TearDown() noexcept {
    if (!window_) return;
    ::SendMessageW(window_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool_));
    ::DestroyWindow(window_);
    window_ = nullptr;
}

}  // namespace controls::themedbutton
