#pragma once
#include <windows.h>
#include <string>

namespace base {

// Dispatches every message waiting for this thread, then returns. A WM_QUIT met
// on the way is posted again so the outermost loop still sees it.
void DoEvents();

// Runs the thread's message loop until WM_QUIT; returns its exit code.
int RunMessageLoop();

// Sees the keystrokes meant for a top-level window or anything on it before
// both loops above dispatch them; true when it has spent the keystroke.
class KeystrokeFilter {
public:
    virtual bool FilterKeystroke(const MSG& msg) = 0;

protected:
    ~KeystrokeFilter() = default;
};

// Gives a top-level window its filter, or takes it away (nullptr).
void SetKeystrokeFilter(HWND window, KeystrokeFilter* filter);

// A modal message box owned by the window that raises it (so that window takes
// no input until the box is closed), titled with the program's name unless
// another title is given. Returns the button chosen.
int ShowMessage(HWND owner, const std::wstring& text, UINT flags, const std::wstring& title = L"Snipmill");

}  // namespace base
