// A button whose back buffer cannot be made draws straight on its window, and
// makes one again at its next redraw.
#include <gtest/gtest.h>

#include "ButtonTestSupport.h"
#include "forms/BackBuffer.h"

using namespace imagebutton_test;

namespace {

constexpr COLORREF kMarker = RGB(255, 0, 255);

// The pixel at (5, 5) of what the button draws into a DC of 97 x 25 that it did
// not make, laid with a marker colour first (as 0x00RRGGBB).
std::uint32_t PixelDrawnOnto(controls::zembutton& button) {
    forms::BackBuffer target;
    target.Ensure(97, 25);
    base::BrushHandle marker(::CreateSolidBrush(kMarker));
    const RECT all{0, 0, 97, 25};
    ::FillRect(target.Dc(), &all, marker.Get());
    ::SendMessageW(button.hWnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(target.Dc()), PRF_CLIENT);
    ::GdiFlush();
    return target.Row(5)[5] & 0xFFFFFFu;
}

TEST(BackBuffer, ThatCannotBeMadeIsTriedAgainAndTheButtonDrawsMeanwhile) {
    TestForm& form = SharedForm();
    UnthemedButton button(form, L"zembutton1", Bounds(10, 10, 97, 25));
    button.SetButtonStyle(0);  // edges only: a gradient this large is more than Wine can draw
    button.SetCaption(L"Save");
    const Snapshot before(button);

    // Too large for a bitmap of its size (over 2 GB): the button is drawn straight onto the target.
    ::SetWindowPos(button.hWnd(), nullptr, 0, 0, 23200, 23200, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_NE(PixelDrawnOnto(button), 0xFF00FFu);

    // Back at its size, the next redraw makes a back buffer again and the button looks as before.
    ::SetWindowPos(button.hWnd(), nullptr, 0, 0, 97, 25, SWP_NOMOVE | SWP_NOZORDER);
    const Snapshot after(button);
    EXPECT_EQ(after.Pixels(), before.Pixels());
}

}  // namespace
