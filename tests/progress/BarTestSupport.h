#pragma once
// Real bars for the progress bar's tests: a host form under Xvfb that records
// what its controls report, and the pixels a bar drew into its back buffer.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/progress/XP_ProgressBar.h"
#include "forms/BackBuffer.h"
#include "forms/Form.h"
#include "support/RecordingForm.h"

namespace progress_test {

// The output window's bar colour: red 51, green 94, blue 168.
constexpr COLORREF kBarColor = 11034163;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0x000000;

class HostForm : public testing_support::RecordingForm {
public:
    HostForm();
};

// One shown form for every test of the program (Wine is slow to take a shown window away).
HostForm& SharedHost();

// A new bar of that size on the shared host, in the bar colour, with the host's record cleared.
std::unique_ptr<controls::XP_ProgressBar> MakeBar(int width, int height);
std::unique_ptr<controls::XP_ProgressBar> MakeBar(int width, int height, const forms::PropertyBag& saved);

// Pixels as 0x00BBGGRR colour values.
class Drawn {
public:
    Drawn(HDC source, int width, int height);
    int Width() const noexcept { return block_.Width(); }
    int Height() const noexcept { return block_.Height(); }
    COLORREF At(int x, int y) const noexcept;
    // How many pixels of the rectangle have the colour.
    int Count(const RECT& area, COLORREF color) const noexcept;
    bool SameAs(const Drawn& other) const noexcept;

private:
    forms::BackBuffer block_;
};

// What the bar drew into its back buffer on a full redraw.
Drawn Render(controls::XP_ProgressBar& bar);

// A white surface for drawing routines to draw on.
class Surface {
public:
    Surface(int width, int height);
    HDC Dc() const noexcept { return buffer_.Dc(); }
    Drawn Read() const { return Drawn(buffer_.Dc(), buffer_.Width(), buffer_.Height()); }

private:
    forms::BackBuffer buffer_;
};

}  // namespace progress_test
