#include "forms/Timer.h"

namespace forms {

namespace {
constexpr UINT_PTR kTimerId = 1;
}

Timer::Timer(UINT intervalMs, bool enabled) : interval_(intervalMs), enabled_(enabled) {
    CreateWindowOf(L"Snipmill.Timer", 0, 0, 0, L"", 0, 0, 0, 0, HWND_MESSAGE);
    Apply();
}

void Timer::SetInterval(UINT ms) {
    interval_ = ms;
    Apply();
}

void Timer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Apply();
}

void Timer::Apply() {
    if (!Handle()) return;
    if (enabled_ && interval_ > 0)
        ::SetTimer(Handle(), kTimerId, interval_, nullptr);
    else
        ::KillTimer(Handle(), kTimerId);
}

LRESULT Timer::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kTimerId) {
        if (enabled_) Tick.Raise();
        return 0;
    }
    if (message == WM_DESTROY) ::KillTimer(Handle(), kTimerId);
    return DefaultHandling(message, wParam, lParam);
}

}  // namespace forms
