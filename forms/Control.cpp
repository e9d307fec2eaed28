#include "forms/Control.h"

namespace forms {

AmbientProperties Control::Ambient() const {
    if (host_) return host_->Ambient(*this);
    AmbientProperties defaults;
    defaults.Font = Font::CreateDefault();
    return defaults;
}

namespace {
BOOL CALLBACK CollectControl(HWND child, LPARAM found) {
    if (auto* control = dynamic_cast<Control*>(Window::FromHandle(child)))
        reinterpret_cast<std::vector<Control*>*>(found)->push_back(control);
    return TRUE;
}
}  // namespace

std::vector<Control*> ControlsOf(HWND root) {
    std::vector<Control*> controls;
    if (root) ::EnumChildWindows(root, CollectControl, reinterpret_cast<LPARAM>(&controls));
    return controls;
}

Control* ControlWithAccessKey(HWND root, wchar_t character) {
    wchar_t lower[1] = {character};
    ::CharLowerBuffW(lower, 1);
    for (Control* control : ControlsOf(root)) {
        HWND hwnd = control->Handle();
        if (control->AccessKeys().find(lower[0]) == std::wstring::npos) continue;
        if (::IsWindowEnabled(hwnd) && ::IsWindowVisible(hwnd)) return control;
    }
    return nullptr;
}

AccessibleFacts Control::Facts(long) const {
    AccessibleFacts facts;
    facts.state = WindowStates(Handle());
    wchar_t text[256] = {};
    ::GetWindowTextW(Handle(), text, 256);
    facts.name = text;
    if (!accessKeys_.empty()) {
        wchar_t key[2] = {accessKeys_[0], 0};
        ::CharUpperW(key);
        facts.keyboardShortcut = std::wstring(L"Alt+") + key;
    }
    return facts;
}

void Control::FocusChanged(bool focused) {
    if (host_) host_->ControlFocusChanged(*this, focused);
}

void Control::PropertyChanged(std::wstring_view property) {
    if (host_) host_->PropertyChanged(*this, property);
}

}  // namespace forms
