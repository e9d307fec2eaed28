#pragma once
// The platform service that tells a window the mouse has left it: the user
// interface library's TrackMouseEvent where it exists, else the common
// controls' _TrackMouseEvent.
#include <windows.h>

namespace controls::themedbutton {

enum class LeaveService { None, UserInterface, CommonControls };

LeaveService FindLeaveService();

// Asks for one WM_MOUSELEAVE for the window; nothing without a service.
void RequestMouseLeave(LeaveService service, HWND window) noexcept;

}  // namespace controls::themedbutton
