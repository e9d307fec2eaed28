#pragma once
// Real windows for the image button's tests: a host form under Xvfb, the
// button's pixels read back exactly, and the mouse and keyboard as the
// platform delivers them to the button's window.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "controls/imagebutton/zembutton.h"
#include "forms/Form.h"
#include "forms/Units.h"
#include "support/RecordingForm.h"
#include "support/WindowTesting.h"

namespace imagebutton_test {

class TestForm : public testing_support::RecordingForm {
public:
    explicit TestForm(int width = 420, int height = 300);

    // Back to a running form with no default button, active and holding the focus,
    // with nothing captured and the cursor away from every button.
    void Reset();
};

// One form for all tests of the program: under Xvfb without a window manager,
// Wine takes two seconds to take a shown top-level window off the screen.
TestForm& SharedForm();

// A button that answers "no theme" as a platform without visual themes would.
class UnthemedButton : public controls::zembutton {
public:
    UnthemedButton(forms::ControlHost& host, std::wstring name, RECT bounds)
        : zembutton(host, std::move(name), bounds, false) {}
};

using forms::Bounds;

// The button's pixels after a full redraw (through WM_PRINTCLIENT), read as 0x00BBGGRR.
class Snapshot {
public:
    explicit Snapshot(controls::zembutton& button) : pixels_(testing_support::PrintClient(button.hWnd())) {}
    int Width() const noexcept { return pixels_.width; }
    int Height() const noexcept { return pixels_.height; }
    long At(int x, int y) const;
    const std::vector<std::uint32_t>& Pixels() const noexcept { return pixels_.data; }

private:
    testing_support::Pixels pixels_;
};

// A bitmap picture of one colour with some pixels of others; 32-bit ones carry alpha.
struct Spot {
    int x, y;
    long color;
    int alpha = 255;
};
std::shared_ptr<forms::Picture> MakeBitmap(long fill, std::initializer_list<Spot> spots = {}, int bits = 24,
                                           int fillAlpha = 255, int size = 8);

// The mouse as the platform reports it: the cursor really moves to the point
// (in the button's client pixels) and the message carries it.
void MoveMouse(controls::zembutton& button, int x, int y);
using testing_support::CursorTo;
using testing_support::MoveMouseAway;
void Press(controls::zembutton& button, int x, int y, UINT message = WM_LBUTTONDOWN);
void Release(controls::zembutton& button, int x, int y, UINT message = WM_LBUTTONUP);
void Key(controls::zembutton& button, UINT message, WPARAM key, LPARAM flags = 0);
// The form becomes active (or not) as far as its buttons can tell.
void Activate(forms::Form& form, bool active = true);

}  // namespace imagebutton_test
