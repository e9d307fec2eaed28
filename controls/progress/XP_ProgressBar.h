#pragma once
// The owner-drawn progress bar. This first form draws one look, plain
// segmented blocks in the bar colour on white inside a sunken frame, and keeps
// the model the other looks will build on: Min, Max, Value as a fill
// percentage, the colour, the hatch style and the font.
#include <memory>
#include <string>

#include "base/Handles.h"
#include "forms/Colors.h"
#include "forms/Control.h"
#include "forms/Font.h"

namespace controls {

class XP_ProgressBar : public forms::Control {
public:
    XP_ProgressBar(forms::ControlHost& host, std::wstring name, RECT bounds);
    ~XP_ProgressBar() override;

    HWND hWnd() const noexcept { return Handle(); }

    int Min() const noexcept { return min_; }
    void SetMin(int min);
    int Max() const noexcept { return max_; }
    void SetMax(int max);
    // Set as a value between Min and Max, kept as a fill percentage; the bar redraws at once.
    int Value() const noexcept;
    void SetValue(int value);
    // The fill as a percentage of the bar, as the last draw used it.
    int Percent() const noexcept { return percent_; }

    // Always a resolved colour: a system colour reference is turned into its current value.
    forms::OleColor Color() const noexcept { return color_; }
    void SetColor(forms::OleColor color);
    void SetBrushStyle(int style);
    int BrushStyle() const noexcept { return brushStyle_; }
    const std::shared_ptr<forms::Font>& Font() const noexcept { return font_; }
    void SetFont(std::shared_ptr<forms::Font> font) { font_ = std::move(font); }

    // Draws the whole bar into the back buffer and copies it to the screen.
    void DrawProgressBar();
    void DrawTo(HDC dc);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool EnsureBackBuffer(int width, int height);

    int min_ = 0;
    int max_ = 100;
    int percent_ = 0;
    forms::OleColor color_;
    int brushStyle_ = 0;
    std::shared_ptr<forms::Font> font_;

    base::MemoryDC backDC_;
    base::BitmapHandle backBitmap_;
    SIZE backSize_{};
};

}  // namespace controls
