#include "ButtonTestSupport.h"

#include "base/Handles.h"
#include "base/MessageLoop.h"
#include "forms/Dib.h"

namespace imagebutton_test {

TestForm::TestForm(int width, int height)
    : RecordingForm(L"Snipmill.ImageButtonTest", L"Image button test", width, height, 20, 20) {}

void TestForm::Reset() {
    ClearRecords();
    // What one test left must not carry into the next: capture, the cursor over a button, activation, focus.
    if (::GetCapture()) ::ReleaseCapture();
    MoveMouseAway();
    ::SetForegroundWindow(Handle());
    ::SetActiveWindow(Handle());
    ::SetFocus(Handle());
    base::DoEvents();
    testing_support::PumpUntil([&] { return ::GetActiveWindow() == Handle() && ::GetFocus() == Handle(); }, 2000);
}

TestForm& SharedForm() {
    static TestForm form;
    form.Reset();
    return form;
}

std::shared_ptr<forms::Picture> MakeBitmap(long fill, std::initializer_list<Spot> spots, int bits, int fillAlpha,
                                           int size) {
    void* data = nullptr;
    base::BitmapHandle bitmap = forms::CreateTopDownDib(size, size, &data, nullptr, bits);
    auto* bytes = static_cast<std::uint8_t*>(data);
    const int stride = (size * bits + 31) / 32 * 4;
    auto put = [&](int x, int y, long c, int a) {
        std::uint8_t* p = bytes + y * stride + x * (bits / 8);
        p[0] = static_cast<std::uint8_t>((c >> 16) & 0xFF);
        p[1] = static_cast<std::uint8_t>((c >> 8) & 0xFF);
        p[2] = static_cast<std::uint8_t>(c & 0xFF);
        if (bits == 32) p[3] = static_cast<std::uint8_t>(a);
    };
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) put(x, y, fill, fillAlpha);
    for (const Spot& s : spots) put(s.x, s.y, s.color, s.alpha);
    return forms::Picture::FromBitmap(std::move(bitmap));
}

long Snapshot::At(int x, int y) const {
    const std::uint32_t p = pixels_.At(x, y);  // 0x00RRGGBB
    return static_cast<long>(((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF));
}

void MoveMouse(controls::zembutton& button, int x, int y) {
    testing_support::CursorTo(button.hWnd(), x, y);
    ::SendMessageW(button.hWnd(), WM_MOUSEMOVE, 0, testing_support::MousePosition(x, y));
}

void Press(controls::zembutton& button, int x, int y, UINT message) {
    testing_support::CursorTo(button.hWnd(), x, y);
    const WPARAM held = message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK   ? MK_LBUTTON
                        : message == WM_RBUTTONDOWN || message == WM_RBUTTONDBLCLK ? MK_RBUTTON
                                                                                   : MK_MBUTTON;
    ::SendMessageW(button.hWnd(), message, held, testing_support::MousePosition(x, y));
}

void Release(controls::zembutton& button, int x, int y, UINT message) {
    ::SendMessageW(button.hWnd(), message, 0, testing_support::MousePosition(x, y));
}

void Key(controls::zembutton& button, UINT message, WPARAM key, LPARAM flags) {
    ::SendMessageW(button.hWnd(), message, key, flags | 1);
}

void Activate(forms::Form& form, bool active) {
    ::SendMessageW(form.Handle(), WM_ACTIVATE, active ? WA_ACTIVE : WA_INACTIVE, 0);
}

}  // namespace imagebutton_test
