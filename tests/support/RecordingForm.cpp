#include "RecordingForm.h"

#include "base/MessageLoop.h"

namespace testing_support {

RecordingForm::RecordingForm(const wchar_t* className, const wchar_t* caption, int width, int height, int left,
                             int top) {
    CreateForm(className, caption, width, height, WS_OVERLAPPEDWINDOW, 0);
    ::SetWindowPos(Handle(), HWND_TOP, left, top, 0, 0, SWP_NOSIZE);
    Show(SW_SHOW);
    ::UpdateWindow(Handle());
    base::DoEvents();
}

forms::AmbientProperties RecordingForm::Ambient(const forms::Control& control) const {
    forms::AmbientProperties ambient = Form::Ambient(control);
    ambient.UserMode = userMode;
    ambient.DisplayAsDefault = defaultButton == &control;
    return ambient;
}

void RecordingForm::ClearRecords() {
    userMode = true;
    defaultButton = nullptr;
    changes.clear();
    events.clear();
}

}  // namespace testing_support
