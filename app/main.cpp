// Starting the program creates and shows the main window; everything else is
// driven by that window's events.
#include <windows.h>
#include <commctrl.h>

#include "app/Form1.h"
#include "base/MessageLoop.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    app::Form1 form;
    form.Show(show);
    return base::RunMessageLoop();
}
