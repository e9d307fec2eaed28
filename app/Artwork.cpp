#include "app/Artwork.h"

#include "forms/Dib.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace app {

namespace {

struct Rgb {
    double r, g, b;
};

Rgb Mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

std::uint32_t Channel(double v) { return static_cast<std::uint32_t>(std::clamp(v, 0.0, 255.0) + 0.5); }

// Icons hold their colours as they are and weigh them by alpha when drawn.
std::uint32_t StraightPixel(Rgb c, double alpha) {
    return (Channel(alpha * 255.0) << 24) | (Channel(c.r) << 16) | (Channel(c.g) << 8) | Channel(c.b);
}

std::uint32_t PremultipliedPixel(Rgb c, double alpha) {
    return StraightPixel(Rgb{c.r * alpha, c.g * alpha, c.b * alpha}, alpha);
}

// A top-down 32-bit DIB section filled from BGRA pixels.
base::BitmapHandle MakeBitmap(int width, int height, const std::vector<std::uint32_t>& pixels) {
    void* bits = nullptr;
    base::BitmapHandle bitmap = forms::CreateTopDownDib(width, height, &bits);
    if (bits) std::copy(pixels.begin(), pixels.end(), static_cast<std::uint32_t*>(bits));
    return bitmap;
}

// Coverage (0..1) of pixel (x, y) by a rounded square of the given size and corner radius.
double RoundedSquareCoverage(double x, double y, double size, double radius) {
    double cx = std::clamp(x, radius, size - radius);
    double cy = std::clamp(y, radius, size - radius);
    double distance = std::hypot(x - cx, y - cy);
    return std::clamp(radius - distance + 0.5, 0.0, 1.0);
}

// The program's mark: a blue tile with a waveform whose middle part, the
// selection, stands out white between two orange markers.
std::vector<std::uint32_t> RenderMark(int size, std::uint32_t (*pixelOf)(Rgb colour, double alpha)) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size) * size);
    const Rgb top{72, 140, 230}, bottom{24, 64, 150}, white{255, 255, 255}, pale{170, 200, 240}, marker{255, 160, 40};
    const double s = size;
    const double radius = s * 0.2;
    const int bars = size >= 48 ? 15 : (size >= 32 ? 9 : 5);
    static const double heights[] = {0.25, 0.45, 0.7, 0.4, 0.85, 0.55, 1.0, 0.65, 0.9, 0.5, 0.75, 0.35, 0.6, 0.3, 0.2};
    const double left = s * 0.14, right = s * 0.86, pitch = (right - left) / bars;
    const double selStart = left + pitch * std::floor(bars / 3.0), selEnd = right - pitch * std::floor(bars / 3.0);
    const double markerWidth = std::max(1.0, s / 40.0);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double px = x + 0.5, py = y + 0.5;
            double coverage = RoundedSquareCoverage(px, py, s, radius);
            if (coverage <= 0) continue;
            Rgb colour = Mix(top, bottom, py / s);
            if (px >= left && px < right) {
                int bar = std::min(bars - 1, static_cast<int>((px - left) / pitch));
                double within = (px - left) - bar * pitch;
                double half = s * 0.34 * heights[bar % 15];
                bool inBar = within < pitch * 0.62 && std::abs(py - s / 2) < half;
                bool selected = px >= selStart && px < selEnd;
                if (inBar) colour = selected ? white : Mix(colour, pale, 0.7);
            }
            if (std::abs(px - selStart) < markerWidth || std::abs(px - selEnd) < markerWidth) {
                if (py > s * 0.12 && py < s * 0.88) colour = marker;
            }
            pixels[static_cast<std::size_t>(y) * size + x] = pixelOf(colour, coverage);
        }
    }
    return pixels;
}

// A 24-bit DIB section filled from rows of colours, top row first.
base::BitmapHandle MakeOpaqueBitmap(int width, int height, const std::vector<Rgb>& pixels) {
    void* bits = nullptr;
    base::BitmapHandle bitmap = forms::CreateTopDownDib(width, height, &bits, nullptr, 24);
    if (!bits) return bitmap;
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    auto* rows = static_cast<std::uint8_t*>(bits);
    auto byte = [](double v) { return static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0) + 0.5); };
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = rows + stride * static_cast<std::size_t>(y);
        for (int x = 0; x < width; ++x) {
            const Rgb& c = pixels[static_cast<std::size_t>(y) * width + x];
            row[3 * x] = byte(c.b);
            row[3 * x + 1] = byte(c.g);
            row[3 * x + 2] = byte(c.r);
        }
    }
    return bitmap;
}

}  // namespace

std::shared_ptr<forms::Picture> OutputBackgroundPicture(int width, int height) {
    // A pale sky with a row of level bars along the bottom edge, the middle run
    // of them lit between two orange markers: the part being cut.
    std::vector<Rgb> pixels(static_cast<std::size_t>(width) * height);
    const Rgb top{248, 251, 255}, bottom{212, 226, 247}, bar{186, 205, 236}, lit{118, 160, 226}, marker{255, 170, 60};
    const double w = width, h = height;
    const double pitch = 7, barWidth = 4, baseline = h - 10, tallest = h * 0.24;
    const double cutStart = w * 0.36, cutEnd = w * 0.64;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double px = x + 0.5, py = y + 0.5;
            Rgb colour = Mix(top, bottom, py / h);
            // A soft light from the upper left.
            double glow = std::exp(-(std::pow((px - w * 0.15) / (w * 0.5), 2) + std::pow(py / (h * 0.6), 2)));
            colour = Mix(colour, Rgb{255, 255, 255}, 0.55 * glow);
            const int column = static_cast<int>(px / pitch);
            const double centre = (column + 0.5) * pitch;
            const double level = 0.35 + 0.3 * std::sin(column * 0.55) * std::sin(column * 0.13 + 1.0) +
                                 0.25 * std::abs(std::sin(column * 1.7));
            const double barTop = baseline - tallest * level;
            if (std::abs(px - centre) < barWidth / 2 && py > barTop && py < baseline) {
                const bool inCut = centre > cutStart && centre < cutEnd;
                colour = Mix(colour, inCut ? lit : bar, inCut ? 0.55 : 0.45);
            }
            if ((std::abs(px - cutStart) < 1 || std::abs(px - cutEnd) < 1) && py > baseline - tallest - 6 &&
                py < baseline + 4)
                colour = Mix(colour, marker, 0.8);
            pixels[static_cast<std::size_t>(y) * width + x] = colour;
        }
    }
    return forms::Picture::FromBitmap(MakeOpaqueBitmap(width, height, pixels));
}

std::shared_ptr<forms::Picture> BackgroundPicture(int width, int height) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    const Rgb top{252, 253, 255}, bottom{210, 225, 245}, wave{190, 210, 238};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Rgb colour = Mix(top, bottom, static_cast<double>(y) / height);
            // Two faint waves across the lower half, like a sound trace.
            for (int k = 0; k < 2; ++k) {
                double centre = height * (0.62 + 0.14 * k) + std::sin(x / (48.0 + 20 * k) + k) * 18.0;
                double d = std::abs(y - centre);
                if (d < 24) colour = Mix(colour, wave, 0.35 * (1 - d / 24));
            }
            pixels[static_cast<std::size_t>(y) * width + x] = PremultipliedPixel(colour, 1.0);
        }
    }
    return forms::Picture::FromBitmap(MakeBitmap(width, height, pixels));
}

std::shared_ptr<forms::Picture> LogoPicture(int size) {
    return forms::Picture::FromBitmap(MakeBitmap(size, size, RenderMark(size, PremultipliedPixel)));
}

std::vector<std::uint32_t> ProgramIconPixels(int size) { return RenderMark(size, StraightPixel); }

base::IconHandle ProgramIcon(int size) {
    base::BitmapHandle colour = MakeBitmap(size, size, ProgramIconPixels(size));
    std::vector<BYTE> clear(static_cast<std::size_t>((size + 15) / 16) * 2 * size, 0);
    base::BitmapHandle mask(::CreateBitmap(size, size, 1, 1, clear.data()));
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = colour.Get();
    info.hbmMask = mask.Get();
    return base::IconHandle(::CreateIconIndirect(&info));
}

}  // namespace app
