#pragma once
// Answers the modal dialogs this process shows, as a user would, from a thread
// of its own: each new dialog window is handed to a handler (by default: read
// it as a message box and press its default button). Tests use it to drive
// message boxes and file dialogs shown from inside the code under test.
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

struct MessageBoxSeen {
    std::wstring title;
    std::wstring text;
    // MB_ICONERROR, MB_ICONINFORMATION, MB_ICONWARNING, MB_ICONQUESTION, or 0 for none.
    UINT icon = 0;
    // The window the box belongs to, and whether that window still took input.
    HWND owner = nullptr;
    bool ownerEnabled = false;
    // The id of the box's default button (IDOK, IDYES, IDNO, ...), or 0 for none.
    int defaultButton = 0;
};

// What a message box window shows.
MessageBoxSeen ReadMessageBox(HWND dialog);
// Clicks a button of a dialog by its control id.
void PressButton(HWND dialog, int id);
// Types a path into a file dialog's name box and presses its OK button.
void ChooseFile(HWND dialog, const std::wstring& path);
// The caption of a window.
std::wstring WindowText(HWND window);

class DialogWatcher {
public:
    // Returns true when it has dealt with the dialog.
    using Handler = std::function<bool(HWND dialog)>;

    DialogWatcher();
    // Watches the dialogs of the given process (by default this one).
    explicit DialogWatcher(Handler handler, DWORD process = ::GetCurrentProcessId());
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;
    ~DialogWatcher();

    // Message boxes answered by the default handler, in the order they came.
    std::vector<MessageBoxSeen> Seen() const;

private:
    void Watch();

    Handler handler_;
    DWORD process_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<MessageBoxSeen> seen_;
    std::vector<HWND> handled_;
    std::thread thread_;
};

}  // namespace testing_support
