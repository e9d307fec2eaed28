#pragma once
// Helpers for tests that drive real windows: pumping messages, reading pixels,
// counting objects, and finding test files.
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "support/Png.h"

namespace testing_support {

// Dispatches this thread's messages for the given time.
void PumpFor(int milliseconds);
// Dispatches messages until the condition holds or the time is up; returns the condition.
bool PumpUntil(const std::function<bool()>& condition, int timeoutMs);
// Moves the cursor to a point of the screen and returns once the platform reports
// it there (in a Wine desktop window the move arrives a moment later).
void CursorTo(POINT at);
// The same for a point of the window's client area.
void CursorTo(HWND window, int x, int y);
// The cursor to the far corner of the desktop, away from every test window.
void MoveMouseAway();
// A client point as a mouse message carries it in lParam.
LPARAM MousePosition(int x, int y);

// Input as a user gives it: sent as from the devices and handled by this thread
// before these return. UserMoves goes to a point of the window's client area.
void UserMoves(HWND window, int x, int y);
void UserPresses();  // the left button, where the cursor is
void UserReleases();
// A key pressed and released, with the modifier keys held around it.
void UserTypes(WORD key, std::initializer_list<WORD> modifiers = {});

// The client area's pixels as the screen shows them (the window must be visible).
Pixels CaptureClient(HWND hwnd);
// Draws the client area through WM_PRINTCLIENT into a bitmap (works hidden too).
Pixels PrintClient(HWND hwnd);
// What `draw` draws on a bitmap of this size, as the screen's pixels.
Pixels DrawnPixels(int width, int height, const std::function<void(HDC)>& draw);
// What the screen shows of the whole window, frame and menu bar too (and of a
// menu open over it); brought to the front first unless told not to.
Pixels CaptureWindow(HWND hwnd, bool toFront = true);

// <folder of the test program>\..\<sub>\<name>; the folder is created.
std::wstring BuildPath(const std::wstring& sub, const std::wstring& name);
inline std::wstring FixturePath(const std::wstring& name) { return BuildPath(L"fixtures", name); }
inline std::wstring ArtifactPath(const std::wstring& name) { return BuildPath(L"artifacts", name); }

// The visible main window of a started copy of the program, or null.
HWND MainWindowOf(DWORD process);
// Clicks the program's command button with the given caption on a window of
// any process (the click is posted); false when there is no such button.
bool ClickButton(HWND window, const std::wstring& caption);

// The names of the processes the given process started that still run.
std::vector<std::wstring> LiveChildrenOf(DWORD parent);

// The process's GDI and USER object counts, for leak checks.
DWORD GdiObjects();
DWORD UserObjects();
// The kernel handles this process holds (events, files, pipes, processes,
// threads, jobs...), and its running threads.
std::vector<HANDLE> KernelHandles();
DWORD Threads();

}  // namespace testing_support
