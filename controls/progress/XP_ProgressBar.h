#pragma once
// The owner-drawn progress bar: Min, Max and Value kept as a fill percentage,
// a colour, ten drawing styles (three of them also vertical), an optional
// centred text, drawn whole into a back buffer and copied to the screen.
#include <memory>
#include <string>

#include "base/Handles.h"
#include "forms/BackBuffer.h"
#include "forms/Colors.h"
#include "forms/Control.h"
#include "forms/Font.h"
#include "forms/Picture.h"
#include "forms/PropertyBag.h"

namespace controls {

namespace progress {
struct BarLook;
}

class XP_ProgressBar : public forms::Control {
public:
    // A bar newly placed on a form.
    XP_ProgressBar(forms::ControlHost& host, std::wstring name, RECT bounds);
    // A bar restored from what the host saved.
    XP_ProgressBar(forms::ControlHost& host, std::wstring name, RECT bounds, const forms::PropertyBag& saved);
    ~XP_ProgressBar() override;

    void ReadProperties(const forms::PropertyBag& bag);
    void WriteProperties(forms::PropertyBag& bag) const;

    // Style 7's hatch (HS_HORIZONTAL ... HS_DIAGCROSS).
    void SetBrushStyle(int style);
    // Always a resolved colour: a system colour reference is turned into its current value.
    forms::OleColor Color() const noexcept { return color_; }
    void SetColor(forms::OleColor color);
    // Empty after restoring from a store without a font; the text then uses MS Sans Serif 8.25 pt.
    const std::shared_ptr<forms::Font>& Font() const noexcept { return font_; }
    void SetFont(std::shared_ptr<forms::Font> font);
    // The window whose size and screen the bar draws with: its own unless set otherwise.
    HWND hWnd() const noexcept { return window_; }
    void SetHWnd(HWND window) noexcept { window_ = window; }
    // The drawing surface: the back buffer's DC, or the bar's own DC when none could be made.
    HDC hdc() const noexcept { return buffer_ ? buffer_.Dc() : Handle() ? ownDc_ : nullptr; }
    // Whatever is given, makes the back buffer cover the bar's current size.
    void SetHdc(HDC ignored);
    // Style 8's pattern.
    const std::shared_ptr<forms::Picture>& Image() const noexcept { return image_; }
    void SetImage(std::shared_ptr<forms::Picture> image);
    int Min() const noexcept { return min_; }
    void SetMin(int min);
    int Max() const noexcept { return max_; }
    void SetMax(int max);
    // 0 horizontal, any other value vertical (styles 0 to 2 only).
    int Orientation() const noexcept { return orientation_; }
    void SetOrientation(int orientation);
    // The drawing style, 0 to 9; other values draw as 1.
    int Scrolling() const noexcept { return style_; }
    void SetScrolling(int style);
    bool ShowText() const noexcept { return showText_; }
    void SetShowText(bool show);
    // Set as a value between Min and Max and kept as a fill percentage; the bar redraws at once.
    // Throws std::overflow_error when value x 100 or the percentage leaves the 32-bit range and
    // std::domain_error when Max is 0; the fill is then left as it was.
    int Value() const noexcept;
    void SetValue(int value);
    // The fill percentage; a draw lowers one above 100 to 100.
    int Percent() const noexcept { return percent_; }

    // A progress bar whose value is the percentage filled.
    forms::AccessibleFacts Facts(long child) const override;

    // Draws the whole bar into the back buffer and copies it to the bar's own window.
    void DrawProgressBar();
    static void DrawLine(int x1, int y1, int x2, int y2, HDC hdc, forms::OleColor color);
    // See progress::DrawGradient; both colours are stored back resolved. The flag picks columns.
    static void DrawGradient(forms::OleColor& color1, forms::OleColor& color2, int x, int y, int x2, int y2, HDC hdc,
                             bool columns);
    // Copies part of the back buffer to hdc; a width or height below 1 means the buffer's.
    void pDraw(HDC hdc, int xSrc, int ySrc, int widthSrc, int heightSrc, int xDst, int yDst) const;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateBarWindow(RECT bounds);
    void DrawTo(HDC target);
    progress::BarLook Look(const RECT& client) const;
    HFONT CaptionFont(HDC surface);

    forms::OleColor color_;
    HWND window_ = nullptr;
    HDC ownDc_ = nullptr;  // the window's class gives it a DC of its own, which goes with the window
    int max_ = 100;
    int min_ = 0;
    int percent_ = 0;
    bool showText_ = false;
    int style_ = 0;
    int orientation_ = 0;
    int brushStyle_ = 0;
    std::shared_ptr<forms::Picture> image_;
    forms::BackBuffer buffer_;
    std::shared_ptr<forms::Font> font_;
    std::size_t fontToken_ = 0;
    base::FontHandle gdiFont_;  // made from font_ when the text is first drawn after a change
};

}  // namespace controls
