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

    virtual void Paint(HDC dc, int dpi) const = 0;
    // What painting may touch; more than the bounds where text runs past them.
    virtual RECT PaintArea() const { return bounds_; }

protected:
    void Invalidate() const;
    Form& form_;

private:
    std::wstring name_;
    RECT bounds_;
    bool visible_ = true;
    HCURSOR cursor_ = nullptr;
};

// A label with a transparent background: one line of text in its font and
// colour. A fallback face may be wider than the named one, so the text is not
// cut at the label's right edge.
class Label : public WindowlessElement {
public:
    Label(Form& form, std::wstring name, RECT bounds, std::wstring caption, std::shared_ptr<Font> font,
          OleColor foreColor);
    ~Label() override;

    const std::wstring& Caption() const noexcept { return caption_; }
    void SetCaption(std::wstring caption);
    const std::shared_ptr<Font>& GetFont() const noexcept { return font_; }
    OleColor ForeColor() const noexcept { return foreColor_; }

    void Paint(HDC dc, int dpi) const override;
    RECT PaintArea() const override;

private:
    HFONT GdiFont(int dpi) const;
    void Measure();

    std::wstring caption_;
    std::shared_ptr<Font> font_;
    std::size_t fontToken_;
    OleColor foreColor_;
    mutable base::FontHandle gdiFont_;
    mutable int gdiFontDpi_ = 0;
    RECT textArea_{};
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
