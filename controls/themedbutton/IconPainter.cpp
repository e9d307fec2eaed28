#include "controls/themedbutton/IconPainter.h"

#include <algorithm>
#include <vector>

#include "base/Handles.h"
#include "base/Rounding.h"
#include "forms/ColorMath.h"
#include "forms/Dib.h"
#include "forms/PixelBlock.h"
#include "forms/SolidFill.h"

namespace controls::themedbutton {

namespace {
long At(const std::uint8_t* p) noexcept { return forms::RgbOf(p[2], p[1], p[0]); }

void Put(std::uint8_t* p, long color) noexcept {
    p[0] = static_cast<std::uint8_t>(forms::BlueOf(color));
    p[1] = static_cast<std::uint8_t>(forms::GreenOf(color));
    p[2] = static_cast<std::uint8_t>(forms::RedOf(color));
}

// The picture's pixels at w x h; an icon's transparent parts show the background.
bool ReadSource(const forms::Picture& picture, long background, const forms::PixelBlock& block) {
    const RECT all{0, 0, block.Width(), block.Height()};
    if (picture.Kind() == forms::Picture::Type::Icon) {
        forms::FillSolid(block.Dc(), all, static_cast<COLORREF>(background));
        return ::DrawIconEx(block.Dc(), 0, 0, picture.Icon(), block.Width(), block.Height(), 0, nullptr, DI_NORMAL);
    }
    base::MemoryDC source(::CreateCompatibleDC(block.Dc()));
    if (!source) return false;
    base::SelectedObject bitmap(source.Get(), picture.Bitmap());
    return ::BitBlt(block.Dc(), 0, 0, block.Width(), block.Height(), source.Get(), 0, 0, SRCCOPY);
}

constexpr long kGreyLevels[] = {0x000000, 0x101010, 0x202020, 0x303030, 0x404040, 0x505050, 0x606060, 0x707070,
                                0x808080, 0xA0A0A0, 0xB0B0B0, 0xC0C0C0, 0xD0D0D0, 0xE0E0E0, 0xF0F0F0, 0xFFFFFF};
}  // namespace

void DrawScaled(HDC dc, const forms::Picture& picture, int x, int y, int size) {
    if (picture.Kind() == forms::Picture::Type::Icon) {
        ::DrawIconEx(dc, x, y, picture.Icon(), size, size, 0, nullptr, DI_NORMAL);
        return;
    }
    base::MemoryDC source(::CreateCompatibleDC(dc));
    if (!source) return;
    base::SelectedObject bitmap(source.Get(), picture.Bitmap());
    const int oldMode = ::SetStretchBltMode(dc, COLORONCOLOR);
    ::StretchBlt(dc, x, y, size, size, source.Get(), 0, 0, picture.Width(), picture.Height(), SRCCOPY);
    ::SetStretchBltMode(dc, oldMode);
}

void MaskedCopier::Copy(HDC dc, int x, int y, int w, int h, const forms::Picture& picture, const MaskedLook& look) {
    if (w < 0) w = picture.Width();
    if (h < 0) h = picture.Height();
    if (w <= 0 || h <= 0) return;
    if (!source_ || source_->Width() != w || source_->Height() != h) {
        source_ = std::make_unique<forms::PixelBlock>(dc, w, h, 24);
        target_ = std::make_unique<forms::PixelBlock>(dc, w, h, 24);
    }
    const forms::PixelBlock& source = *source_;
    const forms::PixelBlock& target = *target_;
    if (!source.Valid() || !target.Valid()) return;
    if (!ReadSource(picture, look.iconBackground, source)) return;
    if (!::BitBlt(target.Dc(), 0, 0, w, h, dc, x, y, SRCCOPY)) return;
    ::GdiFlush();
    // A surface of fewer colours shows a source colour as its nearest; a true-colour one as it is.
    const bool exact = ::GetDeviceCaps(dc, BITSPIXEL) * ::GetDeviceCaps(dc, PLANES) >= 24;
    for (int row = 0; row < h; ++row) {
        const std::uint8_t* from = source.Row(row);
        std::uint8_t* to = target.Row(row);
        for (int column = 0; column < w; ++column, from += 3, to += 3) {
            const long color = At(from);
            const long shown = exact ? color : static_cast<long>(::GetNearestColor(dc, static_cast<COLORREF>(color)));
            if (shown == look.transparent) continue;
            if (look.silhouette) {
                Put(to, *look.silhouette);
            } else if (look.grey) {
                const int v = forms::GreyOf(forms::RedOf(color), forms::GreenOf(color), forms::BlueOf(color));
                Put(to, forms::RgbOf(v, v, v));
            } else {
                Put(to, color);
            }
        }
    }
    ::BitBlt(dc, x, y, w, h, target.Dc(), 0, 0, SRCCOPY);
}

void ShadowSilhouette(HDC dc, int x, int y, int size, long shadow) {
    const long reference = static_cast<long>(::GetPixel(dc, 1, 1));
    const int side = size + 1;
    forms::PixelBlock block(dc, side, side, 24);
    if (!block.Valid() || !::BitBlt(block.Dc(), 0, 0, side, side, dc, x, y, SRCCOPY)) return;
    ::GdiFlush();
    for (int row = 0; row < side; ++row) {
        std::uint8_t* p = block.Row(row);
        for (int column = 0; column < side; ++column, p += 3)
            if (At(p) != reference) Put(p, shadow);
    }
    ::BitBlt(dc, x, y, side, side, block.Dc(), 0, 0, SRCCOPY);
}

long IconGrey(long color) noexcept {
    if (std::find(std::begin(kGreyLevels), std::end(kGreyLevels), color) != std::end(kGreyLevels)) return color;
    const double weighted = 0.33 * forms::RedOf(color) + 0.59 * forms::GreenOf(color) + 0.11 * forms::BlueOf(color);
    const int g = static_cast<int>(std::min<long long>(base::RoundHalfEven(weighted), 255));
    return forms::RgbOf(g, g, g);
}

base::IconHandle GreyIcon(HICON icon) {
    if (!icon) return {};
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info)) return {};
    base::BitmapHandle mask(info.hbmMask);
    base::BitmapHandle color(info.hbmColor);
    if (!mask || !color) return {};
    BITMAP bm{};
    if (!::GetObjectW(color.Get(), sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return {};
    BITMAPINFO layout = forms::TopDownDibInfo(bm.bmWidth, bm.bmHeight, 32);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(bm.bmWidth) * bm.bmHeight);
    base::WindowDC screen(nullptr);
    const UINT rows = static_cast<UINT>(bm.bmHeight);
    if (!::GetDIBits(screen.Get(), color.Get(), 0, rows, pixels.data(), &layout, DIB_RGB_COLORS)) return {};
    for (std::uint32_t& pixel : pixels) {
        // 0xAARRGGBB: the alpha byte stays.
        const long grey = IconGrey(forms::RgbOf((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF));
        pixel = (pixel & 0xFF000000u) | (static_cast<std::uint32_t>(forms::RedOf(grey)) << 16) |
                (static_cast<std::uint32_t>(forms::GreenOf(grey)) << 8) |
                static_cast<std::uint32_t>(forms::BlueOf(grey));
    }
    if (!::SetDIBits(screen.Get(), color.Get(), 0, rows, pixels.data(), &layout, DIB_RGB_COLORS)) return {};
    ICONINFO grey{TRUE, 0, 0, mask.Get(), color.Get()};
    return base::IconHandle(::CreateIconIndirect(&grey));
}

bool PaintIconGrayscale(HDC dc, HICON icon, int x, int y, int height, int width) {
    if (!dc || !icon) return false;
    const base::IconHandle grey = GreyIcon(icon);
    return grey && ::DrawIconEx(dc, x, y, grey.Get(), width, height, 0, nullptr, DI_NORMAL);
}

}  // namespace controls::themedbutton
