#pragma once
// Elements a form draws itself rather than as child windows: labels, frames and
// pictures. They sit in the form's paint order and ask the form to repaint them.
#include <windows.h>

#include <memory>
#include <string>

#include "base/Event.h"
#include "forms/Colors.h"
#include "forms/Font.h"
#include "forms/Picture.h"

namespace forms {

class Form;

class WindowlessElement {
public:
    WindowlessElement(Form& form, std::wstring name, RECT bounds);
    WindowlessElement(const WindowlessElement&) = delete;
    WindowlessElement& operator=(const WindowlessElement&) = delete;
    virtual ~WindowlessElement();

    const std::wstring& Name() const noexcept { return name_; }
    const RECT& Bounds() const noexcept { return bounds_; }
    bool Visible() const noexcept { return visible_; }
    void SetVisible(bool visible);

    // Clickable elements get mouse clicks and may show their own pointer.
    HCURSOR Cursor() const noexcept { return cursor_; }
    void SetCursor(HCURSOR cursor) noexcept { cursor_ = cursor; }
    base::Event<> Click;
    bool Clickable() const noexcept { return Click.HasHandlers() || cursor_ != nullptr; }

    // A tab stop after the form's windows: Tab gives it the focus, Return clicks it.
    bool TabStop() const noexcept { return tabStop_; }
    void SetTabStop(bool tabStop) noexcept { tabStop_ = tabStop; }

    // What screen readers are told of the element: nothing until it has a role
    // (ROLE_SYSTEM_LINK, ROLE_SYSTEM_STATICTEXT). A link is named by its text;
    // static text given a name has its text as its value.
    void Expose(long role, std::wstring accessibleName = {});
    long AccessibleRole() const noexcept { return role_; }
    const std::wstring& AccessibleName() const noexcept { return accessibleName_; }
    // A changing text is announced at most once in this many milliseconds.
    void SetAnnounceInterval(DWORD milliseconds) noexcept { announceInterval_ = milliseconds; }
    // Whether a change now may be announced; counts it as announced when it may.
    bool TakeAnnouncement() noexcept;

    // The text the element shows, if any.
    virtual std::wstring Text() const { return {}; }

    virtual void Paint(HDC dc, int dpi) const = 0;

protected:
    void Invalidate() const;
    // Moves or resizes the element, repainting where it was and where it is.
    void SetBounds(const RECT& bounds);
    Form& form_;

private:
    std::wstring name_;
    RECT bounds_;
    bool visible_ = true;
    HCURSOR cursor_ = nullptr;
    bool tabStop_ = false;
    long role_ = 0;
    std::wstring accessibleName_;
    DWORD announceInterval_ = 0;
    DWORD lastAnnounced_ = 0;
    bool announced_ = false;
};

// A label with a transparent background: one line of text in its font and
// colour, cut at the label's rectangle. With AutoSize the rectangle follows the
// text, so a caption stays whole in a fallback face wider than the named one.
class Label : public WindowlessElement {
public:
    Label(Form& form, std::wstring name, RECT bounds, std::wstring caption, std::shared_ptr<Font> font,
          OleColor foreColor);
    ~Label() override;

    const std::wstring& Caption() const noexcept { return caption_; }
    void SetCaption(std::wstring caption);
    const std::shared_ptr<Font>& GetFont() const noexcept { return font_; }
    OleColor ForeColor() const noexcept { return foreColor_; }
    bool AutoSize() const noexcept { return autoSize_; }
    void SetAutoSize(bool autoSize);
    std::wstring Text() const override { return caption_; }

    void Paint(HDC dc, int dpi) const override;

private:
    HFONT GdiFont(int dpi) const;
    void FitToText();

    std::wstring caption_;
    std::shared_ptr<Font> font_;
    std::size_t fontToken_;
    OleColor foreColor_;
    mutable base::FontHandle gdiFont_;
    mutable int gdiFontDpi_ = 0;
    bool autoSize_ = false;
};

// A decorative rectangle outline, one pixel wide, inside its bounds.
class Frame : public WindowlessElement {
public:
    Frame(Form& form, std::wstring name, RECT bounds, OleColor borderColor);
    void Paint(HDC dc, int dpi) const override;

private:
    OleColor borderColor_;
};

// A picture drawn at its own size from the element's top-left corner, clipped to its bounds.
class Image : public WindowlessElement {
public:
    Image(Form& form, std::wstring name, RECT bounds, std::shared_ptr<Picture> picture);
    void Paint(HDC dc, int dpi) const override;

private:
    std::shared_ptr<Picture> picture_;
};

}  // namespace forms
