#include "controls/imagebutton/PictureRenderer.h"

#include <algorithm>

#include "controls/imagebutton/ButtonProperties.h"
#include "controls/imagebutton/ColorMath.h"
#include "forms/PixelBlock.h"
#include "controls/imagebutton/PixelEffects.h"
#include "forms/SolidFill.h"

namespace controls::imagebutton {

namespace {
struct Rgb {
    int blue, green, red;
};

// The pixels of the picture itself, in a block of the given depth.
bool ReadSource(HDC surface, const forms::Picture& picture, long keyColor, const forms::PixelBlock& block) {
    if (picture.Kind() == forms::Picture::Type::Icon) {
        const RECT all{0, 0, block.Width(), block.Height()};
        forms::FillSolid(block.Dc(), all, static_cast<COLORREF>(keyColor));
        ::DrawIconEx(block.Dc(), 0, 0, picture.Icon(), block.Width(), block.Height(), 0, nullptr, DI_NORMAL);
        ::GdiFlush();
        return true;
    }
    BITMAPINFO info = block.Info();
    return ::GetDIBits(surface, picture.Bitmap(), 0, static_cast<UINT>(block.Height()), block.Row(0), &info,
                       DIB_RGB_COLORS) != 0;
}

Rgb NewValue(const Rgb& source, const PictureLook& look, std::optional<long> silhouette) {
    if (silhouette) return {BlueOf(*silhouette), GreenOf(*silhouette), RedOf(*silhouette)};
    if (look.grey) {
        const int y = GreyOf(source.red, source.green, source.blue);
        return {y, y, y};
    }
    const ByteTable* table = look.effect == PictureEffects::Brighten ? &LookupBrighten()
                             : look.effect == PictureEffects::Darken ? &LookupDarken()
                                                                     : nullptr;
    if (!table) return source;
    auto at = [table](int v) { return static_cast<int>((*table)[static_cast<std::size_t>(v)]); };
    return {at(source.blue), at(source.green), at(source.red)};
}

void Put(std::uint8_t* target, const Rgb& value, int alpha) {
    if (alpha == 255) {
        target[0] = static_cast<std::uint8_t>(value.blue);
        target[1] = static_cast<std::uint8_t>(value.green);
        target[2] = static_cast<std::uint8_t>(value.red);
        return;
    }
    target[0] = static_cast<std::uint8_t>(BlendChannel(alpha, value.blue, target[0]));
    target[1] = static_cast<std::uint8_t>(BlendChannel(alpha, value.green, target[1]));
    target[2] = static_cast<std::uint8_t>(BlendChannel(alpha, value.red, target[2]));
}

// Device colours for the key test. On a surface that shows every colour as it
// is the colour stands; on others the same source colour comes often, so the
// last answer is kept.
class NearestColor {
public:
    NearestColor(HDC dc, bool showsEveryColor) : dc_(dc), exact_(showsEveryColor) {}
    long Of(long color) {
        if (exact_) return color;
        if (color != last_) {
            last_ = color;
            nearest_ = static_cast<long>(::GetNearestColor(dc_, static_cast<COLORREF>(color)));
        }
        return nearest_;
    }

private:
    HDC dc_;
    bool exact_;
    long last_ = -1;
    long nearest_ = -1;
};

void BlendMasked(HDC surface, bool showsEveryColor, const forms::PixelBlock& source, const forms::PixelBlock& target,
                 long keyColor, const PictureLook& look, std::optional<long> silhouette) {
    NearestColor nearest(surface, showsEveryColor);
    for (int y = 0; y < source.Height(); ++y) {
        const std::uint8_t* from = source.Row(y);
        std::uint8_t* to = target.Row(y);
        for (int x = 0; x < source.Width(); ++x, from += 3, to += 3) {
            const Rgb s{from[0], from[1], from[2]};
            if (look.useMaskColor && nearest.Of(RgbOf(s.red, s.green, s.blue)) == keyColor) continue;
            if (look.opacity == 0) continue;
            Put(to, NewValue(s, look, silhouette), look.opacity);
        }
    }
}

// 32-bit pictures hold premultiplied colours (as the platform's alpha blending
// takes them); the effects and the blend work on the colour itself.
int Unpremultiplied(int channel, int alpha) noexcept {
    return std::min(255, (channel * 255 + alpha / 2) / alpha);
}

// A 32-bit bitmap whose alpha bytes are all 0 has no alpha at all (screen and XRGB bitmaps): it is opaque.
bool HasAlpha(const forms::PixelBlock& source) {
    for (int y = 0; y < source.Height(); ++y) {
        const std::uint8_t* row = source.Row(y);
        for (int x = 0; x < source.Width(); ++x)
            if (row[x * 4 + 3] != 0) return true;
    }
    return false;
}

void BlendAlpha(const forms::PixelBlock& source, const forms::PixelBlock& target, const PictureLook& look,
                std::optional<long> silhouette) {
    const bool plain = !silhouette && !look.grey && look.effect == PictureEffects::None;
    const bool ownAlpha = HasAlpha(source);
    for (int y = 0; y < source.Height(); ++y) {
        const std::uint8_t* from = source.Row(y);
        std::uint8_t* to = target.Row(y);
        for (int x = 0; x < source.Width(); ++x, from += 4, to += 4) {
            const int pixelAlpha = ownAlpha ? from[3] : 255;
            const int alpha = pixelAlpha * look.opacity / 255;
            if (alpha == 0) continue;
            if (alpha == 255 && plain) {
                to[0] = from[0];
                to[1] = from[1];
                to[2] = from[2];
                to[3] = from[3];
                continue;
            }
            const Rgb colour{Unpremultiplied(from[0], pixelAlpha), Unpremultiplied(from[1], pixelAlpha),
                             Unpremultiplied(from[2], pixelAlpha)};
            Put(to, NewValue(colour, look, silhouette), alpha);
            if (alpha == 255 && silhouette) to[3] = 0;
        }
    }
}
}  // namespace

forms::PixelBlock* PictureRenderer::Block(std::unique_ptr<forms::PixelBlock>& slot, HDC reference, int width, int height, int bits) {
    if (!slot || slot->Width() != width || slot->Height() != height || slot->BitsPerPixel() != bits)
        slot = std::make_unique<forms::PixelBlock>(reference, width, height, bits);
    return slot->Valid() ? slot.get() : nullptr;
}

bool PictureRenderer::ShowsEveryColor(HDC surface) {
    // Asking the device is slow on some platforms, and the surface keeps its depth.
    if (!showsEveryColor_)
        showsEveryColor_ = ::GetDeviceCaps(surface, BITSPIXEL) * ::GetDeviceCaps(surface, PLANES) >= 24;
    return *showsEveryColor_;
}

void PictureRenderer::Draw(HDC surface, const forms::Picture& picture, int x, int y, const PictureLook& look,
                           std::optional<long> silhouette) {
    const int w = picture.Width();
    const int h = picture.Height();
    if (w <= 0 || h <= 0) return;
    const bool alphaPath = picture.Kind() == forms::Picture::Type::Bitmap && picture.BitsPerPixel() == 32;
    const int depth = alphaPath ? 32 : 24;
    const long keyColor = picture.Kind() == forms::Picture::Type::Icon ? kIconKeyColor : look.maskColor;
    forms::PixelBlock* source = Block(source_, surface, w, h, depth);
    forms::PixelBlock* target = Block(target_, surface, w, h, depth);
    if (!source || !target) return;
    if (!ReadSource(surface, picture, keyColor, *source)) return;
    ::BitBlt(target->Dc(), 0, 0, w, h, surface, x, y, SRCCOPY);
    ::GdiFlush();
    if (alphaPath)
        BlendAlpha(*source, *target, look, silhouette);
    else
        BlendMasked(surface, ShowsEveryColor(surface), *source, *target, keyColor, look, silhouette);
    ::BitBlt(surface, x, y, w, h, target->Dc(), 0, 0, SRCCOPY);
}

}  // namespace controls::imagebutton
