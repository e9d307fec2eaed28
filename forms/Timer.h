#pragma once
// A timer whose ticks arrive as window messages on the creating thread, so they
// run between (or nested inside) other handlers, never beside them.
#include "base/Event.h"
#include "forms/Window.h"

namespace forms {

class Timer : public Window {
public:
    Timer(UINT intervalMs, bool enabled);

    UINT Interval() const noexcept { return interval_; }
    void SetInterval(UINT ms);
    bool Enabled() const noexcept { return enabled_; }
    void SetEnabled(bool enabled);

    base::Event<> Tick;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Apply();
    UINT interval_;
    bool enabled_;
};

}  // namespace forms
