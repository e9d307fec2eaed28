#include "controls/imagebutton/ContentLayout.h"

#include <algorithm>
#include <climits>

#include "base/Rounding.h"
#include "controls/imagebutton/ButtonProperties.h"

namespace controls::imagebutton {

namespace {
bool BesideCaptionOnRight(int align) noexcept {
    return align == PictureAligns::RightEdge || align == PictureAligns::RightOfCaption;
}

bool AboveOrBelow(int align) noexcept {
    return align >= PictureAligns::TopEdge && align <= PictureAligns::BelowCaption;
}

RECT PlaceCaption(const ContentInput& in) noexcept {
    const bool dropDown = in.dropDownSymbol != 0 || in.dropDownSeparator;
    const int w = in.caption.cx;
    const int h = in.caption.cy;
    RECT r{0, 0, w, h};
    switch (in.captionAlign) {
    case CaptionAligns::Left:
        ::OffsetRect(&r, 2, (in.height - h) / 2);
        break;
    case CaptionAligns::Center:
        ::OffsetRect(&r, (in.width - w + in.pictureWidth) / 2, (in.height - h) / 2);
        if (dropDown) ::OffsetRect(&r, -8, 0);
        if (AboveOrBelow(in.pictureAlign)) ::OffsetRect(&r, -(in.pictureWidth / 2), 0);
        break;
    case CaptionAligns::Right:
        ::OffsetRect(&r, in.width - w - 4, (in.height - h) / 2);
        break;
    default:
        break;
    }
    if (in.hasPicture) {
        const int picW = in.pictureWidth;
        const int picH = in.pictureHeight;
        switch (in.pictureAlign) {
        case PictureAligns::RightEdge:
        case PictureAligns::RightOfCaption:
            if (r.right > in.width - picW - 4) {
                r.right = in.width - picW - 4;
                r.left = r.left - picW - 4;
            }
            if (in.captionAlign == CaptionAligns::Center) ::OffsetRect(&r, -12, 0);
            break;
        case PictureAligns::Center:
            if (in.captionAlign == CaptionAligns::Center) ::OffsetRect(&r, -16, 0);
            break;
        case PictureAligns::TopEdge:
        case PictureAligns::AboveCaption:
            ::OffsetRect(&r, 0, picH / 2);
            break;
        case PictureAligns::BottomEdge:
        case PictureAligns::BelowCaption:
            ::OffsetRect(&r, 0, -(picH / 2));
            break;
        case PictureAligns::LeftEdge:
        case PictureAligns::LeftOfCaption:
            if (in.captionAlign != CaptionAligns::Center && r.left < picW + 4) {
                r.left = picW + 4;
                r.right = r.right + picW + 4;
            }
            break;
        default:
            break;
        }
    }
    if (in.captionAlign == CaptionAligns::Right && dropDown) ::OffsetRect(&r, -16, 0);
    if (in.style == Styles::Themed) {
        r.left = std::max<LONG>(r.left, 4);
        r.top = std::max<LONG>(r.top, 4);
        r.right = std::min<LONG>(r.right, in.width - 4);
        r.bottom = std::min<LONG>(r.bottom, in.height - 4);
    }
    return r;
}

RECT PlacePicture(const ContentInput& in, const RECT& caption) noexcept {
    if (!in.hasPicture) return RECT{};
    const bool dropDown = in.dropDownSymbol != 0 || in.dropDownSeparator;
    const int picW = in.pictureWidth;
    const int picH = in.pictureHeight;
    const int centredLeft = (in.width - picW) / 2;
    const int middleTop = (in.height - picH) / 2;
    int left = 0;
    int top = middleTop;
    int shift = 8;  // moved left by this when there is a drop-down part
    int atLeast = INT_MIN;
    if (in.captionBlank || in.pictureAlign == PictureAligns::Center) {
        left = centredLeft;
    } else {
        switch (in.pictureAlign) {
        case PictureAligns::LeftEdge:
            left = 3;
            shift = 0;
            break;
        case PictureAligns::LeftOfCaption:
            left = caption.left - picW - 4;
            shift = 0;
            break;
        case PictureAligns::RightEdge:
            left = in.width - picW - 3;
            shift = 16;
            atLeast = caption.right + 2;
            break;
        case PictureAligns::RightOfCaption:
            left = caption.right + 4;
            shift = 16;
            atLeast = caption.right + 2;
            break;
        case PictureAligns::TopEdge:
            left = centredLeft;
            top = 4;
            break;
        case PictureAligns::AboveCaption:
            left = centredLeft;
            top = caption.top - picH - 2;
            break;
        case PictureAligns::BottomEdge:
            left = centredLeft;
            top = in.height - picH - 4;
            break;
        case PictureAligns::BelowCaption:
            left = centredLeft;
            top = caption.bottom + 2;
            break;
        default:
            left = centredLeft;
            break;
        }
    }
    if (dropDown) left -= shift;
    left = std::max(left, atLeast);
    return RECT{left, top, left + picW, top + picH};
}

RECT PlaceSymbol(const ContentInput& in) noexcept {
    if (in.dropDownSymbol == 0) return RECT{};
    return RECT{in.width - 15, base::RoundToInt(in.height / 2.0 - 7), in.width, base::RoundToInt(in.height / 2.0 + 8)};
}
}  // namespace

int CaptionReserve(int dropDownSymbol, bool dropDownSeparator, int pictureAlign) noexcept {
    if (dropDownSymbol == 0 && !dropDownSeparator) return 8;
    return BesideCaptionOnRight(pictureAlign) ? 24 : 16;
}

ContentLayout LayOutContent(const ContentInput& input) noexcept {
    ContentLayout layout;
    layout.caption = PlaceCaption(input);
    layout.picture = PlacePicture(input, layout.caption);
    layout.symbol = PlaceSymbol(input);
    return layout;
}

int PressOffset(int style, int state) noexcept {
    if (state != VisualStates::Down) return 0;
    switch (style) {
    case Styles::Standard:
    case Styles::SoftEdge:
    case Styles::SplitGradient:
    case Styles::RoundedPanel:
    case Styles::RoundedSimple:
    case Styles::RoundedBlend:
    case Styles::FlatEdge:
    case Styles::FlatThin:
        return 1;
    default:
        return 0;
    }
}

int SymbolPressOffset(int style, int state) noexcept {
    return PressOffset(style, state) != 0 && style != Styles::SplitGradient && style != Styles::RoundedBlend ? 1 : 0;
}

}  // namespace controls::imagebutton
