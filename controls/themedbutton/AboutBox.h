#pragma once
// The themed button's small About window: its name, its version and a Close
// button it draws itself. It floats as a top-level window and is only hidden
// when closed.
#include <string>

#include "forms/Window.h"

namespace controls::themedbutton {

class AboutBox : public forms::Window {
public:
    static constexpr DWORD kFrameStyle = 0x00C60000;  // title bar and sizing border

    // baseStyle: the window style recorded when the button was made.
    explicit AboutBox(DWORD baseStyle) : baseStyle_(baseStyle) {}

    // Made on first use, then shown topmost; owner is the window it floats above.
    void Show(HWND owner, const std::wstring& name, const std::wstring& version);
    bool Visible() const noexcept;
    RECT CloseButton() const noexcept;
    bool ClosePressed() const noexcept { return pressed_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC dc) const;

    DWORD baseStyle_;
    std::wstring name_;
    std::wstring version_;
    bool pressed_ = false;
};

}  // namespace controls::themedbutton
