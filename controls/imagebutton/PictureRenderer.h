#pragma once
// Draws a picture pixel by pixel onto a surface: with an opacity, a brighten or
// darken effect, in grey, or as a one-colour silhouette. Bitmaps of 32 bits use
// their own premultiplied alpha (none at all when every alpha byte is 0);
// everything else is keyed by a transparent colour.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>

#include "forms/PixelBlock.h"
#include "forms/Picture.h"

namespace controls::imagebutton {

struct PictureLook {
    int effect = 0;  // PictureEffects
    std::uint8_t opacity = 255;
    bool grey = false;
    bool useMaskColor = true;
    long maskColor = 0xE0E0E0;  // translated; icons are keyed by kIconKeyColor instead
};

// Icons are drawn on a square of this colour, which then counts as transparent.
constexpr long kIconKeyColor = 0xC0C0C0;

// Draws pictures onto one surface (a button's back buffer, whose colour depth
// stays), through two blocks of memory it keeps for the next picture of the same size.
class PictureRenderer {
public:
    void Draw(HDC surface, const forms::Picture& picture, int x, int y, const PictureLook& look,
              std::optional<long> silhouette = std::nullopt);

private:
    static forms::PixelBlock* Block(std::unique_ptr<forms::PixelBlock>& slot, HDC reference, int width, int height, int bits);
    bool ShowsEveryColor(HDC surface);

    std::unique_ptr<forms::PixelBlock> source_;
    std::unique_ptr<forms::PixelBlock> target_;
    std::optional<bool> showsEveryColor_;
};

}  // namespace controls::imagebutton
