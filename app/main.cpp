// Starting the program creates and shows the main window and opens the file
// named on the command line, if any; everything else is driven by that
// window's events.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/Form1.h"
#include "app/OpenRequests.h"
#include "base/MessageLoop.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    // Screen readers get the windows' accessible objects through COM.
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    app::Form1 form;
    form.Show(show);
    form.OpenMp3(app::FileFromCommandLine(::GetCommandLineW()));
    return base::RunMessageLoop();
}
