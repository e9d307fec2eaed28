#include "controls/imagebutton/CaptionRenderer.h"

#include "controls/imagebutton/ButtonProperties.h"
#include "controls/imagebutton/ColorMath.h"

namespace controls::imagebutton {

namespace {
constexpr long kShadowColor = 0xC0C0C0;

UINT ReadingOrder(bool rightToLeft) noexcept { return rightToLeft ? DT_RTLREADING : 0; }

void DrawCopies(HDC dc, const std::wstring& caption, const RECT& rect, std::initializer_list<POINT> offsets, long color,
                bool rightToLeft) {
    for (const POINT& at : offsets) DrawCaptionText(dc, caption, rect, at.x, at.y, color, rightToLeft);
}
}  // namespace

SIZE MeasureCaption(HDC dc, const std::wstring& caption, int maxWidth, int height, bool rightToLeft) {
    RECT rect{0, 0, maxWidth, height};
    ::DrawTextW(dc, caption.c_str(), -1, &rect, DT_CALCRECT | DT_WORDBREAK | ReadingOrder(rightToLeft));
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

void DrawCaptionText(HDC dc, const std::wstring& caption, const RECT& rect, int dx, int dy, long color,
                     bool rightToLeft) {
    RECT at = rect;
    ::OffsetRect(&at, dx, dy);
    const COLORREF previous = ::SetTextColor(dc, static_cast<COLORREF>(color));
    const int previousMode = ::SetBkMode(dc, TRANSPARENT);
    ::DrawTextW(dc, caption.c_str(), -1, &at, DT_CENTER | DT_WORDBREAK | ReadingOrder(rightToLeft));
    ::SetBkMode(dc, previousMode);
    ::SetTextColor(dc, previous);
}

void DrawCaptionEffect(HDC dc, const std::wstring& caption, const RECT& rect, int effect, long back, long color,
                       bool rightToLeft) {
    const std::initializer_list<POINT> around = {{1, 1}, {-1, 1}, {1, -1}, {-1, -1}};
    switch (effect) {
    case CaptionEffectKinds::Raised:
        DrawCopies(dc, caption, rect, {{-1, -1}}, ShiftColor(back, 0.14f), rightToLeft);
        break;
    case CaptionEffectKinds::Sunken:
        DrawCopies(dc, caption, rect, {{1, 1}}, ShiftColor(back, 0.14f), rightToLeft);
        break;
    case CaptionEffectKinds::Shadow:
        DrawCopies(dc, caption, rect, {{1, 1}}, kShadowColor, rightToLeft);
        break;
    case CaptionEffectKinds::LightOutline:
        DrawCopies(dc, caption, rect, around, ShiftColor(back, 0.1f), rightToLeft);
        break;
    case CaptionEffectKinds::DarkOutline:
        DrawCopies(dc, caption, rect, around, ShiftColor(back, -0.1f), rightToLeft);
        break;
    default:
        break;
    }
    DrawCaptionText(dc, caption, rect, 0, 0, color, rightToLeft);
}

}  // namespace controls::imagebutton
