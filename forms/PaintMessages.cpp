#include "forms/PaintMessages.h"

#include "base/Handles.h"

namespace forms {

bool AnswerPaintMessage(HWND window, UINT message, WPARAM wParam, const PaintRoutine& paint, LRESULT& result) {
    switch (message) {
    case WM_PAINT: {
        base::PaintDC dc(window);
        if (dc.Get()) paint(dc.Get(), dc.Dirty());
        result = 0;
        return true;
    }
    case WM_PRINTCLIENT: {
        RECT client{};
        ::GetClientRect(window, &client);
        paint(reinterpret_cast<HDC>(wParam), client);
        result = 0;
        return true;
    }
    case WM_ERASEBKGND:
        result = 1;
        return true;
    default:
        return false;
    }
}

}  // namespace forms
