#pragma once
// A top-level window that hosts controls: it paints its background and its
// windowless elements in one double-buffered pass, gives clicks and pointers to
// those elements, and routes notifications from child windows back to them.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/Handles.h"
#include "base/MessageLoop.h"
#include "forms/Accessible.h"
#include "forms/BackBuffer.h"
#include "forms/Control.h"
#include "forms/Windowless.h"

namespace forms {

class Form : public Window, public ControlHost, private base::KeystrokeFilter, private AccessibleSource {
public:
    explicit Form(OleColor backColor = SystemColor(COLOR_BTNFACE));
    ~Form() override;

    void Show(int command = SW_SHOW);
    void Hide();
    bool Visible() const noexcept;
    int Dpi() const noexcept { return dpi_; }

    // ControlHost
    HWND HostWindow() const noexcept override { return Handle(); }
    AmbientProperties Ambient(const Control& control) const override;
    // The focused control shows itself as the default button, as in a dialog.
    void ControlFocusChanged(Control& control, bool focused) override;
    void SetDefaultFont(std::shared_ptr<Font> font) { defaultFont_ = std::move(font); }

    // Windowless elements paint in the order they were added (later ones on top).
    void AddElement(WindowlessElement& element);
    void RemoveElement(WindowlessElement& element) noexcept;
    void InvalidateArea(const RECT& area) const noexcept;

    // Notifications a child window sends its parent, handled for that child.
    using ReflectHandler = std::function<bool(UINT, WPARAM, LPARAM, LRESULT&)>;
    void ReflectFor(HWND child, ReflectHandler handler);

    // Draws the client area as the screen shows it into a DC (for pictures of the window).
    void PaintClient(HDC dc) const;

    // Keyboard shortcuts that work wherever the focus is on the form and come
    // before the focused control's own handling of the key, but for the keys
    // the control asks for (see MoveFocus). Each runs
    // OnShortcut(cmd) once per press: a held key repeats it only where
    // ShortcutRepeats(cmd) says so.
    void SetShortcuts(std::span<const ACCEL> shortcuts);

    // Keyboard navigation as a dialog's: Tab and Shift+Tab go round the tab
    // stops, which are the child windows with WS_TABSTOP that are visible,
    // enabled and in view (in z-order), then the windowless tab stops (in the
    // order they were added). A control keeps Tab, Space or Return that its
    // WM_GETDLGCODE asks for; Space and Return go to a focused button before
    // any shortcut. After a message box or dialog the focus comes back where it was.
    void MoveFocus(bool previous);
    // Puts child windows first in the tab order, in the order given.
    void SetTabOrder(std::initializer_list<HWND> windows);
    // The windowless tab stop that has the focus, or nullptr.
    WindowlessElement* FocusedElement() const noexcept { return focusedElement_; }

    // An element's text changed: screen readers hear of it.
    void ElementTextChanged(WindowlessElement& element);

protected:
    // Creates the window with the given client size.
    bool CreateForm(const wchar_t* className, const std::wstring& caption, int clientWidth, int clientHeight,
                    DWORD style, DWORD exStyle, HWND owner = nullptr, HICON bigIcon = nullptr,
                    HICON smallIcon = nullptr);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    virtual void OnShortcut(WORD /*command*/) {}
    virtual bool ShortcutRepeats(WORD /*command*/) const { return false; }

    // What the form draws itself beyond its windowless elements (the marks of a
    // plot, the parts of a status line), for screen readers: after the
    // elements, before the child windows, in the order given.
    struct DrawnPart {
        long role = ROLE_SYSTEM_STATICTEXT;
        std::wstring name;
        std::wstring value;
        RECT bounds{};  // in client coordinates; empty while out of sight
        DWORD announceInterval = 0;  // a changing value is announced at most once in this many ms
    };
    virtual std::vector<DrawnPart> DrawnParts() const { return {}; }
    // Announces the drawn parts whose values changed since they were last announced.
    void AnnounceChangedParts();

private:
    // A keystroke for this form or a control on it; true when it was a shortcut.
    bool FilterKeystroke(const MSG& msg) override;
    // The whole client area drawn into the back buffer, the area of it copied to dc.
    void Paint(HDC dc, const RECT& area);
    WindowlessElement* ElementAt(POINT point, bool clickableOnly) const;
    bool Reflect(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // What the control a keystroke is for answers to WM_GETDLGCODE (0 for the form itself).
    UINT DialogCode(const MSG& msg) const;
    void FocusElement(WindowlessElement* element);
    void InvalidateFocus() const;
    void RememberFocus();
    void RestoreFocus();

    // AccessibleSource: the exposed elements (children 1..), the drawn parts, then the child windows in view.
    AccessibleFacts Facts(long child) const override;
    long ChildCount() const override;
    HWND ChildWindow(long child) const override;
    RECT ChildBounds(long child) const override;
    long FocusedChild() const override;
    void DoDefaultAction(long child) override;
    void TakeFocus(long child) override;
    std::vector<WindowlessElement*> ExposedElements() const;
    std::vector<HWND> ExposedWindows() const;
    WindowlessElement* ExposedElement(long child) const;
    std::optional<DrawnPart> PartOf(long child) const;

    OleColor backColor_;
    int dpi_ = 96;
    std::shared_ptr<Font> defaultFont_;
    std::vector<WindowlessElement*> elements_;
    std::map<HWND, ReflectHandler> reflectors_;
    WindowlessElement* pressed_ = nullptr;
    BackBuffer backBuffer_;
    base::AcceleratorHandle shortcuts_;
    bool repeatedKey_ = false;
    const Control* defaultControl_ = nullptr;  // the focused control that shows as the default button
    WindowlessElement* focusedElement_ = nullptr;
    HWND lastFocus_ = nullptr;  // where the focus was before the form was last deactivated
    struct Announced {
        std::wstring value;
        DWORD at = 0;
    };
    std::vector<Announced> announcedParts_;
};

}  // namespace forms
