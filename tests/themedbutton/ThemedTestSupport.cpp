#include "ThemedTestSupport.h"

#include "base/MessageLoop.h"
#include "support/Icons.h"

namespace themed_test {

HostForm::HostForm() : RecordingForm(L"Snipmill.ThemedButtonTest", L"Themed button test", 460, 320, 40, 40) {}

void HostForm::Reset() {
    ClearRecords();
    ::SetForegroundWindow(Handle());
    ::SetFocus(Handle());
    base::DoEvents();
}

HostForm& SharedForm() {
    static HostForm form;
    form.Reset();
    return form;
}

Snapshot::Snapshot(const controls::ThemedButton& button) : pixels_(testing_support::PrintClient(button.hWnd())) {}

long Snapshot::At(int x, int y) const {
    const std::uint32_t p = pixels_.At(x, y);  // 0x00RRGGBB
    return static_cast<long>(((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF));
}

std::shared_ptr<forms::Picture> MakeIcon(long fill, std::initializer_list<Dot> dots, int size) {
    return testing_support::MakeIcon(size, [&](int x, int y) -> std::optional<std::uint32_t> {
        long c = fill;
        for (const Dot& d : dots)
            if (d.x == x && d.y == y) c = d.color;
        return 0xFF000000u | (static_cast<std::uint32_t>(c & 0xFF) << 16) | static_cast<std::uint32_t>(c & 0xFF00) |
               static_cast<std::uint32_t>((c >> 16) & 0xFF);
    });
}

void MoveMouse(const controls::ThemedButton& button, int x, int y) {
    testing_support::CursorTo(button.hWnd(), x, y);
    ::SendMessageW(button.hWnd(), WM_MOUSEMOVE, 0, testing_support::MousePosition(x, y));
}

void Press(const controls::ThemedButton& button, int x, int y, UINT message) {
    testing_support::CursorTo(button.hWnd(), x, y);
    const WPARAM held = message == WM_RBUTTONDOWN ? MK_RBUTTON : message == WM_MBUTTONDOWN ? MK_MBUTTON : MK_LBUTTON;
    ::SendMessageW(button.hWnd(), message, held, testing_support::MousePosition(x, y));
}

void Release(const controls::ThemedButton& button, int x, int y, UINT message) {
    ::SendMessageW(button.hWnd(), message, 0, testing_support::MousePosition(x, y));
}

void Key(const controls::ThemedButton& button, UINT message, WPARAM key) {
    ::SendMessageW(button.hWnd(), message, key, message == WM_KEYUP ? 0xC0000001 : 1);
}

void ClickMiddle(const controls::ThemedButton& button) {
    RECT client{};
    ::GetClientRect(button.hWnd(), &client);
    MoveMouse(button, client.right / 2, client.bottom / 2);
    Press(button, client.right / 2, client.bottom / 2);
    Release(button, client.right / 2, client.bottom / 2);
}

}  // namespace themed_test
