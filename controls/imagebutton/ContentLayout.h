#pragma once
// Where the caption, the picture and the drop-down symbol go on a button face.
// Pure arithmetic on sizes, so that it is checked without a window.
#include <windows.h>

namespace controls::imagebutton {

struct ContentInput {
    int width = 0;
    int height = 0;
    SIZE caption{};             // the caption's measured size
    bool captionBlank = false;  // nothing but spaces
    int pictureWidth = 0;       // the picture of the present state; 0 without one
    int pictureHeight = 0;
    bool hasPicture = false;  // PictureNormal is set
    int captionAlign = 1;
    int pictureAlign = 1;
    int dropDownSymbol = 0;
    bool dropDownSeparator = false;
    int style = 0;
    int state = 0;
};

struct ContentLayout {
    RECT caption{};
    RECT picture{};
    RECT symbol{};
};

// How much of the width the caption may not use (the drop-down area).
int CaptionReserve(int dropDownSymbol, bool dropDownSeparator, int pictureAlign) noexcept;

// The rectangles before a pressed style moves them.
ContentLayout LayOutContent(const ContentInput& input) noexcept;

// What a pressed button of the style moves the content by (0 or 1 both ways).
int PressOffset(int style, int state) noexcept;

// What a pressed button of the style moves its drop-down symbol by, on top of PressOffset.
int SymbolPressOffset(int style, int state) noexcept;

}  // namespace controls::imagebutton
