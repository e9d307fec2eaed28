#pragma once
// The themed push button: drawn by the platform's visual theme (Style 6) or by
// one of ten looks of its own, with an icon and a caption in five placements,
// a toggle mode, a shaped window and its own tooltip.
#include <cstdint>
#include <memory>
#include <string>

#include "base/Event.h"
#include "base/Handles.h"
#include "controls/themedbutton/AboutBox.h"
#include "controls/themedbutton/ButtonProperties.h"
#include "controls/themedbutton/IconPainter.h"
#include "controls/themedbutton/MouseLeave.h"
#include "controls/themedbutton/ThemeFace.h"
#include "forms/BackBuffer.h"
#include "forms/Control.h"
#include "forms/MessageInterceptor.h"
#include "forms/PropertyBag.h"
#include "forms/Tooltip.h"

namespace controls {

class ThemedButton : public forms::Control {
public:
    // Event indices the host subscribes under.
    static constexpr int kClickId = 1;
    static constexpr int kMouseEnterId = 2;
    static constexpr int kMouseLeaveId = 3;
    // Neither side of the button is shorter than this, in host units (twips).
    static constexpr int kMinimumSizeTwips = 300;

    // A button newly placed on a form.
    ThemedButton(forms::ControlHost& host, std::wstring name, RECT bounds, bool visible = true);
    // A button restored from what the host saved.
    ThemedButton(forms::ControlHost& host, std::wstring name, RECT bounds, const forms::PropertyBag& saved,
                 bool visible = true);
    ~ThemedButton() override;

    void ReadProperties(const forms::PropertyBag& bag);
    void WriteProperties(forms::PropertyBag& bag) const;

    HWND hWnd() const noexcept { return Handle(); }

    const std::shared_ptr<forms::Picture>& Icon() const noexcept { return p_.icon; }
    void SetIcon(std::shared_ptr<forms::Picture> icon);
    int Style() const noexcept { return p_.style; }
    void SetStyle(int style);
    const std::wstring& Caption() const noexcept { return p_.caption; }
    void SetCaption(std::wstring caption);
    int IconSize() const noexcept { return p_.iconSize; }
    void SetIconSize(int size);
    int CaptionAlign() const noexcept { return p_.captionAlign; }
    void SetCaptionAlign(int align);
    int IconAlign() const noexcept { return p_.iconAlign; }
    void SetIconAlign(int align);
    int NonThemeStyle() const noexcept { return p_.nonThemeStyle; }
    void SetNonThemeStyle(int style);
    bool Enabled() const noexcept { return p_.enabled; }
    void SetEnabled(bool enabled);
    bool ShowFocus() const noexcept { return p_.showFocus; }
    void SetShowFocus(bool show);
    bool UseCustomColors() const noexcept { return p_.useCustomColors; }
    void SetUseCustomColors(bool use);
    forms::OleColor BackColor() const noexcept { return p_.backColor; }
    void SetBackColor(forms::OleColor color);
    forms::OleColor HighlightColor() const noexcept { return p_.highlightColor; }
    void SetHighlightColor(forms::OleColor color);
    forms::OleColor FontColor() const noexcept { return p_.fontColor; }
    void SetFontColor(forms::OleColor color);
    forms::OleColor FontHighlightColor() const noexcept { return p_.fontHighlightColor; }
    void SetFontHighlightColor(forms::OleColor color);
    // The button's own tooltip text; forms::Control::ToolTipText is the host's attribute for it.
    const std::wstring& ToolTipText() const noexcept { return p_.toolTipText; }
    void SetToolTipText(std::wstring text);
    const std::wstring& TooltipTitle() const noexcept { return p_.tooltipTitle; }
    void SetTooltipTitle(std::wstring title);
    int ToolTipIcon() const noexcept { return p_.toolTipIcon; }
    void SetToolTipIcon(int icon);
    int ToolTipType() const noexcept { return p_.toolTipType; }
    void SetToolTipType(int type);
    forms::OleColor TooltipBackColor() const noexcept { return p_.tooltipBackColor; }
    void SetTooltipBackColor(forms::OleColor color);
    forms::OleColor ToolTipForeColor() const noexcept { return p_.toolTipForeColor; }
    void SetToolTipForeColor(forms::OleColor color);
    const std::shared_ptr<forms::Font>& Font() const noexcept { return p_.font; }
    void SetFont(std::shared_ptr<forms::Font> font);
    int ButtonType() const noexcept { return p_.buttonType; }
    void SetButtonType(int type);
    bool Value() const noexcept { return p_.value; }
    void SetValue(bool value);
    forms::OleColor MaskColor() const noexcept { return p_.maskColor; }
    void SetMaskColor(forms::OleColor color);
    bool UseMaskColor() const noexcept { return p_.useMaskColor; }
    void SetUseMaskColor(bool use);
    short MousePointer() const noexcept { return p_.mousePointer; }
    void SetMousePointer(short pointer);
    bool RoundedBordersByTheme() const noexcept { return p_.roundedBordersByTheme; }
    void SetRoundedBordersByTheme(bool rounded);
    bool RightToLeft() const noexcept { return p_.rightToLeft; }
    void SetRightToLeft(bool rightToLeft);

    // Draws the whole button now.
    void Refresh();
    // Draws the whole button into a DC the size of its client area.
    void DrawTo(HDC dc);
    void About();
    static std::wstring Version() { return L"3.6.2"; }
    // Opens a document or web address with the shell; its result (above 32 on success).
    int OpenLink(const std::wstring& link);
    bool PaintIconGrayscale(HDC dc, HICON icon, int x, int y, int height, int width);

    base::Event<> Click;
    base::Event<> MouseEnter;
    base::Event<> MouseLeave;

    // Run-time facts, for the host and for checking the button's behaviour.
    int State() const noexcept { return state_; }
    bool HasFocus() const noexcept { return hasFocus_; }
    bool MouseInside() const noexcept { return mouseInside_; }
    bool Shown() const noexcept { return shown_; }
    int LastMouseButton() const noexcept { return lastMouseButton_; }
    bool Hooked() const noexcept { return hook_ != nullptr; }
    HWND TooltipWindow() const noexcept { return tooltip_.Handle(); }
    HWND AboutWindow() const noexcept { return about_.Handle(); }
    const RECT& CaptionRect() const noexcept { return captionRect_; }
    UINT CaptionFormat() const noexcept { return captionFormat_; }
    int IconMargin() const noexcept { return iconMargin_; }

    void OnAccessKey(wchar_t character) override;
    void AmbientChanged(std::wstring_view name) override;

    // A push button (a check button when it toggles) named by its caption, pressed as by the space key.
    forms::AccessibleFacts Facts(long child) const override;
    void DoDefaultAction(long child) override;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateButtonWindow(RECT bounds, bool visible);
    void StartRunMode();
    void SubscribeFont();
    void UseFont(std::shared_ptr<forms::Font> font);
    HFONT DrawingFont();
    void UpdateAccessKeys();
    // Stores a new value, tells the host, then repaints, or lays out anew and repaints.
    enum class After { Repaint, Layout, Nothing };
    template <typename T>
    void Assign(T& field, T value, std::wstring_view property, After after = After::Repaint);

    // Drawing
    void Layout();
    void Paint(HDC dc);
    void PaintFace(HDC dc, int width, int height);
    void PaintIcon(HDC dc, int width, int height);
    void PaintCaption(HDC dc);
    bool Emphasis() const;
    // The dotted focus rectangle of the lighter looks shows where the keyboard focus is.
    bool ShowsFocusRect() const;

    // Input
    void OnHookedMessage(UINT message, POINT at);
    void OnMouseEntry();
    void OnMouseExit();
    // Over the button's shape, in client coordinates.
    bool Over(POINT at) const;
    void OnLeftPress();
    void OnLeftRelease(POINT at);
    // Ends a press without a click (hidden, disabled, destroyed): the mouse goes free, the button stands up.
    void CancelPress();
    void OnCaptureLost();
    void OwnClick();
    void OnKeyDown(WPARAM key);
    void OnKeyUp(WPARAM key);
    void OnFocus(bool focused);
    void OnShow(bool shown);
    void BuildTooltip();
    void TearDownTooltip();
    // Raises the event; false when a handler destroyed the button.
    bool Raise(const base::Event<>& event, int id);

    controls::themedbutton::ButtonProperties p_;
    std::size_t fontToken_ = 0;
    base::FontHandle gdiFont_;

    int state_ = themedbutton::VisualStates::Normal;
    bool hasFocus_ = false;
    bool shown_ = false;
    bool mouseInside_ = false;
    bool leftPressed_ = false;  // held down since a left press on the button, which then has the mouse
    int lastMouseButton_ = 0;
    long surfaceBackground_;
    RECT captionRect_{};
    UINT captionFormat_;
    int iconMargin_ = 0;  // left by the last repaint, 0 before the first; a newly placed button starts at 4

    // The picture is drawn here and copied to the screen whole: no flicker, and the
    // icon's pixel work reads memory rather than the screen. Made again only to grow.
    forms::BackBuffer surface_;
    themedbutton::ButtonTheme theme_;
    themedbutton::MaskedCopier masked_;
    // The grey copy a disabled button draws of its icon, made once per icon: making an icon is slow.
    std::weak_ptr<forms::Picture> greySource_;
    base::IconHandle greyIcon_;

    themedbutton::LeaveService leaveService_ = themedbutton::LeaveService::None;
    std::unique_ptr<forms::MessageInterceptor> hook_;
    forms::Tooltip tooltip_;
    themedbutton::AboutBox about_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace controls
