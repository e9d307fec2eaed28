#include "forms/Colors.h"

#include <windows.h>

namespace forms {

long TranslateColor(OleColor color) noexcept {
    if ((color & 0x80000000u) != 0) {
        OleColor index = color & 0x7FFFFFFFu;
        // Indices beyond the last system colour have no brush behind them.
        if (index > COLOR_MENUBAR || ::GetSysColorBrush(static_cast<int>(index)) == nullptr) return -1;
        return static_cast<long>(::GetSysColor(static_cast<int>(index)));
    }
    if ((color & 0xFF000000u) != 0) return -1;
    return static_cast<long>(color);
}

}  // namespace forms
