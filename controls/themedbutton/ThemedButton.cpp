#include "controls/themedbutton/ThemedButton.h"

#include <shellapi.h>
#include <windowsx.h>

#include <cmath>

#include "base/MessageLoop.h"
#include "controls/themedbutton/ButtonPersistence.h"
#include "controls/themedbutton/ContentLayout.h"
#include "controls/themedbutton/Drawing.h"
#include "controls/themedbutton/IconPainter.h"
#include "controls/themedbutton/PlainFaces.h"
#include "controls/themedbutton/Skins.h"
#include "controls/themedbutton/ThemeFace.h"
#include "controls/themedbutton/WindowRegion.h"
#include "forms/AccessKey.h"
#include "forms/AnsiText.h"
#include "forms/Focus.h"
#include "forms/MousePointers.h"
#include "forms/PaintMessages.h"
#include "forms/Units.h"

namespace controls {

namespace {
using namespace themedbutton;

constexpr wchar_t kClassName[] = L"Snipmill.ThemedButton";
constexpr wchar_t kControlName[] = L"ThemedButton";
constexpr wchar_t kDefaultFace[] = L"Tahoma";
constexpr DWORD kAboutStyle = WS_POPUP | WS_CLIPSIBLINGS;
constexpr long kShadowGrey = 0x808080;
constexpr int kNewButtonIconMargin = 4;

// A failing step ends the operation quietly; the button stays usable.
template <typename Work>
void Safely(Work&& work) noexcept {
    try {
        work();
    } catch (...) {
    }
}

SIZE ClientSize(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    return SIZE{client.right, client.bottom};
}

long Translated(forms::OleColor color) noexcept { return forms::TranslateColor(color); }

int IconMarginOf(int style) noexcept {
    switch (style) {
    case Styles::Shaded:
    case Styles::Bevelled:
        return 4;
    case Styles::Cylinder:
        return 6;
    case Styles::Large:
        return 7;
    default:
        return 3;
    }
}

bool IsSkin(int style) noexcept { return style == Styles::Skin || (style >= Styles::Shaded && style <= Styles::Large); }
}  // namespace

// ---- Life cycle

ThemedButton::ThemedButton(forms::ControlHost& host, std::wstring name, RECT bounds, bool visible)
    : Control(&host, std::move(name)),
      surfaceBackground_(Translated(forms::SystemColor(COLOR_BTNFACE))),
      captionFormat_(kInitialCaptionFormat),
      about_(kAboutStyle) {
    Safely([&] {
        p_.caption = Name();
        iconMargin_ = kNewButtonIconMargin;
        const auto ambientFont = Ambient().Font;
        UseFont(ambientFont ? ambientFont->Clone() : forms::Font::Create(kDefaultFace, 8.25));
        UpdateAccessKeys();
        CreateButtonWindow(bounds, visible);
        // A button placed on a running form works as one loaded there would.
        StartRunMode();
        Layout();
    });
}

ThemedButton::ThemedButton(forms::ControlHost& host, std::wstring name, RECT bounds, const forms::PropertyBag& saved,
                           bool visible)
    : Control(&host, std::move(name)),
      surfaceBackground_(Translated(forms::SystemColor(COLOR_BTNFACE))),
      captionFormat_(kInitialCaptionFormat),
      about_(kAboutStyle) {
    Safely([&] {
        UseFont(Ambient().Font ? Ambient().Font->Clone() : forms::Font::Create(kDefaultFace, 8.25));
        CreateButtonWindow(bounds, visible);
        ReadProperties(saved);
    });
}

ThemedButton::~ThemedButton() {
    *alive_ = false;
    if (p_.font) p_.font->Unsubscribe(fontToken_);
    tooltip_.Destroy();
    hook_.reset();
    theme_.Forget();
}

void ThemedButton::CreateButtonWindow(RECT bounds, bool visible) {
    HWND parent = Host() ? Host()->HostWindow() : nullptr;
    CreateWindowOf(kClassName, CS_DBLCLKS, WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS, 0, p_.caption.c_str(), bounds.left,
                   bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent);
    // Shown after creation, so that the window hears that it is shown.
    if (Handle() && visible) ::ShowWindow(Handle(), SW_SHOWNA);
}

void ThemedButton::ReadProperties(const forms::PropertyBag& bag) {
    Safely([&] {
        state_ = VisualStates::Normal;
        // The host's own tooltip attribute takes the saved text first, then the property.
        forms::Control::SetToolTipText(ReadToolTipText(bag));
        const std::shared_ptr<forms::Font> current = p_.font;
        if (p_.font) p_.font->Unsubscribe(fontToken_);
        p_ = ReadButtonProperties(bag, current);
        UseFont(p_.font);
        UpdateAccessKeys();
        if (Handle()) {
            ::SetWindowTextW(Handle(), p_.caption.c_str());
            ::EnableWindow(Handle(), p_.enabled);
        }
        StartRunMode();
        Layout();
    });
}

void ThemedButton::WriteProperties(forms::PropertyBag& bag) const {
    Safely([&] { WriteButtonProperties(bag, p_, forms::Control::ToolTipText()); });
}

void ThemedButton::StartRunMode() {
    hook_.reset();
    leaveService_ = LeaveService::None;
    if (!Handle() || !Ambient().UserMode) return;
    leaveService_ = FindLeaveService();
    // Without a way to hear the mouse leave, the button does without the hook altogether.
    if (leaveService_ == LeaveService::None) return;
    hook_ = std::make_unique<forms::MessageInterceptor>(
        Handle(), std::vector<UINT>{WM_SYSCOLORCHANGE, WM_THEMECHANGED, WM_MOUSEMOVE, WM_MOUSELEAVE},
        [this](UINT message, WPARAM, LPARAM lParam) {
            Safely([&] { OnHookedMessage(message, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); });
        },
        forms::MessageInterceptor::Order::AfterWindow);
    if (!hook_->Installed()) {
        hook_.reset();
        leaveService_ = LeaveService::None;
    }
}

void ThemedButton::UseFont(std::shared_ptr<forms::Font> font) {
    if (!font) return;
    p_.font = std::move(font);
    gdiFont_.Reset();
    SubscribeFont();
}

void ThemedButton::SubscribeFont() {
    fontToken_ = p_.font->Subscribe([this] {
        gdiFont_.Reset();
        Layout();
    });
}

HFONT ThemedButton::DrawingFont() {
    if (!gdiFont_ && p_.font) gdiFont_ = p_.font->CreateHandle(forms::ScreenDpi());
    return gdiFont_.Get();
}

void ThemedButton::UpdateAccessKeys() {
    const auto key = forms::AccessKeyOf(p_.caption);
    SetAccessKeys(key ? std::wstring(1, *key) : std::wstring());
}

// ---- Properties

template <typename T>
void ThemedButton::Assign(T& field, T value, std::wstring_view property, After after) {
    Safely([&] {
        field = std::move(value);
        PropertyChanged(property);
        if (after == After::Layout) Layout();
        if (after != After::Nothing) Refresh();
    });
}

void ThemedButton::SetIcon(std::shared_ptr<forms::Picture> icon) {
    Assign(p_.icon, std::move(icon), L"Icon", After::Layout);
}

void ThemedButton::SetStyle(int style) {
    Safely([&] {
        p_.style = style;
        PropertyChanged(L"Style");
        // Twice: a theme that cannot draw switches the style during the first pass.
        Layout();
        Refresh();
        Layout();
        Refresh();
    });
}

void ThemedButton::SetCaption(std::wstring caption) {
    Safely([&] {
        p_.caption = std::move(caption);
        if (Handle()) ::SetWindowTextW(Handle(), p_.caption.c_str());
        UpdateAccessKeys();
        PropertyChanged(L"Caption");
        Layout();
        Refresh();
    });
}

void ThemedButton::SetIconSize(int size) { Assign(p_.iconSize, size, L"IconSize", After::Layout); }

void ThemedButton::SetCaptionAlign(int align) { Assign(p_.captionAlign, align, L"CaptionAlign", After::Layout); }

void ThemedButton::SetIconAlign(int align) { Assign(p_.iconAlign, align, L"IconAlign", After::Layout); }

void ThemedButton::SetNonThemeStyle(int style) { Assign(p_.nonThemeStyle, style, L"NonThemeStyle", After::Layout); }

void ThemedButton::SetEnabled(bool enabled) {
    Safely([&] {
        if (!enabled) CancelPress();
        // A disabled window keeps no focus; the keyboard user goes on from the next tab stop.
        if (!enabled && Handle() && ::GetFocus() == Handle()) forms::MoveFocusToNextControl(Handle(), false);
        p_.enabled = enabled;
        state_ = VisualStates::Normal;
        Refresh();
        PropertyChanged(L"Enabled");
        if (Handle()) ::EnableWindow(Handle(), enabled);
    });
}

void ThemedButton::SetShowFocus(bool show) { Assign(p_.showFocus, show, L"ShowFocus"); }
void ThemedButton::SetUseCustomColors(bool use) { Assign(p_.useCustomColors, use, L"UseCustomColors"); }
void ThemedButton::SetBackColor(forms::OleColor color) { Assign(p_.backColor, color, L"BackColor"); }
void ThemedButton::SetHighlightColor(forms::OleColor color) { Assign(p_.highlightColor, color, L"HighlightColor"); }
void ThemedButton::SetFontColor(forms::OleColor color) { Assign(p_.fontColor, color, L"FontColor"); }
void ThemedButton::SetFontHighlightColor(forms::OleColor color) {
    Assign(p_.fontHighlightColor, color, L"FontHighlightColor");
}
void ThemedButton::SetTooltipTitle(std::wstring title) { Assign(p_.tooltipTitle, std::move(title), L"TooltipTitle"); }
void ThemedButton::SetToolTipIcon(int icon) { Assign(p_.toolTipIcon, icon, L"ToolTipIcon"); }
void ThemedButton::SetToolTipType(int type) { Assign(p_.toolTipType, type, L"ToolTipType"); }
void ThemedButton::SetTooltipBackColor(forms::OleColor color) {
    Assign(p_.tooltipBackColor, color, L"TooltipBackColor");
}
void ThemedButton::SetToolTipForeColor(forms::OleColor color) {
    Assign(p_.toolTipForeColor, color, L"ToolTipForeColor");
}
void ThemedButton::SetButtonType(int type) { Assign(p_.buttonType, type, L"ButtonType"); }
void ThemedButton::SetValue(bool value) { Assign(p_.value, value, L"Value"); }
void ThemedButton::SetMaskColor(forms::OleColor color) { Assign(p_.maskColor, color, L"MaskColor"); }
void ThemedButton::SetUseMaskColor(bool use) { Assign(p_.useMaskColor, use, L"UseMaskColor"); }
void ThemedButton::SetMousePointer(short pointer) { Assign(p_.mousePointer, pointer, L"MousePointer", After::Nothing); }
void ThemedButton::SetRoundedBordersByTheme(bool rounded) {
    Assign(p_.roundedBordersByTheme, rounded, L"RoundedBordersByTheme");
}
void ThemedButton::SetRightToLeft(bool rightToLeft) { Assign(p_.rightToLeft, rightToLeft, L"RightToLeft"); }

void ThemedButton::SetToolTipText(std::wstring text) {
    Safely([&] {
        p_.toolTipText = std::move(text);
        PropertyChanged(L"ToolTipText");
        // The text goes where the host keeps it; a tooltip showing now is made again with it.
        forms::Control::SetToolTipText(p_.toolTipText);
        if (tooltip_.Handle()) BuildTooltip();
        Refresh();
    });
}

void ThemedButton::SetFont(std::shared_ptr<forms::Font> font) {
    Safely([&] {
        if (!font) return;
        if (p_.font) p_.font->Unsubscribe(fontToken_);
        UseFont(std::move(font));
        PropertyChanged(L"Font");
        Refresh();
    });
}

// ---- Methods

void ThemedButton::About() {
    Safely([&] { about_.Show(::GetAncestor(Handle(), GA_ROOT), kControlName, Version()); });
}

int ThemedButton::OpenLink(const std::wstring& link) {
    const HINSTANCE result = ::ShellExecuteW(Handle(), L"open", link.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}

bool ThemedButton::PaintIconGrayscale(HDC dc, HICON icon, int x, int y, int height, int width) {
    bool drew = false;
    Safely([&] { drew = themedbutton::PaintIconGrayscale(dc, icon, x, y, height, width); });
    return drew;
}

void ThemedButton::AmbientChanged(std::wstring_view name) {
    if (forms::SameName(name, L"DisplayAsDefault")) Safely([&] { Refresh(); });
}

// ---- Drawing

void ThemedButton::Layout() {
    if (!Handle()) return;
    const int minimum = static_cast<int>(std::ceil(forms::TwipsToPixels(kMinimumSizeTwips)));
    RECT frame{};
    ::GetWindowRect(Handle(), &frame);
    const int outerWidth = frame.right - frame.left;
    const int outerHeight = frame.bottom - frame.top;
    if (outerWidth < minimum || outerHeight < minimum)
        ::SetWindowPos(Handle(), nullptr, 0, 0, std::max(outerWidth, minimum), std::max(outerHeight, minimum),
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const SIZE size = ClientSize(Handle());
    RECT measured{4, 4, size.cx - 4, size.cy - 4};
    {
        base::WindowDC dc(Handle());
        base::SelectedObject font(dc.Get(), DrawingFont());
        const std::string text = forms::ToAnsi(p_.caption);
        UINT flags = DT_CALCRECT | DT_WORDBREAK;
        if (p_.rightToLeft) flags |= DT_RTLREADING;
        ::DrawTextA(dc.Get(), text.c_str(), static_cast<int>(text.size()), &measured, flags);
    }
    const CaptionPlacement caption =
        PlaceCaption(p_.captionAlign, size.cx, size.cy, measured, iconMargin_, captionFormat_, p_.rightToLeft);
    captionRect_ = caption.rect;
    captionFormat_ = caption.format;
    base::RegionHandle region = RegionForStyle(p_.style, size.cx, size.cy);
    if (region && ::SetWindowRgn(Handle(), region.Get(), TRUE)) region.Release();  // the window owns it now
    Refresh();
}

void ThemedButton::Refresh() {
    Safely([&] {
        if (!Handle()) return;
        base::WindowDC dc(Handle());
        if (dc.Get()) DrawTo(dc.Get());
    });
}

void ThemedButton::DrawTo(HDC dc) {
    Safely([&] {
        const SIZE size = ClientSize(Handle());
        if (size.cx <= 0 || size.cy <= 0) return;
        HDC buffer = surface_.Ensure(size.cx, size.cy);
        if (!buffer) {  // no memory for the buffer: straight onto the target
            Paint(dc);
            return;
        }
        Paint(buffer);
        surface_.CopyTo(dc, 0, 0, size.cx, size.cy, 0, 0);
    });
}

bool ThemedButton::Emphasis() const {
    return (hasFocus_ && p_.showFocus) || (!hasFocus_ && Ambient().DisplayAsDefault);
}

bool ThemedButton::ShowsFocusRect() const {
    return hasFocus_ && p_.showFocus && p_.enabled && ::GetActiveWindow() == ::GetAncestor(Handle(), GA_ROOT);
}

void ThemedButton::Paint(HDC dc) {
    const SIZE size = ClientSize(Handle());
    SetBackground(dc, size.cx, size.cy, surfaceBackground_);
    iconMargin_ = 3;
    if (!shown_) return;
    if (!Ambient().UserMode && p_.style != Styles::Skin) state_ = VisualStates::Hot;
    if (p_.PressedToggle()) state_ = VisualStates::Pressed;
    if (!p_.enabled) {
        state_ = VisualStates::Disabled;
        surfaceBackground_ = Translated(forms::SystemColor(COLOR_BTNFACE));
        SetBackground(dc, size.cx, size.cy, surfaceBackground_);
    }
    base::SelectedObject font(dc, DrawingFont());
    PaintFace(dc, size.cx, size.cy);
    PaintIcon(dc, size.cx, size.cy);
    PaintCaption(dc);
}

void ThemedButton::PaintFace(HDC dc, int width, int height) {
    const int style = p_.style;
    if (style == Styles::Theme) {
        surfaceBackground_ = Translated(forms::SystemColor(COLOR_BTNFACE));
        SetBackground(dc, width, height, surfaceBackground_);
        // Without a theme that draws, the button takes its other look from the next repaint on.
        if (!DrawThemeFace(theme_.For(Handle()), Handle(), dc, width, height, state_, hasFocus_,
                           p_.roundedBordersByTheme))
            p_.style = p_.nonThemeStyle;
    } else if (IsSkin(style)) {
        SkinInput in;
        in.width = width;
        in.height = height;
        in.state = state_;
        in.hasFocus = hasFocus_;
        in.defaultHint = Ambient().DisplayAsDefault;
        in.showFocus = p_.showFocus;
        in.focusRect = ShowsFocusRect();
        in.useCustomColors = p_.useCustomColors;
        in.backColor = Translated(p_.backColor);
        in.highlightColor = Translated(p_.highlightColor);
        DrawSkin(dc, style, in, surfaceBackground_);
    } else {
        FaceInput in;
        in.width = width;
        in.height = height;
        in.state = state_;
        in.emphasis = Emphasis();
        in.focusRect = ShowsFocusRect();
        in.useCustomColors = p_.useCustomColors;
        in.backColor = Translated(p_.backColor);
        in.highlightColor = Translated(p_.highlightColor);
        DrawPlainFace(dc, style, in, surfaceBackground_);
    }
    iconMargin_ = IconMarginOf(style);
}

void ThemedButton::PaintIcon(HDC dc, int width, int height) {
    const forms::Picture* icon = p_.icon.get();
    if (!icon || (!icon->Icon() && !icon->Bitmap())) return;
    const int s = p_.iconSize;
    POINT at = PlaceIcon(p_.iconAlign, width, height, s, iconMargin_);
    if (state_ == VisualStates::Pressed) {
        at.x += 1;
        at.y += 1;
    }
    const long mask = Translated(p_.maskColor);
    MaskedLook look;
    look.transparent = mask;
    look.iconBackground = mask;
    if (state_ == VisualStates::Hot && p_.style == Styles::Office) {
        // A drop shadow, the icon lifted up and left of it.
        if (p_.useMaskColor) {
            MaskedLook shadow = look;
            shadow.silhouette = kShadowGrey;
            masked_.Copy(dc, at.x + 1, at.y + 1, s, s, *icon, shadow);
            masked_.Copy(dc, at.x - 1, at.y - 1, s, s, *icon, look);
        } else {
            DrawScaled(dc, *icon, at.x, at.y, s);
            ShadowSilhouette(dc, at.x, at.y, s, kShadowGrey);
        }
        at.x -= 2;
        at.y -= 2;
    }
    if (p_.useMaskColor) {
        look.grey = !p_.enabled;
        masked_.Copy(dc, at.x, at.y, s, s, *icon, look);
    } else if (p_.enabled) {
        DrawScaled(dc, *icon, at.x, at.y, s);
    } else {
        if (greySource_.lock() != p_.icon) {
            greyIcon_ = GreyIcon(icon->Icon());
            greySource_ = p_.icon;
        }
        if (greyIcon_) ::DrawIconEx(dc, at.x, at.y, greyIcon_.Get(), s, s, 0, nullptr, DI_NORMAL);
    }
}

void ThemedButton::PaintCaption(HDC dc) {
    long color = static_cast<long>(::GetSysColor(state_ == VisualStates::Disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    if (p_.useCustomColors && state_ == VisualStates::Normal)
        color = Translated(p_.fontColor);
    else if (p_.useCustomColors && state_ != VisualStates::Disabled)
        color = Translated(p_.fontHighlightColor);
    const COLORREF previous = ::SetTextColor(dc, static_cast<COLORREF>(color));
    const int previousMode = ::SetBkMode(dc, TRANSPARENT);
    const std::string text = forms::ToAnsi(p_.caption);
    RECT rect = captionRect_;
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, captionFormat_);
    ::SetBkMode(dc, previousMode);
    ::SetTextColor(dc, previous);
}

// ---- Input

bool ThemedButton::Raise(const base::Event<>& event, int id) {
    const std::shared_ptr<bool> alive = alive_;
    RaiseEvent(event, id);
    return *alive;
}

void ThemedButton::OnHookedMessage(UINT message, POINT at) {
    switch (message) {
    case WM_SYSCOLORCHANGE:
        Refresh();
        break;
    case WM_THEMECHANGED:
        theme_.Forget();
        Refresh();
        break;
    case WM_MOUSEMOVE:
        // Moves from off the button come only while it holds the mouse after a press.
        if (!mouseInside_ && Over(at))
            OnMouseEntry();
        else if (mouseInside_ && ::GetCapture() == Handle() && !Over(at))
            OnMouseExit();
        break;
    case WM_MOUSELEAVE:
        // A move off the button while it held the mouse may have seen it go already.
        if (mouseInside_) OnMouseExit();
        break;
    default:
        break;
    }
}

void ThemedButton::OnMouseEntry() {
    mouseInside_ = true;
    RequestMouseLeave(leaveService_, Handle());
    // Back over the button it still holds down, it shows pressed again.
    state_ = leftPressed_ ? VisualStates::Pressed : VisualStates::Hot;
    Refresh();
    if (!Raise(MouseEnter, kMouseEnterId)) return;
    BuildTooltip();
}

void ThemedButton::OnMouseExit() {
    mouseInside_ = false;
    state_ = VisualStates::Normal;
    TearDownTooltip();
    Refresh();
    Raise(MouseLeave, kMouseLeaveId);
}

void ThemedButton::BuildTooltip() {
    p_.toolTipText = forms::Control::ToolTipText();
    forms::Control::SetToolTipText(std::wstring());
    forms::TooltipLook look;
    look.text = p_.toolTipText;
    if (!p_.tooltipTitle.empty() || p_.toolTipIcon != 0) look.title = p_.tooltipTitle;
    look.icon = p_.toolTipIcon;
    look.balloon = p_.toolTipType == kBalloon;
    // A colour of exactly 0 is "not set": black needs 0x000001.
    if (p_.toolTipForeColor != 0) look.foreColor = Translated(p_.toolTipForeColor);
    if (p_.tooltipBackColor != 0) look.backColor = Translated(p_.tooltipBackColor);
    look.ansi = true;
    tooltip_.Create(Handle(), look);
}

void ThemedButton::TearDownTooltip() {
    forms::Control::SetToolTipText(p_.toolTipText);
    tooltip_.Destroy();
}

bool ThemedButton::Over(POINT at) const {
    const SIZE size = ClientSize(Handle());
    if (at.x < 0 || at.y < 0 || at.x >= size.cx || at.y >= size.cy) return false;
    // The shaped looks leave their cut corners to what lies behind.
    base::RegionHandle shape(::CreateRectRgn(0, 0, 0, 0));
    if (!shape || ::GetWindowRgn(Handle(), shape.Get()) == ERROR) return true;
    return ::PtInRegion(shape.Get(), at.x, at.y) != FALSE;
}

void ThemedButton::OnLeftPress() {
    // The button keeps the mouse until the release, so that only its own press makes its click.
    leftPressed_ = true;
    ::SetCapture(Handle());
    if (::GetFocus() != Handle()) ::SetFocus(Handle());
    state_ = VisualStates::Pressed;
    Refresh();
}

void ThemedButton::CancelPress() {
    if (::GetCapture() == Handle()) ::ReleaseCapture();  // its notice ends the press
    OnCaptureLost();
}

void ThemedButton::OnCaptureLost() {
    if (!std::exchange(leftPressed_, false)) return;
    state_ = mouseInside_ ? VisualStates::Hot : VisualStates::Normal;
    Refresh();
}

void ThemedButton::OnLeftRelease(POINT at) {
    // A release with no press of this button before it (pressed elsewhere, let go here) is not the button's.
    if (!std::exchange(leftPressed_, false)) return;
    lastMouseButton_ = 1;
    const bool over = Over(at);
    bool click = false;
    if (!over) {
        state_ = VisualStates::Normal;  // dragged off and let go there: no click, the button stands up
    } else if (p_.buttonType == kToggle && !p_.value) {
        state_ = VisualStates::Pressed;  // the toggle keeps its pressed look; no event
    } else {
        state_ = VisualStates::Hot;
        const std::shared_ptr<bool> alive = alive_;
        base::DoEvents();
        if (!*alive) return;
        RequestMouseLeave(leaveService_, Handle());
        click = mouseInside_;
    }
    // The mouse goes free before anyone hears of the click, so that a window the click
    // brings up gets the clicks meant for it.
    if (::GetCapture() == Handle()) ::ReleaseCapture();
    if (click && !Raise(Click, kClickId)) return;
    Refresh();
    if (over) OwnClick();
}

void ThemedButton::OwnClick() {
    if (lastMouseButton_ != 1) return;
    if (p_.buttonType == kToggle) {
        p_.value = !p_.value;
        PropertyChanged(L"Value");
    }
    state_ = VisualStates::Hot;
    Refresh();
}

void ThemedButton::OnKeyDown(WPARAM key) {
    switch (key) {
    case VK_SPACE:
        state_ = VisualStates::Pressed;
        Refresh();
        break;
    case VK_RIGHT:
    case VK_DOWN:
        forms::MoveFocusToNextControl(Handle(), false);
        break;
    case VK_LEFT:
    case VK_UP:
        forms::MoveFocusToNextControl(Handle(), true);
        break;
    case VK_TAB:
        if (!Raise(MouseLeave, kMouseLeaveId)) return;
        // The host has no dialog manager of its own: Tab moves on from here.
        forms::MoveFocusToNextControl(Handle(), ::GetKeyState(VK_SHIFT) < 0);
        break;
    default:
        break;
    }
}

void ThemedButton::OnKeyUp(WPARAM key) {
    if (key != VK_SPACE) return;
    OwnClick();
    if (!Raise(Click, kClickId)) return;
    state_ = VisualStates::Normal;
    Refresh();
}

void ThemedButton::OnAccessKey(wchar_t) {
    Safely([&] {
        lastMouseButton_ = 1;
        OwnClick();
        state_ = VisualStates::Normal;
    });
}

void ThemedButton::OnFocus(bool focused) {
    hasFocus_ = focused;
    Refresh();
    FocusChanged(focused);
}

forms::AccessibleFacts ThemedButton::Facts(long child) const {
    return forms::ButtonFacts(Control::Facts(child),
                              p_.buttonType == kToggle ? ROLE_SYSTEM_CHECKBUTTON : ROLE_SYSTEM_PUSHBUTTON, p_.caption,
                              p_.toolTipText, p_.PressedToggle(), state_ == VisualStates::Pressed);
}

void ThemedButton::DoDefaultAction(long) {
    if (!p_.enabled) return;
    Safely([&] { OnKeyDown(VK_SPACE); });
    Safely([&] { OnKeyUp(VK_SPACE); });
}

void ThemedButton::OnShow(bool shown) {
    shown_ = shown;
    if (shown) {
        Layout();
        return;
    }
    CancelPress();
    forms::Control::SetToolTipText(p_.toolTipText);
}

LRESULT ThemedButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT painted = 0;
    if (forms::AnswerPaintMessage(
            Handle(), message, wParam, [this](HDC dc, const RECT&) { DrawTo(dc); }, painted))
        return painted;
    if (LRESULT answer = 0; AnswerAccessibility(message, wParam, lParam, answer)) return answer;
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    bool handled = true;
    Safely([&] {
        switch (message) {
        case WM_SIZE:
            Layout();
            break;
        case WM_SHOWWINDOW:
            OnShow(wParam != FALSE);
            handled = false;
            break;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT) {
                if (HCURSOR cursor = forms::StandardCursor(p_.mousePointer)) {
                    ::SetCursor(cursor);
                    break;
                }
            }
            handled = false;
            break;
        case WM_LBUTTONDOWN:
            OnLeftPress();
            break;
        case WM_LBUTTONDBLCLK:
            // The second press of a double click, once the first click was a left one.
            if (lastMouseButton_ == 1) OnLeftPress();
            break;
        case WM_LBUTTONUP:
            OnLeftRelease(at);
            break;
        case WM_RBUTTONUP:
            lastMouseButton_ = 2;
            break;
        case WM_MBUTTONUP:
            lastMouseButton_ = 4;
            break;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != Handle()) OnCaptureLost();
            break;
        case WM_KEYDOWN:
            OnKeyDown(wParam);
            break;
        case WM_KEYUP:
            OnKeyUp(wParam);
            break;
        case WM_GETDLGCODE:
            handled = false;
            break;
        case WM_SETFOCUS:
            OnFocus(true);
            break;
        case WM_KILLFOCUS:
            OnFocus(false);
            break;
        case WM_DESTROY:
            CancelPress();
            tooltip_.Destroy();
            hook_.reset();
            handled = false;
            break;
        default:
            handled = false;
            break;
        }
    });
    if (message == WM_GETDLGCODE) return DLGC_BUTTON | DLGC_WANTARROWS | DLGC_WANTTAB;
    if (message == WM_SETCURSOR && handled) return TRUE;
    return handled ? 0 : DefaultHandling(message, wParam, lParam);
}

}  // namespace controls
