#include "controls/imagebutton/zembutton.h"

#include <shellapi.h>
#include <windowsx.h>

#include <cmath>

#include "base/MessageLoop.h"
#include "controls/imagebutton/ButtonPersistence.h"
#include "controls/imagebutton/ColorScheme.h"
#include "controls/imagebutton/ContentPainter.h"
#include "controls/imagebutton/PopupMenuPlacement.h"
#include "controls/imagebutton/ThemeApi.h"
#include "controls/imagebutton/WindowRegion.h"
#include "controls/imagebutton/styles/StyleRoutines.h"
#include "forms/AccessKey.h"
#include "forms/Focus.h"
#include "forms/MousePointers.h"
#include "forms/PaintMessages.h"
#include "forms/Units.h"

namespace controls {

namespace {
using namespace imagebutton;

constexpr wchar_t kClassName[] = L"Snipmill.zembutton";
constexpr wchar_t kDefaultFace[] = L"Tahoma";
constexpr long kPanelPressedText = 0xFFFFFF;
constexpr int kTooltipMaxWidth = 240;  // longer tooltip texts wrap

BOOL(WINAPI* FindTrackMouseEvent())(LPTRACKMOUSEEVENT) {
    using Function = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);
    if (HMODULE user = ::GetModuleHandleW(L"user32.dll"))
        if (FARPROC found = ::GetProcAddress(user, "TrackMouseEvent"))
            return reinterpret_cast<Function>(reinterpret_cast<void*>(found));
    if (HMODULE common = ::LoadLibraryW(L"comctl32.dll"))
        if (FARPROC found = ::GetProcAddress(common, "_TrackMouseEvent"))
            return reinterpret_cast<Function>(reinterpret_cast<void*>(found));
    return nullptr;
}

// The window whose activation the button follows: its form, past any frame or
// panel the button sits in; a child form of a multiple-document frame is a form.
HWND FormOf(HWND window) {
    while (window && (::GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) &&
           !(::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_MDICHILD)) {
        HWND up = ::GetParent(window);
        if (!up) break;
        window = up;
    }
    return window;
}

int Width(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    return client.right;
}

int Height(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    return client.bottom;
}
}  // namespace

// ---- Life cycle

zembutton::zembutton(forms::ControlHost& host, std::wstring name, RECT bounds) : Control(&host, std::move(name)) {
    CreateButtonWindow(bounds);
    InitializeNew();
    StartRunMode();
}

zembutton::zembutton(forms::ControlHost& host, std::wstring name, RECT bounds, bool appThemed)
    : Control(&host, std::move(name)), appThemed_(appThemed) {
    CreateButtonWindow(bounds);
    InitializeNew();
    StartRunMode();
}

zembutton::zembutton(forms::ControlHost& host, std::wstring name, RECT bounds, const forms::PropertyBag& saved)
    : Control(&host, std::move(name)) {
    CreateButtonWindow(bounds);
    Restore(saved);
    StartRunMode();
}

zembutton::~zembutton() {
    if (p_.font) p_.font->Unsubscribe(fontToken_);
    UnsetPopupMenu();
    ReplaceCustomCursor({}, nullptr);
    ownMessages_.reset();
    parentMessages_.reset();
    tooltip_.Destroy();
    theme_.reset();
}

void zembutton::CreateButtonWindow(RECT bounds) {
    parent_ = Host() ? Host()->HostWindow() : nullptr;
    isDefault_ = Ambient().DisplayAsDefault;
    CreateWindowOf(kClassName, CS_DBLCLKS, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, Name().c_str(), bounds.left,
                   bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent_);
}

void zembutton::InitializeNew() {
    p_ = ButtonProperties{};
    p_.caption = Name();
    const auto ambientFont = Ambient().Font;
    p_.font = ambientFont ? ambientFont->Clone() : forms::Font::Create(kDefaultFace, 8.25);
    p_.font->SetName(kDefaultFace);
    SubscribeFont();
    p_.colorScheme = SchemeForStyle(p_.buttonStyle, p_.colorScheme);
    ApplySchemeColors(p_);
    UpdateAccessKeys();
    ApplyResize();
}

void zembutton::Restore(const forms::PropertyBag& bag) {
    if (p_.font) p_.font->Unsubscribe(fontToken_);
    p_ = ReadButtonProperties(bag, Ambient().Font);
    if (!p_.font) p_.font = forms::Font::Create(kDefaultFace, 8.25);
    SubscribeFont();
    gdiFont_.Reset();
    // The saved pointer kind and hand pointer stand as saved, whatever the icon.
    LoadMouseIcon(p_.mouseIcon);
    if (Handle()) ::EnableWindow(Handle(), p_.enabled);
    UpdateAccessKeys();
    parent_ = Host() ? Host()->HostWindow() : ::GetParent(Handle());
    if (p_.handPointer) LoadHandCursor();
    ApplyResize();
}

void zembutton::ReadProperties(const forms::PropertyBag& bag) { Restore(bag); }

void zembutton::WriteProperties(forms::PropertyBag& bag) const { WriteButtonProperties(bag, p_, Ambient().Font); }

void zembutton::StartRunMode() {
    if (!Handle() || !Ambient().UserMode) return;
    trackMouseEvent_ = FindTrackMouseEvent();
    std::vector<UINT> own = {WM_MOUSELEAVE, WM_THEMECHANGED};
    if (AppThemed()) own.push_back(WM_SYSCOLORCHANGE);
    auto handler = [this](UINT message, WPARAM wParam, LPARAM) { OnInterceptedMessage(message, wParam); };
    ownMessages_ = std::make_unique<forms::MessageInterceptor>(Handle(), std::move(own), handler);
    if (HWND form = FormOf(parent_)) {
        const bool mdiChild = (::GetWindowLongPtrW(form, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0;
        parentMessages_ = std::make_unique<forms::MessageInterceptor>(
            form, std::vector<UINT>{mdiChild ? static_cast<UINT>(WM_NCACTIVATE) : static_cast<UINT>(WM_ACTIVATE)},
            handler);
    }
    // Without interception the button still works, only without leave and activation tracking.
    if (!ownMessages_->Installed()) ownMessages_.reset();
    if (parentMessages_ && !parentMessages_->Installed()) parentMessages_.reset();
}

void zembutton::SubscribeFont() {
    fontToken_ = p_.font->Subscribe([this] {
        gdiFont_.Reset();
        Redraw();
    });
}

void zembutton::LoadHandCursor() {
    handCursor_ = ::LoadCursorW(nullptr, IDC_HAND);
    if (!handCursor_) p_.handPointer = false;
}

bool zembutton::AppThemed() {
    if (!appThemed_) appThemed_ = ThemeApi::Instance().IsAppThemed();
    return *appThemed_;
}

void zembutton::ApplyResize() {
    if (!Handle()) return;
    const int minimum = static_cast<int>(std::ceil(forms::TwipsToPixels(kMinimumSizeTwips)));
    RECT frame{};
    ::GetWindowRect(Handle(), &frame);
    const int w = frame.right - frame.left;
    const int h = frame.bottom - frame.top;
    if (w < minimum || h < minimum) {
        // The resize comes back here through WM_SIZE.
        ::SetWindowPos(Handle(), nullptr, 0, 0, std::max(w, minimum), std::max(h, minimum),
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    RebuildRegion();
    Redraw();
}

void zembutton::UpdateAccessKeys() {
    SetAccessKeys(L"");
    if (auto key = forms::AccessKeyOf(p_.caption)) SetAccessKeys(std::wstring(1, *key));
}

// ---- Properties

void zembutton::Changed(std::wstring_view property, bool redraw) {
    if (redraw) Redraw();
    PropertyChanged(property);
}

template <typename T>
void zembutton::Assign(T& field, T value, std::wstring_view property, bool redraw) {
    field = std::move(value);
    Changed(property, redraw);
}

void zembutton::SetButtonStyle(int style) {
    if (style < 0 || style >= Styles::kCount) return;
    p_.buttonStyle = style;
    p_.colorScheme = SchemeForStyle(style, p_.colorScheme);
    ApplySchemeColors(p_);
    RebuildRegion();
    Changed(L"ButtonStyle");
}

void zembutton::SetColorScheme(int scheme) {
    p_.colorScheme = scheme;
    ApplySchemeColors(p_);
    Changed(L"ColorScheme");
}

void zembutton::SetBackColor(forms::OleColor color) {
    p_.backColor = color;
    if (p_.buttonStyle != Styles::FlatHighlight) p_.colorScheme = Schemes::Custom;
    Changed(L"BackColor");
}

void zembutton::SetForeColor(forms::OleColor color) { Assign(p_.foreColor, color, L"ForeColor"); }

void zembutton::SetForeColorHover(forms::OleColor color) { Assign(p_.foreColorHover, color, L"ForeColorHover"); }

void zembutton::SetCaption(std::wstring caption) {
    p_.caption = std::move(caption);
    if (Handle()) ::SetWindowTextW(Handle(), p_.caption.c_str());
    UpdateAccessKeys();
    forms::Announce(Handle(), EVENT_OBJECT_NAMECHANGE);
    Changed(L"Caption");
}

void zembutton::SetCaptionAlign(int align) { Assign(p_.captionAlign, align, L"CaptionAlign"); }

void zembutton::SetCaptionEffects(int effects) { Assign(p_.captionEffects, effects, L"CaptionEffects"); }

void zembutton::SetFont(std::shared_ptr<forms::Font> font) {
    if (!font) return;
    if (p_.font) p_.font->Unsubscribe(fontToken_);
    p_.font = std::move(font);
    SubscribeFont();
    gdiFont_.Reset();
    Changed(L"Font");
}

void zembutton::SetEnabled(bool enabled) {
    p_.enabled = enabled;
    // A disabled window keeps no focus; the keyboard user goes on from the next tab stop.
    if (!enabled && Handle() && ::GetFocus() == Handle()) forms::MoveFocusToNextControl(Handle(), false);
    if (Handle()) ::EnableWindow(Handle(), enabled);
    forms::Announce(Handle(), EVENT_OBJECT_STATECHANGE);
    Changed(L"Enabled");
}

void zembutton::SetMode(int mode) {
    p_.mode = mode;
    if (mode == Modes::Push) state_ = VisualStates::Normal;
    Changed(L"Mode");
}

void zembutton::SetValue(bool value) {
    if (p_.mode != Modes::Push) {
        p_.value = value;
        if (!value) state_ = VisualStates::Normal;
    } else {
        state_ = VisualStates::Normal;
    }
    Changed(L"Value");
}

void zembutton::SetShowFocusRect(bool show) { Assign(p_.showFocusRect, show, L"ShowFocusRect", false); }

void zembutton::SetHandPointer(bool hand) {
    p_.handPointer = hand;
    if (hand) {
        p_.mousePointer = 0;
        LoadHandCursor();
    }
    Changed(L"HandPointer");
}

void zembutton::SetMousePointer(short kind) { Assign(p_.mousePointer, kind, L"MousePointer", false); }

void zembutton::SetMouseIcon(std::shared_ptr<forms::Picture> icon) {
    LoadMouseIcon(std::move(icon));
    PointerFollowsIcon();
}

void zembutton::SetMouseIcon(HCURSOR cursor) {
    p_.mouseIcon.reset();
    ReplaceCustomCursor({}, cursor);
    PointerFollowsIcon();
}

void zembutton::LoadMouseIcon(std::shared_ptr<forms::Picture> icon) {
    p_.mouseIcon = std::move(icon);
    if (p_.mouseIcon && p_.mouseIcon->Kind() == forms::Picture::Type::Bitmap) {
        base::IconHandle made = forms::CursorFromBitmap(p_.mouseIcon->Bitmap());
        HCURSOR cursor = made.Get();
        ReplaceCustomCursor(std::move(made), cursor);
    } else {
        ReplaceCustomCursor({}, p_.mouseIcon ? p_.mouseIcon->Icon() : nullptr);
    }
}

void zembutton::ReplaceCustomCursor(base::IconHandle made, HCURSOR cursor) {
    // The cursor about to be destroyed may be the one on screen: the screen takes the new one first.
    if (customCursor_ && ::GetCursor() == customCursor_.Get())
        ::SetCursor(cursor ? cursor : ::LoadCursorW(nullptr, IDC_ARROW));
    customCursor_ = std::move(made);
    mouseCursor_ = cursor;
}

void zembutton::PointerFollowsIcon() {
    if (mouseCursor_) p_.handPointer = false;
    p_.mousePointer = mouseCursor_ ? kCustomPointer : 0;
    Changed(L"MouseIcon", false);
}

void zembutton::SetMaskColor(forms::OleColor color) { Assign(p_.maskColor, color, L"MaskColor"); }

void zembutton::SetUseMaskColor(bool use) {
    Assign(p_.useMaskColor, use, L"UseMaskColor", p_.pictureNormal != nullptr);
}

void zembutton::SetPictureNormal(std::shared_ptr<forms::Picture> picture) {
    p_.pictureNormal = std::move(picture);
    if (!p_.pictureNormal) {
        p_.pictureHot.reset();
        p_.pictureDown.reset();
        ApplyResize();
        Changed(L"PictureNormal", false);
        return;
    }
    Changed(L"PictureNormal");
}

void zembutton::SetPictureOfState(std::shared_ptr<forms::Picture>& field, std::shared_ptr<forms::Picture> picture,
                                  std::wstring_view property) {
    // Without a normal picture there is nothing for it to stand in for: it becomes the normal one.
    if (!p_.pictureNormal) {
        Assign(p_.pictureNormal, std::move(picture), property, false);
        return;
    }
    Assign(field, std::move(picture), property);
}

void zembutton::SetPictureHot(std::shared_ptr<forms::Picture> picture) {
    SetPictureOfState(p_.pictureHot, std::move(picture), L"PictureHot");
}

void zembutton::SetPictureDown(std::shared_ptr<forms::Picture> picture) {
    SetPictureOfState(p_.pictureDown, std::move(picture), L"PictureDown");
}

void zembutton::SetPictureAlign(int align) {
    Assign(p_.pictureAlign, align, L"PictureAlign", p_.pictureNormal != nullptr);
}

void zembutton::SetPictureShadow(bool shadow) { Assign(p_.pictureShadow, shadow, L"PictureShadow"); }

void zembutton::SetPictureEffectOnOver(int effect) { Assign(p_.pictureEffectOnOver, effect, L"PictureEffectOnOver"); }

void zembutton::SetPictureEffectOnDown(int effect) { Assign(p_.pictureEffectOnDown, effect, L"PictureEffectOnDown"); }

void zembutton::SetPicturePushOnHover(bool push) { Assign(p_.picturePushOnHover, push, L"PicturePushOnHover"); }

void zembutton::SetPictureOpacity(std::uint8_t opacity) { Assign(p_.pictureOpacity, opacity, L"PictureOpacity"); }

void zembutton::SetPictureOpacityOnOver(std::uint8_t opacity) {
    Assign(p_.pictureOpacityOnOver, opacity, L"PictureOpacityOnOver");
}

void zembutton::SetDisabledPictureMode(int mode) { Assign(p_.disabledPictureMode, mode, L"DisabledPictureMode"); }

void zembutton::SetDropDownSymbol(int symbol) { Assign(p_.dropDownSymbol, symbol, L"DropDownSymbol"); }

void zembutton::SetDropDownSeparator(bool separator) { Assign(p_.dropDownSeparator, separator, L"DropDownSeparator"); }

void zembutton::SetRightToLeft(bool rightToLeft) { Assign(p_.rightToLeft, rightToLeft, L"RightToLeft"); }

void zembutton::SetToolTip(std::wstring text) { Assign(p_.toolTip, std::move(text), L"ToolTip"); }

void zembutton::SetTooltipTitle(std::wstring title) { Assign(p_.tooltipTitle, std::move(title), L"TooltipTitle"); }

void zembutton::SetToolTipIcon(int icon) { Assign(p_.toolTipIcon, icon, L"ToolTipIcon"); }

void zembutton::SetToolTipType(int type) { Assign(p_.toolTipType, type, L"ToolTipType"); }

void zembutton::SetTooltipBackColor(forms::OleColor color) { Assign(p_.tooltipBackColor, color, L"TooltipBackColor"); }

// ---- Methods

void zembutton::SetPopupMenu(HMENU menu, int align, long flags, std::optional<UINT> defaultItem) {
    if (!menu || !::IsMenu(menu)) return;
    menu_ = menu;
    menuAlign_ = align;
    menuFlags_ = flags;
    defaultMenu_ = defaultItem;
    menuSet_ = true;
}

void zembutton::UnsetPopupMenu() {
    menu_ = nullptr;
    defaultMenu_.reset();
    menuSet_ = false;
    menuClosedOnButton_ = false;
}

void zembutton::OpenWebsite(const std::wstring& address) {
    ::ShellExecuteW(Handle(), L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void zembutton::About() {
    base::ShowMessage(::GetAncestor(Handle(), GA_ROOT), kVersionText, MB_OK | MB_ICONINFORMATION, L"About");
}

void zembutton::AmbientChanged(std::wstring_view name) {
    isDefault_ = Ambient().DisplayAsDefault;
    if (forms::SameName(name, L"DisplayAsDefault") || forms::SameName(name, L"BackColor")) Redraw();
}

// ---- Drawing

HDC zembutton::Render(HDC target) {
    if (!Handle()) return nullptr;
    const int w = Width(Handle());
    const int h = Height(Handle());
    if (w <= 0 || h <= 0) return nullptr;
    // Without a back buffer the button is drawn straight onto the target; the next redraw tries again.
    HDC surface = surface_.Ensure(w, h);
    if (!surface) surface = target;
    const Canvas canvas(surface, w, h);
    canvas.Fill(canvas.Client(), forms::TranslateColor(forms::SystemColor(COLOR_BTNFACE)));

    if (p_.Checked() && p_.buttonStyle != Styles::Standard && p_.buttonStyle != Styles::RoundedPanel)
        state_ = VisualStates::Down;
    if (p_.buttonStyle == Styles::Themed && !AppThemed()) {
        // Without a theme the button takes the rounded gradient look for good.
        p_.buttonStyle = Styles::RoundedGradient;
        p_.colorScheme = Schemes::Blue;
        ApplySchemeColors(p_);
    }
    if (p_.buttonStyle == Styles::RoundedPanel)
        p_.foreColor = state_ == VisualStates::Down ? kPanelPressedText : forms::SystemColor(COLOR_BTNTEXT);

    FaceState face;
    face.style = p_.buttonStyle;
    face.scheme = p_.colorScheme;
    face.back = forms::TranslateColor(p_.backColor);
    face.state = state_;
    face.checked = p_.Checked();
    face.enabled = p_.enabled;
    face.hasFocus = hasFocus_;
    face.isDefault = isDefault_;
    face.formActive = formActive_;
    face.showFocusRect = p_.showFocusRect;
    face.mouseOver = mouseOver_;
    face.buttonDown = buttonDown_;
    face.userMode = Ambient().UserMode;

    base::SelectedObject font(canvas.Dc(), CaptionFont());
    canvas_ = &canvas;
    PaintFace(FaceContext{canvas, face, *this});
    canvas_ = nullptr;
    return surface;
}

void zembutton::Redraw() {
    base::WindowDC dc(Handle());
    if (dc.Get()) DrawTo(dc.Get());
}

void zembutton::DrawTo(HDC dc) {
    HDC surface = Render(dc);
    if (surface && surface != dc) surface_.CopyTo(dc, 0, 0, Width(Handle()), Height(Handle()), 0, 0);
}

HFONT zembutton::CaptionFont() {
    if (!gdiFont_ && p_.font) {
        base::WindowDC screen(Handle());
        gdiFont_ = p_.font->CreateHandle(::GetDeviceCaps(screen.Get(), LOGPIXELSY));
    }
    return gdiFont_.Get();
}

void zembutton::SetState(int state) {
    if (state_ == state) return;
    state_ = state;
    Redraw();
}

void zembutton::DrawContent() {
    if (canvas_) layout_ = PaintContent(*canvas_, p_, state_, pictures_);
}

HTHEME zembutton::ButtonTheme() {
    if (!theme_ && Handle()) theme_ = std::make_unique<ThemeData>(Handle(), L"Button");
    return theme_ ? theme_->Get() : nullptr;
}

void zembutton::RebuildRegion() {
    if (!Handle()) return;
    const RegionKey key{p_.buttonStyle, Width(Handle()), Height(Handle())};
    if (key == region_ || p_.buttonStyle == Styles::Themed) return;
    base::RegionHandle region = RegionForStyle(key.style, key.width, key.height);
    // Redrawn, so that what the new outline leaves out shows the form again.
    if (region && ::SetWindowRgn(Handle(), region.Get(), TRUE)) {
        region.Release();  // the window owns it now
        region_ = key;
    }
}

void zembutton::SetWindowRegion(base::RegionHandle region) {
    if (!Handle() || !region) return;
    base::RegionHandle current(::CreateRectRgn(0, 0, 0, 0));
    if (current && ::GetWindowRgn(Handle(), current.Get()) != ERROR && ::EqualRgn(current.Get(), region.Get())) return;
    if (::SetWindowRgn(Handle(), region.Get(), TRUE)) {
        region.Release();
        region_ = RegionKey{};
    }
}

// ---- Input

short zembutton::ShiftState() noexcept {
    short shift = 0;
    if (::GetKeyState(VK_SHIFT) < 0) shift |= 1;
    if (::GetKeyState(VK_CONTROL) < 0) shift |= 2;
    if (::GetKeyState(VK_MENU) < 0) shift |= 4;
    return shift;
}

void zembutton::UseHandCursor() const {
    if (p_.handPointer && handCursor_) ::SetCursor(handCursor_);
}

bool zembutton::SetCursorForPointer() {
    if (p_.handPointer && handCursor_) {
        ::SetCursor(handCursor_);
        return true;
    }
    HCURSOR cursor = nullptr;
    if (p_.mousePointer == kCustomPointer)
        cursor = mouseCursor_;
    else
        cursor = forms::StandardCursor(p_.mousePointer);
    if (!cursor) return false;
    ::SetCursor(cursor);
    return true;
}

void zembutton::OnMouseMove() {
    UseHandCursor();
    POINT cursor{};
    ::GetCursorPos(&cursor);
    if (::WindowFromPoint(cursor) == Handle()) {
        mouseOver_ = true;
        if (trackMouseEvent_) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
            trackMouseEvent_(&track);
        }
        RaiseEvent(MouseEnter, kMouseEnterId);
    } else {
        mouseOver_ = false;
    }
    if (spacePressed_) return;
    if (mouseOver_ && buttonDown_) {
        SetState(VisualStates::Down);
    } else if (mouseOver_ && state_ != VisualStates::Hot) {
        state_ = VisualStates::Hot;
        Redraw();
        ShowTooltip();
    } else if (!mouseOver_) {
        SetState(VisualStates::Normal);
    }
}

void zembutton::OnMouseDown(const MousePress& press) {
    lastMouseDown_ = press;
    UseHandCursor();
    if (press.button != 1 && !menuClosedOnButton_) return;
    hasFocus_ = true;
    buttonDown_ = true;
    if (!spacePressed_) SetState(VisualStates::Down);
    if (!menuSet_)
        RaiseEvent(MouseDown, kMouseDownId, press.button, press.shift, press.x, press.y);
    else if (!menuClosedOnButton_)
        ShowPopupMenu();
}

void zembutton::OnMouseUp(const MousePress& press) {
    UseHandCursor();
    if (menuSet_) {
        buttonDown_ = false;
        menuClosedOnButton_ = false;
        state_ = VisualStates::Normal;
        Redraw();
        return;
    }
    if (press.button == 1) {
        buttonDown_ = false;
        const bool inside = press.x > 0 && press.x < Width(Handle()) && press.y > 0 && press.y < Height(Handle());
        if (inside) {
            if (p_.mode != Modes::Push) {
                Toggle();
                Redraw();
            }
            state_ = VisualStates::Normal;
            Redraw();
            RaiseEvent(Click, kClickId);
        }
    }
    RaiseEvent(MouseUp, kMouseUpId, press.button, press.shift, press.x, press.y);
}

void zembutton::OnDblClick() {
    UseHandCursor();
    if (lastMouseDown_.button != 1) return;
    ::SetCapture(Handle());
    state_ = VisualStates::Down;
    Redraw();
    OnMouseDown(lastMouseDown_);
    if (!menuSet_)
        RaiseEvent(DblClick, kDblClickId);
    else if (!menuClosedOnButton_)
        ShowPopupMenu();
}

// A check box turns its value over; an option button takes it from the others of its group.
void zembutton::Toggle() {
    if (p_.mode == Modes::CheckBox) {
        p_.value = !p_.value;
        forms::Announce(Handle(), EVENT_OBJECT_STATECHANGE);
        PropertyChanged(L"Value");
    } else if (p_.mode == Modes::OptionButton) {
        ClearOptionGroup();
        p_.value = true;
        PropertyChanged(L"Value");
    }
}

void zembutton::OnKeyDown(short key, short shift, bool repeated) {
    switch (key) {
    case VK_RETURN:
        RaiseEvent(Click, kClickId);
        break;
    case VK_SPACE:
        if (shift == 4) return;  // Alt+Space belongs to the window menu
        if (buttonDown_) {
            SetState(mouseOver_ ? VisualStates::Down : VisualStates::Normal);
        } else if (!repeated) {
            // A held key repeats; only its first press toggles.
            spacePressed_ = true;
            Toggle();
            state_ = VisualStates::Down;
            Redraw();
        }
        if (::GetCapture() != Handle()) {
            ::ReleaseCapture();
            ::SetCapture(Handle());
        }
        break;
    case VK_LEFT:
    case VK_UP:
        forms::MoveFocusToNextControl(Handle(), true);
        break;
    case VK_RIGHT:
    case VK_DOWN:
        forms::MoveFocusToNextControl(Handle(), false);
        break;
    default:
        if (spacePressed_) {
            spacePressed_ = false;
            state_ = VisualStates::Normal;
            Redraw();
        }
        break;
    }
    RaiseEvent(KeyDown, kKeyDownId, key, shift);
}

void zembutton::OnKeyUp(short key, short shift) {
    if (key != VK_SPACE) return;
    if (::GetCapture() == Handle()) ::ReleaseCapture();
    if (mouseOver_ && buttonDown_) {
        SetState(VisualStates::Down);
    } else {
        SetState(mouseOver_ ? VisualStates::Hot : VisualStates::Normal);
        if (!buttonDown_ && spacePressed_) RaiseEvent(Click, kClickId);
    }
    RaiseEvent(KeyUp, kKeyUpId, VK_SPACE, shift);
    spacePressed_ = false;
    buttonDown_ = false;
}

void zembutton::OnAccessKey(wchar_t character) {
    if (!p_.enabled) return;
    if (spacePressed_) {
        spacePressed_ = false;
        buttonDown_ = false;
    }
    if (p_.mode != Modes::Push) {
        // Enter and Escape reach a default or cancel button; they do not check it.
        if (character == VK_ESCAPE || character == VK_RETURN) return;
        const bool wasChecked = p_.mode == Modes::CheckBox && p_.value;
        Toggle();
        if (wasChecked) state_ = VisualStates::Normal;
        Redraw();
    }
    base::DoEvents();
    RaiseEvent(Click, kClickId);
}

forms::AccessibleFacts zembutton::Facts(long child) const {
    const long role = p_.mode == Modes::CheckBox       ? ROLE_SYSTEM_CHECKBUTTON
                      : p_.mode == Modes::OptionButton ? ROLE_SYSTEM_RADIOBUTTON
                                                       : ROLE_SYSTEM_PUSHBUTTON;
    return forms::ButtonFacts(Control::Facts(child), role, p_.caption, p_.toolTip, p_.Checked(),
                              state_ == VisualStates::Down);
}

void zembutton::DoDefaultAction(long) { OnAccessKey(L'\0'); }

void zembutton::OnLostFocus() {
    hasFocus_ = false;
    buttonDown_ = false;
    spacePressed_ = false;
    state_ = formActive_ && mouseOver_ ? VisualStates::Hot : VisualStates::Normal;
    Redraw();
    if (isDefault_) Redraw();
}

void zembutton::OnFormActivation(bool active) {
    if (active) {
        formActive_ = true;
        state_ = VisualStates::Normal;
        if (isDefault_) Redraw();
        Redraw();
        return;
    }
    buttonDown_ = false;
    spacePressed_ = false;
    hasFocus_ = false;
    formActive_ = false;
    state_ = VisualStates::Normal;
    Redraw();
}

void zembutton::OnMouseLeave() {
    mouseOver_ = false;
    if (menuSet_) {
        if (menuShowing_) {
            menuShowing_ = false;
            menuClosedOnButton_ = true;
            return;
        }
        menuClosedOnButton_ = false;
    }
    if (spacePressed_) return;
    SetState(VisualStates::Normal);
    RaiseEvent(MouseLeave, kMouseLeaveId);
}

void zembutton::OnInterceptedMessage(UINT message, WPARAM wParam) {
    switch (message) {
    case WM_ACTIVATE:
    case WM_NCACTIVATE:
        OnFormActivation(LOWORD(wParam) != 0);
        break;
    case WM_THEMECHANGED:
        theme_.reset();
        Redraw();
        break;
    case WM_SYSCOLORCHANGE:
        Redraw();
        break;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        break;
    default:
        break;
    }
}

void zembutton::ShowPopupMenu() {
    const int w = Width(Handle());
    const int h = Height(Handle());
    menuShowing_ = true;
    const std::optional<MenuPlacement> placement = PlacePopupMenu(menuAlign_, menuFlags_, w, h);
    if (!placement) {
        menuShowing_ = false;
        return;
    }
    if (placement->storeFlags) menuFlags_ = placement->flags;
    POINT at = placement->point;
    ::ClientToScreen(Handle(), &at);
    const UINT previousDefault = ::GetMenuDefaultItem(menu_, FALSE, 0);
    if (defaultMenu_) ::SetMenuDefaultItem(menu_, *defaultMenu_, FALSE);
    ::TrackPopupMenuEx(menu_, static_cast<UINT>(placement->flags), at.x, at.y, parent_ ? parent_ : Handle(), nullptr);
    if (defaultMenu_) ::SetMenuDefaultItem(menu_, previousDefault, FALSE);

    POINT cursor{};
    ::GetCursorPos(&cursor);
    if (::WindowFromPoint(cursor) == Handle()) {
        menuClosedOnButton_ = true;
        return;
    }
    buttonDown_ = false;
    mouseOver_ = false;
    spacePressed_ = false;
    menuClosedOnButton_ = false;
    menuShowing_ = false;
    state_ = VisualStates::Normal;
    Redraw();
}

void zembutton::ClearOptionGroup() {
    HWND container = ::GetParent(Handle());
    for (forms::Control* control : forms::ControlsOf(::GetAncestor(Handle(), GA_ROOT))) {
        auto* other = dynamic_cast<zembutton*>(control);
        if (!other || other->Handle() == Handle() || ::GetParent(other->Handle()) != container) continue;
        if (other->Mode() == Modes::OptionButton) other->SetValue(false);
    }
}

void zembutton::ShowTooltip() {
    if (!p_.enabled || state_ == VisualStates::Down || menuClosedOnButton_) return;
    forms::TooltipLook look;
    look.text = p_.toolTip;
    if (!p_.tooltipTitle.empty()) look.title = p_.tooltipTitle;
    look.icon = p_.toolTipIcon;
    look.balloon = p_.toolTipType == ToolTipTypes::Balloon;
    look.rightToLeft = p_.rightToLeft;
    look.dropShadow = true;
    look.maxWidth = kTooltipMaxWidth;
    // Black (0) keeps the platform's colour.
    if (p_.tooltipBackColor != 0) look.backColor = forms::TranslateColor(p_.tooltipBackColor);
    tooltip_.Create(Handle(), look);
}

LRESULT zembutton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const auto press = [&](short button) {
        short shift = 0;
        if (wParam & MK_SHIFT) shift |= 1;
        if (wParam & MK_CONTROL) shift |= 2;
        if (::GetKeyState(VK_MENU) < 0) shift |= 4;
        return MousePress{button, shift, static_cast<float>(GET_X_LPARAM(lParam)),
                          static_cast<float>(GET_Y_LPARAM(lParam))};
    };
    const auto pressed = [&](short button) {
        if (button == 1) ::SetFocus(Handle());
        ::SetCapture(Handle());
        OnMouseDown(press(button));
    };
    const auto released = [&](short button) {
        if (::GetCapture() == Handle() && (wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0) ::ReleaseCapture();
        OnMouseUp(press(button));
    };
    LRESULT painted = 0;
    if (forms::AnswerPaintMessage(
            Handle(), message, wParam, [this](HDC dc, const RECT&) { DrawTo(dc); }, painted))
        return painted;
    if (LRESULT answer = 0; AnswerAccessibility(message, wParam, lParam, answer)) return answer;
    switch (message) {
    case WM_SIZE:
        ApplyResize();
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && SetCursorForPointer()) return TRUE;
        break;
    case WM_MOUSEMOVE:
        OnMouseMove();
        return 0;
    case WM_LBUTTONDOWN:
        pressed(1);
        return 0;
    case WM_RBUTTONDOWN:
        pressed(2);
        return 0;
    case WM_MBUTTONDOWN:
        pressed(4);
        return 0;
    case WM_LBUTTONUP:
        released(1);
        return 0;
    case WM_RBUTTONUP:
        released(2);
        return 0;
    case WM_MBUTTONUP:
        released(4);
        return 0;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        OnDblClick();
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(static_cast<short>(wParam), ShiftState(), (lParam & (1L << 30)) != 0);
        return 0;
    case WM_SYSKEYDOWN:
        OnKeyDown(static_cast<short>(wParam), ShiftState(), (lParam & (1L << 30)) != 0);
        break;  // the system keys keep their meaning
    case WM_KEYUP:
        OnKeyUp(static_cast<short>(wParam), ShiftState());
        return 0;
    case WM_SYSKEYUP:
        OnKeyUp(static_cast<short>(wParam), ShiftState());
        break;
    case WM_CHAR:
        RaiseEvent(KeyPress, kKeyPressId, static_cast<short>(wParam));
        return 0;
    case WM_GETDLGCODE:
        return DLGC_BUTTON | DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
        hasFocus_ = true;
        FocusChanged(true);
        return 0;
    case WM_KILLFOCUS:
        OnLostFocus();
        FocusChanged(false);
        return 0;
    case WM_THEMECHANGED:
        theme_.reset();
        break;
    case WM_SHOWWINDOW:
        // While shown the button's own tooltip stands in for the host's.
        SetToolTipText(wParam ? std::wstring() : p_.toolTip);
        break;
    default:
        break;
    }
    return DefaultHandling(message, wParam, lParam);
}

}  // namespace controls
