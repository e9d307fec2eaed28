#pragma once
// The looks a button has, each brought about as a user would: by the mouse,
// the keyboard focus, the form's default button, checking or disabling it.
#include <functional>
#include <string>
#include <vector>

#include "ButtonTestSupport.h"

namespace imagebutton_test {

struct ButtonState {
    std::wstring name;
    std::function<void(TestForm&, controls::zembutton&)> apply;
};

const std::vector<ButtonState>& AllStates();

}  // namespace imagebutton_test
