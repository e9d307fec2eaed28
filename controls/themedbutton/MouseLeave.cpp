#include "controls/themedbutton/MouseLeave.h"

#include <commctrl.h>

namespace controls::themedbutton {

namespace {
// Whether the library exports the entry point; a library that is not loaded
// is loaded for the question and released again.
bool Exports(const wchar_t* library, const char* entry) {
    if (HMODULE loaded = ::GetModuleHandleW(library)) return ::GetProcAddress(loaded, entry) != nullptr;
    HMODULE module = ::LoadLibraryW(library);
    if (!module) return false;
    const bool found = ::GetProcAddress(module, entry) != nullptr;
    ::FreeLibrary(module);
    return found;
}
}  // namespace

LeaveService FindLeaveService() {
    if (Exports(L"user32.dll", "TrackMouseEvent")) return LeaveService::UserInterface;
    if (Exports(L"comctl32.dll", "_TrackMouseEvent")) return LeaveService::CommonControls;
    return LeaveService::None;
}

void RequestMouseLeave(LeaveService service, HWND window) noexcept {
    TRACKMOUSEEVENT request{sizeof request, TME_LEAVE, window, 0};
    if (service == LeaveService::UserInterface)
        ::TrackMouseEvent(&request);
    else if (service == LeaveService::CommonControls)
        ::_TrackMouseEvent(&request);
}

}  // namespace controls::themedbutton
