#include "ButtonStates.h"

namespace imagebutton_test {

namespace {
void Hover(controls::zembutton& b) {
    RECT client{};
    ::GetClientRect(b.hWnd(), &client);
    MoveMouse(b, client.right / 2, client.bottom / 2);
}

void Check(controls::zembutton& b) {
    b.SetMode(1);
    b.SetValue(true);
}
}  // namespace

const std::vector<ButtonState>& AllStates() {
    static const std::vector<ButtonState> states = {
        {L"Normal", [](TestForm&, controls::zembutton&) {}},
        {L"Hot", [](TestForm&, controls::zembutton& b) { Hover(b); }},
        {L"Down",
         [](TestForm&, controls::zembutton& b) {
             Hover(b);
             RECT client{};
             ::GetClientRect(b.hWnd(), &client);
             Press(b, client.right / 2, client.bottom / 2);
         }},
        {L"Checked", [](TestForm&, controls::zembutton& b) { Check(b); }},
        {L"Checked, hot",
         [](TestForm&, controls::zembutton& b) {
             Check(b);
             Hover(b);
         }},
        {L"Disabled", [](TestForm&, controls::zembutton& b) { b.SetEnabled(false); }},
        {L"Focused",
         [](TestForm& form, controls::zembutton& b) {
             Activate(form);
             ::SetFocus(b.hWnd());
         }},
        {L"Default",
         [](TestForm& form, controls::zembutton& b) {
             Activate(form);
             form.defaultButton = &b;
             b.AmbientChanged(L"DisplayAsDefault");
         }},
    };
    return states;
}

}  // namespace imagebutton_test
