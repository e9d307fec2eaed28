#pragma once
// The image button: the owner-drawn command button of both windows. Fourteen
// styles, colour schemes, pictures, caption effects, push, check-box and
// option-button modes, a popup menu and its own tooltip.
#include <memory>
#include <optional>
#include <string>

#include "base/Event.h"
#include "base/Handles.h"
#include "controls/imagebutton/ButtonProperties.h"
#include "controls/imagebutton/Canvas.h"
#include "controls/imagebutton/ContentLayout.h"
#include "controls/imagebutton/PictureRenderer.h"
#include "controls/imagebutton/ThemeApi.h"
#include "controls/imagebutton/styles/FaceContext.h"
#include "forms/BackBuffer.h"
#include "forms/Colors.h"
#include "forms/Control.h"
#include "forms/MessageInterceptor.h"
#include "forms/PropertyBag.h"
#include "forms/Tooltip.h"

namespace controls {

class zembutton : public forms::Control, private imagebutton::FaceHost {
public:
    // Event identifiers the host subscribes under.
    static constexpr int kClickId = -600;
    static constexpr int kDblClickId = -601;
    static constexpr int kKeyDownId = -602;
    static constexpr int kKeyPressId = -603;
    static constexpr int kKeyUpId = -604;
    static constexpr int kMouseDownId = -605;
    static constexpr int kMouseMoveId = -606;
    static constexpr int kMouseUpId = -607;
    static constexpr int kMouseEnterId = 1;
    static constexpr int kMouseLeaveId = 2;

    static constexpr wchar_t kVersionText[] = L"ZEMButton v 1.02";
    // Neither side of the button is shorter than this, in host units (twips).
    static constexpr int kMinimumSizeTwips = 220;

    // A button newly placed on a form.
    zembutton(forms::ControlHost& host, std::wstring name, RECT bounds);
    // A button restored from what the host saved.
    zembutton(forms::ControlHost& host, std::wstring name, RECT bounds, const forms::PropertyBag& saved);
    ~zembutton() override;

    void ReadProperties(const forms::PropertyBag& bag);
    void WriteProperties(forms::PropertyBag& bag) const;

    HWND hWnd() const noexcept { return Handle(); }

    int ButtonStyle() const noexcept { return p_.buttonStyle; }
    void SetButtonStyle(int style);
    int ColorScheme() const noexcept { return p_.colorScheme; }
    void SetColorScheme(int scheme);
    forms::OleColor BackColor() const noexcept { return p_.backColor; }
    void SetBackColor(forms::OleColor color);
    forms::OleColor ForeColor() const noexcept { return p_.foreColor; }
    void SetForeColor(forms::OleColor color);
    forms::OleColor ForeColorHover() const noexcept { return p_.foreColorHover; }
    void SetForeColorHover(forms::OleColor color);
    const std::wstring& Caption() const noexcept { return p_.caption; }
    void SetCaption(std::wstring caption);
    int CaptionAlign() const noexcept { return p_.captionAlign; }
    void SetCaptionAlign(int align);
    int CaptionEffects() const noexcept { return p_.captionEffects; }
    void SetCaptionEffects(int effects);
    const std::shared_ptr<forms::Font>& Font() const noexcept { return p_.font; }
    void SetFont(std::shared_ptr<forms::Font> font);
    bool Enabled() const noexcept { return p_.enabled; }
    void SetEnabled(bool enabled);
    int Mode() const noexcept { return p_.mode; }
    void SetMode(int mode);
    bool Value() const noexcept { return p_.value; }
    void SetValue(bool value);
    bool ShowFocusRect() const noexcept { return p_.showFocusRect; }
    void SetShowFocusRect(bool show);
    bool HandPointer() const noexcept { return p_.handPointer; }
    void SetHandPointer(bool hand);
    short MousePointer() const noexcept { return p_.mousePointer; }
    void SetMousePointer(short kind);
    // The pointer shown for the custom pointer kind: a cursor given as it is, or one from the picture.
    HCURSOR MouseIcon() const noexcept { return mouseCursor_; }
    const std::shared_ptr<forms::Picture>& MouseIconPicture() const noexcept { return p_.mouseIcon; }
    void SetMouseIcon(std::shared_ptr<forms::Picture> icon);
    // A cursor the caller keeps alive (a shared system cursor, say); it is not saved with the button.
    void SetMouseIcon(HCURSOR cursor);
    forms::OleColor MaskColor() const noexcept { return p_.maskColor; }
    void SetMaskColor(forms::OleColor color);
    bool UseMaskColor() const noexcept { return p_.useMaskColor; }
    void SetUseMaskColor(bool use);
    const std::shared_ptr<forms::Picture>& PictureNormal() const noexcept { return p_.pictureNormal; }
    void SetPictureNormal(std::shared_ptr<forms::Picture> picture);
    const std::shared_ptr<forms::Picture>& PictureHot() const noexcept { return p_.pictureHot; }
    void SetPictureHot(std::shared_ptr<forms::Picture> picture);
    const std::shared_ptr<forms::Picture>& PictureDown() const noexcept { return p_.pictureDown; }
    void SetPictureDown(std::shared_ptr<forms::Picture> picture);
    int PictureAlign() const noexcept { return p_.pictureAlign; }
    void SetPictureAlign(int align);
    bool PictureShadow() const noexcept { return p_.pictureShadow; }
    void SetPictureShadow(bool shadow);
    int PictureEffectOnOver() const noexcept { return p_.pictureEffectOnOver; }
    void SetPictureEffectOnOver(int effect);
    int PictureEffectOnDown() const noexcept { return p_.pictureEffectOnDown; }
    void SetPictureEffectOnDown(int effect);
    bool PicturePushOnHover() const noexcept { return p_.picturePushOnHover; }
    void SetPicturePushOnHover(bool push);
    std::uint8_t PictureOpacity() const noexcept { return p_.pictureOpacity; }
    void SetPictureOpacity(std::uint8_t opacity);
    std::uint8_t PictureOpacityOnOver() const noexcept { return p_.pictureOpacityOnOver; }
    void SetPictureOpacityOnOver(std::uint8_t opacity);
    int DisabledPictureMode() const noexcept { return p_.disabledPictureMode; }
    void SetDisabledPictureMode(int mode);
    int DropDownSymbol() const noexcept { return p_.dropDownSymbol; }
    void SetDropDownSymbol(int symbol);
    bool DropDownSeparator() const noexcept { return p_.dropDownSeparator; }
    void SetDropDownSeparator(bool separator);
    bool RightToLeft() const noexcept { return p_.rightToLeft; }
    void SetRightToLeft(bool rightToLeft);
    const std::wstring& ToolTip() const noexcept { return p_.toolTip; }
    void SetToolTip(std::wstring text);
    const std::wstring& TooltipTitle() const noexcept { return p_.tooltipTitle; }
    void SetTooltipTitle(std::wstring title);
    int ToolTipIcon() const noexcept { return p_.toolTipIcon; }
    void SetToolTipIcon(int icon);
    int ToolTipType() const noexcept { return p_.toolTipType; }
    void SetToolTipType(int type);
    forms::OleColor TooltipBackColor() const noexcept { return p_.tooltipBackColor; }
    void SetTooltipBackColor(forms::OleColor color);

    // A left press opens this menu of the host instead of raising MouseDown.
    // Align 0..7 places it around the button; flags are TrackPopupMenu's.
    void SetPopupMenu(HMENU menu, int align, long flags, std::optional<UINT> defaultItem = std::nullopt);
    void UnsetPopupMenu();
    void OpenWebsite(const std::wstring& address);
    void About();

    // Draws the whole button in its present state, at once.
    void Redraw();
    // Redraws, then copies the button's pixels into a DC the size of the client area.
    void DrawTo(HDC dc);

    base::Event<> Click;
    base::Event<> DblClick;
    base::Event<short, short> KeyDown;  // key code, shift state
    base::Event<short> KeyPress;        // character
    base::Event<short, short> KeyUp;
    base::Event<short, short, float, float> MouseDown;  // button, shift state, x, y in pixels
    // Part of the interface hosts know; the button never raises it.
    base::Event<short, short, float, float> MouseMove;
    base::Event<short, short, float, float> MouseUp;
    base::Event<> MouseEnter;
    base::Event<> MouseLeave;

    // Run-time facts, for the host and for checking the button's behaviour.
    int State() const noexcept { return state_; }
    bool MouseOver() const noexcept { return mouseOver_; }
    bool HasFocus() const noexcept { return hasFocus_; }
    bool FormActive() const noexcept { return formActive_; }
    bool IsDefault() const noexcept { return isDefault_; }
    const imagebutton::ContentLayout& Layout() const noexcept { return layout_; }
    HWND TooltipWindow() const noexcept { return tooltip_.Handle(); }
    bool Intercepting() const noexcept { return ownMessages_ != nullptr || parentMessages_ != nullptr; }

    // The host reports the access key, or Enter or Escape for a default or cancel button.
    void OnAccessKey(wchar_t character) override;
    void AmbientChanged(std::wstring_view name) override;

    // A push button (a check or option button in those modes) named by its caption, pressed as by its access key.
    forms::AccessibleFacts Facts(long child) const override;
    void DoDefaultAction(long child) override;

protected:
    // A button on a platform whose theme state is given rather than asked (to
    // show the look of a platform without themes).
    zembutton(forms::ControlHost& host, std::wstring name, RECT bounds, bool appThemed);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct MousePress {
        short button = 0;
        short shift = 0;
        float x = 0;
        float y = 0;
    };

    void CreateButtonWindow(RECT bounds);
    void InitializeNew();
    void Restore(const forms::PropertyBag& bag);
    void StartRunMode();
    void Changed(std::wstring_view property, bool redraw = true);
    // Stores a property's new value, redraws if asked, and tells the host.
    template <typename T>
    void Assign(T& field, T value, std::wstring_view property, bool redraw = true);
    void SubscribeFont();
    void LoadMouseIcon(std::shared_ptr<forms::Picture> icon);
    void ReplaceCustomCursor(base::IconHandle made, HCURSOR cursor);
    void PointerFollowsIcon();
    void LoadHandCursor();
    bool AppThemed();
    void ApplyResize();
    void UpdateAccessKeys();
    void SetPictureOfState(std::shared_ptr<forms::Picture>& field, std::shared_ptr<forms::Picture> picture,
                           std::wstring_view property);

    // Drawing
    // Draws the whole button into the back buffer, or straight onto target when
    // there is none; returns the DC drawn on, or nullptr when nothing was drawn.
    HDC Render(HDC target);
    void SetState(int state);
    void DrawContent() override;
    void RebuildRegion() override;
    void SetWindowRegion(base::RegionHandle region) override;
    HWND WindowHandle() const noexcept override { return Handle(); }
    HTHEME ButtonTheme() override;
    HFONT CaptionFont();

    // Input
    void OnMouseMove();
    void OnMouseDown(const MousePress& press);
    void OnMouseUp(const MousePress& press);
    void OnDblClick();
    void OnKeyDown(short key, short shift, bool repeated);
    void OnKeyUp(short key, short shift);
    void OnLostFocus();
    void OnFormActivation(bool active);
    void OnMouseLeave();
    void OnInterceptedMessage(UINT message, WPARAM wParam);
    void ShowPopupMenu();
    void ClearOptionGroup();
    void Toggle();
    void ShowTooltip();
    bool SetCursorForPointer();
    void UseHandCursor() const;
    static short ShiftState() noexcept;

    imagebutton::ButtonProperties p_;
    std::size_t fontToken_ = 0;
    base::FontHandle gdiFont_;
    base::IconHandle customCursor_;  // made from a bitmap MouseIcon
    HCURSOR mouseCursor_ = nullptr;  // the custom pointer in use
    HCURSOR handCursor_ = nullptr;   // shared system cursor

    // Run-time state
    int state_ = imagebutton::VisualStates::Normal;
    bool buttonDown_ = false;
    bool mouseOver_ = false;
    bool hasFocus_ = false;
    bool spacePressed_ = false;
    bool isDefault_ = false;
    bool formActive_ = false;
    MousePress lastMouseDown_;
    HMENU menu_ = nullptr;
    int menuAlign_ = 0;
    long menuFlags_ = 0;
    std::optional<UINT> defaultMenu_;
    bool menuSet_ = false;
    bool menuShowing_ = false;
    bool menuClosedOnButton_ = false;

    // Platform facts, found once.
    std::optional<bool> appThemed_;
    BOOL(WINAPI* trackMouseEvent_)(LPTRACKMOUSEEVENT) = nullptr;
    HWND parent_ = nullptr;

    std::unique_ptr<forms::MessageInterceptor> ownMessages_;
    std::unique_ptr<forms::MessageInterceptor> parentMessages_;
    forms::Tooltip tooltip_;

    // Drawing
    forms::BackBuffer surface_;
    const imagebutton::Canvas* canvas_ = nullptr;  // while a redraw runs
    imagebutton::ContentLayout layout_;
    imagebutton::PictureRenderer pictures_;
    // Kept open from one redraw to the next (opening it is slow) until the theme changes.
    std::unique_ptr<imagebutton::ThemeData> theme_;
    // The outline last given to the window, so that an unchanged one is not made again.
    struct RegionKey {
        int style = -1;
        int width = 0;
        int height = 0;
        bool operator==(const RegionKey&) const = default;
    };
    RegionKey region_;
};

}  // namespace controls
