// Themed: the platform theme's own push button, its outline included.
#include <vssym32.h>

#include "controls/imagebutton/ButtonProperties.h"
#include "controls/imagebutton/ThemeApi.h"
#include "controls/imagebutton/styles/StyleRoutines.h"

namespace controls::imagebutton {

namespace {
int ThemeState(const FaceState& f) {
    if (!f.enabled) return PBS_DISABLED;
    switch (f.state) {
    case VisualStates::Hot:
        return PBS_HOT;
    case VisualStates::Down:
        return PBS_PRESSED;
    default:
        return f.Emphasised() && f.formActive ? PBS_DEFAULTED : PBS_NORMAL;
    }
}
}  // namespace

void PaintThemed(const FaceContext& c) {
    const Canvas& g = c.canvas;
    HTHEME theme = c.host.ButtonTheme();
    if (!theme) return;
    const ThemeApi& api = ThemeApi::Instance();
    const int state = ThemeState(c.face);
    const RECT client = g.Client();
    const RECT outline{client.left - 1, client.top - 1, client.right + 1, client.bottom + 2};
    HRGN region = nullptr;
    if (SUCCEEDED(api.BackgroundRegion(theme, g.Dc(), BP_PUSHBUTTON, state, outline, &region)) && region)
        c.host.SetWindowRegion(base::RegionHandle(region));
    api.DrawBackground(theme, g.Dc(), BP_PUSHBUTTON, state, client, client);
    c.host.DrawContent();
}

}  // namespace controls::imagebutton
