#pragma once
// The main window's slider: the platform's trackbar with a selection range,
// working in whole seconds. Screen readers know it as "Position", its value in seconds.
#include <windows.h>

#include "base/Event.h"
#include "forms/Accessible.h"
#include "forms/Form.h"

namespace app {

class Slider : private forms::AccessibleSource {
public:
    Slider(forms::Form& form, RECT bounds);
    Slider(const Slider&) = delete;
    Slider& operator=(const Slider&) = delete;
    ~Slider();

    HWND Handle() const noexcept { return hwnd_; }

    int Min() const noexcept;
    void SetMin(int value);
    int Max() const noexcept;
    void SetMax(int value);
    int Value() const noexcept;
    void SetValue(int value);
    int TickFrequency() const noexcept { return tickFrequency_; }
    void SetTickFrequency(int every);
    int SelStart() const noexcept;
    void SetSelStart(int value);
    int SelLength() const noexcept;
    void SetSelLength(int value);
    bool HasSelection() const noexcept;
    void ClearSel();

    // Raised while the user moves the thumb.
    base::Event<> Scroll;

private:
    void ApplySelection();
    forms::AccessibleFacts Facts(long child) const override;
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR self) noexcept;

    HWND hwnd_ = nullptr;
    int tickFrequency_ = 1;
    int selStart_ = 0;
    int selLength_ = 0;
    bool hasSelection_ = false;
};

}  // namespace app
