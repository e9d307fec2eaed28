#pragma once
// A text box: the platform's edit control, owned by this object.
#include <windows.h>

#include <string>

namespace forms {

class TextBox {
public:
    TextBox(HWND parent, RECT bounds, std::wstring text, bool visible, bool multiLine = false);
    TextBox(const TextBox&) = delete;
    TextBox& operator=(const TextBox&) = delete;
    ~TextBox();

    HWND Handle() const noexcept { return hwnd_; }
    std::wstring Text() const;
    void SetText(const std::wstring& text);
    // Adds text at the end without rewriting what is there.
    void Append(const std::wstring& text);

private:
    HWND hwnd_ = nullptr;
};

}  // namespace forms
