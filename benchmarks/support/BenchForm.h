#pragma once
// The shown form the drawing benchmarks place their controls on, with the
// common controls ready.
#include <windows.h>

#include <commctrl.h>

#include "base/MessageLoop.h"
#include "forms/Form.h"

namespace benchmarks {

class BenchForm : public forms::Form {
public:
    BenchForm(const wchar_t* className, const wchar_t* caption, int clientWidth, int clientHeight) {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
        ::InitCommonControlsEx(&controls);
        CreateForm(className, caption, clientWidth, clientHeight, WS_OVERLAPPEDWINDOW, 0);
        Show(SW_SHOW);
        base::DoEvents();
    }
};

}  // namespace benchmarks
