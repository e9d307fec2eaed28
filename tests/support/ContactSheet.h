#pragma once
// A white picture that buttons are drawn into, cell by cell, with labels beside
// them, saved as a PNG for people to look at.
#include <windows.h>

#include <string>

#include "base/Handles.h"
#include "forms/PixelBlock.h"

namespace testing_support {

class ContactSheet {
public:
    ContactSheet(int width, int height);

    void Label(int x, int y, int w, int h, const std::wstring& text);
    // Anything with DrawTo(HDC), drawn with its top-left corner at (x, y).
    template <typename Control>
    void Draw(int x, int y, Control& control) {
        POINT old{};
        ::SetViewportOrgEx(block_.Dc(), x, y, &old);
        control.DrawTo(block_.Dc());
        ::SetViewportOrgEx(block_.Dc(), old.x, old.y, nullptr);
    }
    bool Save(const std::wstring& path);

private:
    forms::PixelBlock block_;
    base::FontHandle font_;
};

}  // namespace testing_support
