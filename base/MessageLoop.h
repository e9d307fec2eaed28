#pragma once
#include <string>
#include <windows.h>

namespace base {

// Dispatches every message waiting for this thread, then returns. A WM_QUIT met
// on the way is posted again so the outermost loop still sees it.
void DoEvents();

// Runs the thread's message loop until WM_QUIT; returns its exit code.
int RunMessageLoop();

// A modal message box owned by the active window, titled with the program's name
// unless another title is given. Returns the button chosen.
int ShowMessage(const std::wstring& text, UINT flags, const std::wstring& title = L"Snipmill");

}  // namespace base
