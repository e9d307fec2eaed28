#pragma once
// Switching a window's Close command (system menu item and title-bar close box) off and on.
#include <windows.h>

#include <cstdint>

namespace app {

// 0 done; -1 not a window or no item under the expected id; -2 changing the
// item's id failed; -3 changing its state failed.
std::int16_t SwitchCloseCommand(HWND hWnd, const bool& Enable);

}  // namespace app
