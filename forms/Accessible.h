#pragma once
// What a screen reader is told about a window of ours: an accessible object
// (IAccessible) for its client area, built on the platform's standard one and
// filled in by the window's AccessibleSource, with simple children (parts the
// window draws itself) numbered from 1.
#include <windows.h>
#include <oleacc.h>

#include <string>

namespace forms {

// The default action of every button.
inline constexpr wchar_t kPressAction[] = L"Press";

struct AccessibleFacts {
    long role = ROLE_SYSTEM_CLIENT;
    long state = 0;
    std::wstring name;
    std::wstring value;
    std::wstring description;
    std::wstring defaultAction;
    std::wstring keyboardShortcut;
};

class AccessibleSource {
public:
    // The object itself (child 0, CHILDID_SELF) or one of its children.
    virtual AccessibleFacts Facts(long child) const = 0;
    virtual long ChildCount() const { return 0; }
    // The child window behind a child number, or nullptr for a simple child.
    virtual HWND ChildWindow(long /*child*/) const { return nullptr; }
    // A simple child's rectangle in client coordinates.
    virtual RECT ChildBounds(long /*child*/) const { return RECT{}; }
    // The simple child at a client point, or 0.
    virtual long ChildAt(POINT /*client*/) const { return 0; }
    // The simple child that has the focus while the window has it, or 0.
    virtual long FocusedChild() const { return 0; }
    // Runs the default action; it arrives through the window's message queue,
    // never inside the screen reader's call.
    virtual void DoDefaultAction(long /*child*/) {}
    virtual void TakeFocus(long /*child*/) {}

protected:
    ~AccessibleSource() = default;
};

// Answers WM_GETOBJECT for the window's client object and runs the default
// actions its objects posted; true when the message was one of those.
bool AnswerAccessibility(HWND window, AccessibleSource& source, UINT message, WPARAM wParam, LPARAM lParam,
                         LRESULT& result);

// The states every window has: unavailable, focusable, focused, invisible
// (also when it lies wholly outside its parent's client area).
long WindowStates(HWND window);

// The caption as read aloud: "&" marks are dropped, "&&" is one ampersand.
std::wstring WithoutAccessMarks(const std::wstring& caption);

// A button's facts on top of its control's: its role, its caption (without access
// marks) as its name, its tooltip as its description, "Press", and checked or pressed.
AccessibleFacts ButtonFacts(AccessibleFacts facts, long role, const std::wstring& caption, const std::wstring& toolTip,
                            bool checked, bool pressed);

// Tells screen readers that a value, name or state of the window's object (or child) changed.
void Announce(HWND window, DWORD event, long child = CHILDID_SELF);

}  // namespace forms
