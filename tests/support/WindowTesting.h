#pragma once
// Helpers for tests that drive real windows: pumping messages, reading pixels,
// answering message boxes the way a user would, and finding test files.
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/Png.h"

namespace testing_support {

// Dispatches this thread's messages for the given time.
void PumpFor(int milliseconds);
// Dispatches messages until the condition holds or the time is up; returns the condition.
bool PumpUntil(const std::function<bool()>& condition, int timeoutMs);

// The client area's pixels as the screen shows them (the window must be visible).
Pixels CaptureClient(HWND hwnd);
// Draws the client area through WM_PRINTCLIENT into a bitmap (works hidden too).
Pixels PrintClient(HWND hwnd);

// <folder of the test program>\..\<sub>\<name>; the folder is created.
std::wstring BuildPath(const std::wstring& sub, const std::wstring& name);
inline std::wstring FixturePath(const std::wstring& name) { return BuildPath(L"fixtures", name); }
inline std::wstring ArtifactPath(const std::wstring& name) { return BuildPath(L"artifacts", name); }

// The process's GDI and USER object counts, for leak checks.
DWORD GdiObjects();
DWORD UserObjects();

// Watches for message boxes of this process from another thread, notes their
// title and text, and answers each with a button (OK by default).
class MessageBoxWatcher {
public:
    struct Seen {
        std::wstring title;
        std::wstring text;
    };

    explicit MessageBoxWatcher(int answer = IDOK);
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;
    ~MessageBoxWatcher();

    std::vector<Seen> Boxes() const;
    std::size_t Count() const;

private:
    void Watch();

    int answer_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<Seen> seen_;
    std::thread thread_;
};

}  // namespace testing_support
