#pragma once
// A push button: the platform's button control, owned by this object, whose
// clicks its form routes back to it as the Click event.
#include <windows.h>

#include <string>

#include "base/Event.h"

namespace forms {

class Form;

class CommandButton {
public:
    CommandButton(Form& form, RECT bounds, const std::wstring& caption, bool visible);
    CommandButton(const CommandButton&) = delete;
    CommandButton& operator=(const CommandButton&) = delete;
    ~CommandButton();

    HWND Handle() const noexcept { return hwnd_; }
    std::wstring Caption() const;

    base::Event<> Click;

private:
    HWND hwnd_ = nullptr;
};

}  // namespace forms
