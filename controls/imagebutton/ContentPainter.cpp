#include "controls/imagebutton/ContentPainter.h"

#include "controls/imagebutton/CaptionRenderer.h"
#include "controls/imagebutton/ColorMath.h"
#include "controls/imagebutton/DropDownRenderer.h"
#include "controls/imagebutton/PixelEffects.h"

namespace controls::imagebutton {

namespace {
constexpr long kPushSilhouette = 0xC0C0C0;
constexpr long kShadowBase = 0x808080;

long Translated(forms::OleColor color) noexcept { return forms::TranslateColor(color); }

bool IsBlank(const std::wstring& text) noexcept { return text.find_first_not_of(L' ') == std::wstring::npos; }

PictureLook LookFor(const ButtonProperties& p, int state) {
    PictureLook look;
    look.useMaskColor = p.useMaskColor;
    look.maskColor = Translated(p.maskColor);
    if (state == VisualStates::Hot) look.effect = p.pictureEffectOnOver;
    if (state == VisualStates::Down) look.effect = p.pictureEffectOnDown;
    if (state == VisualStates::Hot) {
        look.opacity = p.pictureOpacityOnOver;
    } else if (p.enabled) {
        look.opacity = p.pictureOpacity;
    } else {
        look.grey = p.disabledPictureMode == DisabledPictureModes::Grayscale;
        look.opacity = DisabledOpacity(look.grey, p.pictureOpacity);
    }
    return look;
}

void PaintPicture(const Canvas& g, const ButtonProperties& p, int state, const forms::Picture& picture, const RECT& at,
                  PictureRenderer& pictures) {
    const PictureLook look = LookFor(p, state);
    const bool lifted = p.picturePushOnHover && state == VisualStates::Hot;
    if (lifted) {
        pictures.Draw(g.Dc(), picture, at.left, at.top, look, kPushSilhouette);
        pictures.Draw(g.Dc(), picture, at.left - 2, at.top - 2, look);
        return;
    }
    pictures.Draw(g.Dc(), picture, at.left, at.top, look);
    if (!p.pictureShadow) return;
    const long shadow = AverageColor(kShadowBase, Translated(p.backColor));
    pictures.Draw(g.Dc(), picture, at.left + 2, at.top + 2, look, ShiftColor(shadow, 0.05f));
    pictures.Draw(g.Dc(), picture, at.left + 1, at.top + 1, look, ShiftColor(shadow, -0.05f));
    pictures.Draw(g.Dc(), picture, at.left, at.top, look);
}

void Move(RECT& rect, int by) noexcept { ::OffsetRect(&rect, by, by); }
}  // namespace

const std::shared_ptr<forms::Picture>& PictureForState(const ButtonProperties& p, int state) noexcept {
    if (state == VisualStates::Down || p.Checked()) {
        if (p.pictureDown) return p.pictureDown;
        if (p.pictureHot) return p.pictureHot;
        return p.pictureNormal;
    }
    if (state == VisualStates::Hot && p.pictureHot) return p.pictureHot;
    return p.pictureNormal;
}

ContentLayout PaintContent(const Canvas& g, const ButtonProperties& p, int state, PictureRenderer& pictures) {
    const forms::Picture* picture = PictureForState(p, state).get();
    ContentInput in;
    in.width = g.Width();
    in.height = g.Height();
    in.pictureWidth = picture ? picture->Width() : 0;
    in.pictureHeight = picture ? picture->Height() : 0;
    in.hasPicture = p.pictureNormal != nullptr;
    in.captionBlank = IsBlank(p.caption);
    in.captionAlign = p.captionAlign;
    in.pictureAlign = p.pictureAlign;
    in.dropDownSymbol = p.dropDownSymbol;
    in.dropDownSeparator = p.dropDownSeparator;
    in.style = p.buttonStyle;
    in.state = state;
    const int reserve = CaptionReserve(p.dropDownSymbol, p.dropDownSeparator, p.pictureAlign);
    in.caption = MeasureCaption(g.Dc(), p.caption, in.width - reserve, in.height, p.rightToLeft);

    ContentLayout layout = LayOutContent(in);
    if (p.dropDownSeparator) DrawDropDownSeparator(g, layout.caption.right);
    const int pressed = PressOffset(p.buttonStyle, state);
    Move(layout.caption, pressed);
    Move(layout.picture, pressed);
    Move(layout.symbol, pressed);

    if (picture && in.hasPicture) PaintPicture(g, p, state, *picture, layout.picture, pictures);

    const long grey = forms::TranslateColor(forms::SystemColor(COLOR_GRAYTEXT));
    const long fore = p.enabled ? Translated(p.foreColor) : grey;
    const long text = !p.enabled ? grey : state == VisualStates::Hot ? Translated(p.foreColorHover) : fore;
    DrawCaptionEffect(g.Dc(), p.caption, layout.caption, p.captionEffects, Translated(p.backColor), fore,
                      p.rightToLeft);
    DrawCaptionText(g.Dc(), p.caption, layout.caption, 0, 0, text, p.rightToLeft);

    if (p.dropDownSymbol != 0) {
        Move(layout.symbol, SymbolPressOffset(p.buttonStyle, state));
        DrawDropDownSymbol(g.Dc(), layout.symbol, p.dropDownSymbol, fore);
    }
    return layout;
}

}  // namespace controls::imagebutton
