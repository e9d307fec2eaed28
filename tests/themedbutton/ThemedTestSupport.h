#pragma once
// Real windows for the themed button's tests: a host form under Xvfb, the
// button's pixels read back exactly, and the mouse and keyboard as the
// platform delivers them to the button's window.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/themedbutton/ThemedButton.h"
#include "forms/Form.h"
#include "forms/Units.h"
#include "support/RecordingForm.h"
#include "support/WindowTesting.h"

namespace themed_test {

class HostForm : public testing_support::RecordingForm {
public:
    HostForm();

    // Back to a running form with no default button, active and holding the focus.
    void Reset();
};

// One form for all tests of the program: under Xvfb without a window manager,
// Wine takes two seconds to take a shown top-level window off the screen.
HostForm& SharedForm();

using forms::Bounds;

// The button's pixels after a full repaint (through WM_PRINTCLIENT), as 0x00BBGGRR.
class Snapshot {
public:
    explicit Snapshot(const controls::ThemedButton& button);
    long At(int x, int y) const;
    int Width() const noexcept { return pixels_.width; }
    int Height() const noexcept { return pixels_.height; }

private:
    testing_support::Pixels pixels_;
};

// A 16 x 16 icon of one colour with a few pixels of others (0x00BBGGRR); opaque throughout.
struct Dot {
    int x, y;
    long color;
};
std::shared_ptr<forms::Picture> MakeIcon(long fill, std::initializer_list<Dot> dots = {}, int size = 16);

// The mouse as the platform reports it: the cursor really moves to the point
// (in the button's client pixels) and the message carries it.
void MoveMouse(const controls::ThemedButton& button, int x, int y);
using testing_support::MoveMouseAway;
void Press(const controls::ThemedButton& button, int x, int y, UINT message = WM_LBUTTONDOWN);
void Release(const controls::ThemedButton& button, int x, int y, UINT message = WM_LBUTTONUP);
void Key(const controls::ThemedButton& button, UINT message, WPARAM key);
using testing_support::UserMoves;
using testing_support::UserPresses;
using testing_support::UserReleases;
// A whole left click in the middle of the button.
void ClickMiddle(const controls::ThemedButton& button);

}  // namespace themed_test
