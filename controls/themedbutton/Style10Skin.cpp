// Style 10: a large rounded button drawn from one of three fixed pictures,
// laid out as a stretchable frame: fixed corner blocks, one line per edge
// column or row, and a flat centre.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "controls/themedbutton/Drawing.h"
#include "controls/themedbutton/SkinStyles.h"
#include "forms/ColorMath.h"
#include "base/Rounding.h"

namespace controls::themedbutton::skins {

namespace {

// Frame geometry: the left corner blocks are 18 columns wide, the right ones 17;
// the top blocks 13 rows high, the bottom ones 11 (their last row lies below the
// surface). Edge lines run from row 11 to H - 10 and from column 18 to W - 17.
constexpr int kLeft = 18;
constexpr int kRight = 17;
constexpr int kTop = 13;
constexpr int kBottom = 11;

// A picture is made on a surface just large enough for the corner blocks and one
// stretchable column and row between them.
constexpr int kPictureWidth = kLeft + 1 + kRight;
constexpr int kPictureHeight = kTop + 1 + kBottom - 1;
constexpr int kStretchColumn = kLeft;
constexpr int kStretchRow = kTop;

template <int W, int H>
using Block = std::array<std::uint32_t, W * H>;  // 0x00RRGGBB, top row first

struct Picture {
    long centre = 0;
    Block<kLeft, kTop> topLeft{};
    Block<kRight, kTop> topRight{};
    Block<kLeft, kBottom> bottomLeft{};
    Block<kRight, kBottom> bottomRight{};
    std::array<long, kLeft> leftColumns{};
    std::array<long, kRight> rightColumns{};
    std::array<long, kTop> topRows{};
    std::array<long, kBottom> bottomRows{};
};

// The look of one picture: its flat centre, how much darker its border is, and
// the shift of its face at the top edge (light: positive) and the bottom edge.
struct Look {
    long centre;
    int border;
    int topShift;
    int bottomShift;
};

constexpr long kOutside = 0xF0F0F0;  // what the corners are smoothed against
constexpr double kRadius = 9.0;

long Mix(long a, long b, double t) noexcept {
    auto channel = [t](int x, int y) { return base::RoundToInt(x + (y - x) * t); };
    return forms::RgbOf(channel(forms::RedOf(a), forms::RedOf(b)), channel(forms::GreenOf(a), forms::GreenOf(b)),
                        channel(forms::BlueOf(a), forms::BlueOf(b)));
}

// The face shift of a picture row: fading from the top edge to nothing by row 11,
// flat down to the bottom blocks, then growing towards the bottom edge.
int FaceShift(const Look& look, int y) noexcept {
    constexpr int kGlossRows = 11;
    if (y < kGlossRows) return base::RoundToInt(look.topShift * (kGlossRows - y) / double(kGlossRows));
    const int firstShaded = kPictureHeight - kBottom + 1;
    if (y < firstShaded) return 0;
    return base::RoundToInt(look.bottomShift * (y - firstShaded + 1) / double(kBottom - 1));
}

// The picture's colour at (x, y): a rounded rectangle of radius 9 whose border is
// one pixel wide with a lighter ring inside it, smoothed at the corners.
long PictureColor(const Look& look, int x, int y) noexcept {
    if (y >= kPictureHeight) return kOutside;
    const double right = kPictureWidth - 1 - kRadius;
    const double bottom = kPictureHeight - 1 - kRadius;
    const double dx = std::max({kRadius - x, 0.0, x - right});
    const double dy = std::max({kRadius - y, 0.0, y - bottom});
    const double depth = kRadius - ((dx > 0 && dy > 0) ? std::sqrt(dx * dx + dy * dy) : std::max(dx, dy));

    const int shift = FaceShift(look, y);
    const long face = Shift(look.centre, shift);
    const long ring = Shift(look.centre, shift + 24);
    const long border = Shift(look.centre, look.border);
    if (depth <= -1) return kOutside;
    if (depth < 0) return Mix(kOutside, border, depth + 1);
    if (depth < 1) return Mix(border, ring, depth);
    if (depth < 2) return Mix(ring, face, depth - 1);
    return face;
}

template <int W, int H>
Block<W, H> BlockAt(const Look& look, int left, int top) {
    Block<W, H> block{};
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            block[static_cast<std::size_t>(y * W + x)] = PixelOf(PictureColor(look, left + x, top + y));
    return block;
}

Picture MakePicture(const Look& look) {
    Picture p;
    p.centre = look.centre;
    const int rightStart = kPictureWidth - kRight;
    const int bottomStart = kPictureHeight - kBottom + 1;
    p.topLeft = BlockAt<kLeft, kTop>(look, 0, 0);
    p.topRight = BlockAt<kRight, kTop>(look, rightStart, 0);
    p.bottomLeft = BlockAt<kLeft, kBottom>(look, 0, bottomStart);
    p.bottomRight = BlockAt<kRight, kBottom>(look, rightStart, bottomStart);
    for (int i = 0; i < kLeft; ++i) p.leftColumns[i] = PictureColor(look, i, kStretchRow);
    for (int i = 0; i < kRight; ++i) p.rightColumns[i] = PictureColor(look, rightStart + i, kStretchRow);
    for (int i = 0; i < kTop; ++i) p.topRows[i] = PictureColor(look, kStretchColumn, i);
    for (int i = 0; i < kBottom; ++i) p.bottomRows[i] = PictureColor(look, kStretchColumn, bottomStart + i);
    return p;
}

enum PictureIndex { kNormal, kHot, kPressed };

const Picture& PictureFor(PictureIndex index) {
    static const std::array<Picture, 3> pictures{
        MakePicture({0xEAE7E8, -112, 23, -18}),
        MakePicture({0xE2A66A, -104, 29, -22}),
        MakePicture({0xCC9B6A, -96, -16, 10}),
    };
    return pictures[index];
}

PictureIndex ChoosePicture(const SkinInput& input) noexcept {
    if (input.state == 3) return kPressed;
    if (input.state == 2 || input.state == 5 || input.hasFocus) return kHot;
    return kNormal;
}

}  // namespace

void DrawStyle10(HDC dc, const SkinInput& input, long& surfaceBackground) {
    const int w = input.width;
    const int h = input.height;
    const Picture& p = PictureFor(ChoosePicture(input));

    SetSurfaceBackground(dc, input, input.useCustomColors ? input.backColor : ButtonFace(), surfaceBackground);
    Fill(dc, 18, 11, w - 34, h - 19, p.centre);

    CopyPixels(dc, 0, 0, kLeft, kTop, p.topLeft.data());
    CopyPixels(dc, w - kRight, 0, kRight, kTop, p.topRight.data());
    CopyPixels(dc, 0, h - 10, kLeft, kBottom, p.bottomLeft.data());
    CopyPixels(dc, w - kRight, h - 10, kRight, kBottom, p.bottomRight.data());

    ColumnLines(dc, p.leftColumns.data(), kLeft, 0, 11, h - 10);
    ColumnLines(dc, p.rightColumns.data(), kRight, w - kRight, 11, h - 10);
    RowLines(dc, p.topRows.data(), kTop, kLeft, 0, w - kRight);
    RowLines(dc, p.bottomRows.data(), kBottom, kLeft, h - 10, w - kRight);
}

}  // namespace controls::themedbutton::skins
