#pragma once
// A picture of many buttons side by side, with labels, saved as a PNG for
// people to look at.
#include <windows.h>

#include <memory>
#include <string>

#include "base/Handles.h"
#include "controls/imagebutton/PixelBlock.h"
#include "controls/imagebutton/zembutton.h"
#include "forms/Picture.h"

namespace bench {

class ContactSheet {
public:
    ContactSheet(int width, int height);

    void Label(int x, int y, int w, int h, const std::wstring& text);
    // The button as it draws itself, with its top-left corner at (x, y).
    void Button(int x, int y, controls::zembutton& button);
    bool Save(const std::wstring& path);

private:
    controls::imagebutton::PixelBlock block_;
    base::FontHandle font_;
};

// A 16 x 16 picture of 24 bits: a green disc with a white shine on the mask colour.
std::shared_ptr<forms::Picture> Disc();

}  // namespace bench
