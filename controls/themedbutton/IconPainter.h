#pragma once
// Drawing the button's icon: scaled, through a mask colour, as a grey
// silhouette for the hot shadow, or converted to grey for a disabled button.
#include <windows.h>

#include <memory>
#include <optional>

#include "base/Handles.h"
#include "forms/Picture.h"
#include "forms/PixelBlock.h"

namespace controls::themedbutton {

// The picture stretched to size x size at (x, y).
void DrawScaled(HDC dc, const forms::Picture& picture, int x, int y, int size);

struct MaskedLook {
    long transparent = 0;              // source pixels of this colour leave the surface as it is
    std::optional<long> silhouette;    // every other pixel in this colour, if given
    bool grey = false;                 // else every other pixel in grey, if set
    long iconBackground = 0xC0C0C0;    // what an icon's transparent parts take before the test
};

// Copies a picture onto a surface pixel by pixel as a look says. Its two pixel
// blocks are kept from one copy to the next of the same size.
class MaskedCopier {
public:
    // At (x, y), w x h; a negative size is the picture's own.
    void Copy(HDC dc, int x, int y, int w, int h, const forms::Picture& picture, const MaskedLook& look);

private:
    std::unique_ptr<forms::PixelBlock> source_;
    std::unique_ptr<forms::PixelBlock> target_;
};

// Every pixel of the square (x, y)..(x + size, y + size), both ends included,
// that differs from the surface pixel at (1, 1) becomes the shadow colour.
void ShadowSilhouette(HDC dc, int x, int y, int size, long shadow);

// The icon drawn at (x, y), width x height, its colours turned grey (the sixteen
// grey levels kept as they are). False when there is nothing it could draw.
bool PaintIconGrayscale(HDC dc, HICON icon, int x, int y, int height, int width);

// The icon PaintIconGrayscale draws: a copy with its colours turned grey; none
// for an icon without colours (a monochrome one).
base::IconHandle GreyIcon(HICON icon);

// The grey PaintIconGrayscale gives a colour.
long IconGrey(long color) noexcept;

}  // namespace controls::themedbutton
