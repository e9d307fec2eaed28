#include "app/components/Slider.h"

#include <commctrl.h>

namespace app {

Slider::Slider(forms::Form& form, RECT bounds) {
    hwnd_ = ::CreateWindowExW(
        0, TRACKBAR_CLASSW, L"",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS | TBS_ENABLESELRANGE, bounds.left,
        bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, form.Handle(), nullptr,
        ::GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_) return;
    ::SendMessageW(hwnd_, TBM_SETRANGEMIN, FALSE, 0);
    ::SendMessageW(hwnd_, TBM_SETRANGEMAX, TRUE, 10);
    ::SendMessageW(hwnd_, TBM_SETTICFREQ, tickFrequency_, 0);
    ::SetWindowSubclass(hwnd_, Procedure, 0, reinterpret_cast<DWORD_PTR>(this));
    form.ReflectFor(hwnd_, [this](UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        if (message != WM_HSCROLL) return false;
        // Every movement by the user; TB_ENDTRACK only closes a movement already reported.
        if (LOWORD(wParam) != TB_ENDTRACK) {
            forms::Announce(hwnd_, EVENT_OBJECT_VALUECHANGE);
            Scroll.Raise();
        }
        result = 0;
        return true;
    });
}

Slider::~Slider() {
    if (!hwnd_) return;
    ::RemoveWindowSubclass(hwnd_, Procedure, 0);
    ::DestroyWindow(hwnd_);
}

LRESULT CALLBACK Slider::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                   DWORD_PTR self) noexcept {
    LRESULT answer = 0;
    if (forms::AnswerAccessibility(window, *reinterpret_cast<Slider*>(self), message, wParam, lParam, answer))
        return answer;
    return ::DefSubclassProc(window, message, wParam, lParam);
}

forms::AccessibleFacts Slider::Facts(long) const {
    forms::AccessibleFacts facts;
    facts.role = ROLE_SYSTEM_SLIDER;
    facts.state = forms::WindowStates(hwnd_);
    facts.name = L"Position";
    facts.value = std::to_wstring(Value());
    return facts;
}

int Slider::Min() const noexcept { return static_cast<int>(::SendMessageW(hwnd_, TBM_GETRANGEMIN, 0, 0)); }
int Slider::Max() const noexcept { return static_cast<int>(::SendMessageW(hwnd_, TBM_GETRANGEMAX, 0, 0)); }
int Slider::Value() const noexcept { return static_cast<int>(::SendMessageW(hwnd_, TBM_GETPOS, 0, 0)); }

void Slider::SetMin(int value) {
    ::SendMessageW(hwnd_, TBM_SETRANGEMIN, TRUE, value);
    ApplySelection();
}

void Slider::SetMax(int value) {
    ::SendMessageW(hwnd_, TBM_SETRANGEMAX, TRUE, value);
    ApplySelection();
}

void Slider::SetValue(int value) { ::SendMessageW(hwnd_, TBM_SETPOS, TRUE, value); }

void Slider::SetTickFrequency(int every) {
    tickFrequency_ = every;
    ::SendMessageW(hwnd_, TBM_SETTICFREQ, every, 0);
}

int Slider::SelStart() const noexcept { return selStart_; }
int Slider::SelLength() const noexcept { return selLength_; }
bool Slider::HasSelection() const noexcept { return hasSelection_; }

void Slider::SetSelStart(int value) {
    selStart_ = value;
    hasSelection_ = true;
    ApplySelection();
}

void Slider::SetSelLength(int value) {
    selLength_ = value;
    hasSelection_ = true;
    ApplySelection();
}

void Slider::ClearSel() {
    hasSelection_ = false;
    selStart_ = 0;
    selLength_ = 0;
    ::SendMessageW(hwnd_, TBM_CLEARSEL, TRUE, 0);
}

void Slider::ApplySelection() {
    if (!hasSelection_) return;
    ::SendMessageW(hwnd_, TBM_SETSELSTART, FALSE, selStart_);
    ::SendMessageW(hwnd_, TBM_SETSELEND, TRUE, selStart_ + selLength_);
}

}  // namespace app
