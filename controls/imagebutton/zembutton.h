#pragma once
// The image button: the owner-drawn command button of both windows.
// This first form draws plainly (face, edge, caption) and handles the push
// behaviour; its styles, pictures, caption effects and tooltips come later.
#include <memory>
#include <string>

#include "forms/Colors.h"
#include "forms/Control.h"
#include "forms/Event.h"
#include "forms/Handles.h"

namespace controls {

class zembutton : public forms::Control {
public:
    // Event identifiers the host subscribes under.
    static constexpr int kClickId = -600;

    zembutton(forms::ControlHost& host, std::wstring name, RECT bounds);
    ~zembutton() override;

    HWND hWnd() const noexcept { return Handle(); }

    const std::wstring& Caption() const noexcept { return caption_; }
    void SetCaption(std::wstring caption);
    bool Enabled() const noexcept { return enabled_; }
    void SetEnabled(bool enabled);
    forms::OleColor BackColor() const noexcept { return backColor_; }
    void SetBackColor(forms::OleColor color);
    forms::OleColor ForeColor() const noexcept { return foreColor_; }
    void SetForeColor(forms::OleColor color);
    const std::shared_ptr<forms::Font>& Font() const noexcept { return font_; }
    void SetFont(std::shared_ptr<forms::Font> font);
    int ButtonStyle() const noexcept { return buttonStyle_; }
    void SetButtonStyle(int style);
    int CaptionEffects() const noexcept { return captionEffects_; }
    void SetCaptionEffects(int effects);
    bool PicturePushOnHover() const noexcept { return picturePushOnHover_; }
    void SetPicturePushOnHover(bool push);
    // A pointer shown over the button instead of the arrow (none: the arrow).
    HCURSOR MouseIcon() const noexcept { return mouseIcon_; }
    void SetMouseIcon(HCURSOR cursor);

    forms::Event<> Click;

    // Draws the whole button into a DC the size of the client area.
    void Redraw();
    void DrawTo(HDC dc) const;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Press(bool down);
    void Changed(std::wstring_view property);

    std::wstring caption_;
    bool enabled_ = true;
    forms::OleColor backColor_ = forms::SystemColor(COLOR_BTNFACE);
    forms::OleColor foreColor_ = forms::SystemColor(COLOR_BTNTEXT);
    std::shared_ptr<forms::Font> font_;
    std::size_t fontToken_ = 0;
    int buttonStyle_ = 13;
    int captionEffects_ = 0;
    bool picturePushOnHover_ = false;
    HCURSOR mouseIcon_ = nullptr;

    bool buttonDown_ = false;
    bool mouseOver_ = false;
    bool spacePressed_ = false;
    mutable forms::FontHandle gdiFont_;
};

}  // namespace controls
