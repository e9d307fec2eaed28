#include "DialogWatcher.h"

#include <algorithm>

namespace testing_support {

namespace {

constexpr int kMessageTextId = 0xFFFF;  // the static control holding a message box's text
constexpr int kFileNameComboId = 0x47C;
constexpr int kFileNameEditId = 0x480;
constexpr DWORD kSendTimeoutMs = 5000;
constexpr ULONGLONG kLayoutLimitMs = 10000;

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result);
    return static_cast<LRESULT>(result);
}

BOOL CALLBACK FindIconControl(HWND child, LPARAM parameter) {
    if (ClassOf(child) == L"Static" && (::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        *reinterpret_cast<HWND*>(parameter) = child;
        return FALSE;
    }
    return TRUE;
}

UINT IconOf(HWND dialog) {
    HWND iconControl = nullptr;
    ::EnumChildWindows(dialog, &FindIconControl, reinterpret_cast<LPARAM>(&iconControl));
    if (!iconControl || !::IsWindowVisible(iconControl)) return 0;
    auto shown = reinterpret_cast<HICON>(Send(iconControl, STM_GETICON, 0, 0));
    if (!shown) return 0;
    const std::pair<LPCWSTR, UINT> icons[] = {{IDI_ERROR, MB_ICONERROR},
                                              {IDI_INFORMATION, MB_ICONINFORMATION},
                                              {IDI_WARNING, MB_ICONWARNING},
                                              {IDI_QUESTION, MB_ICONQUESTION}};
    for (const auto& [resource, flag] : icons)
        if (::LoadIconW(nullptr, resource) == shown) return flag;
    return 0;
}

struct Found {
    DWORD process;
    std::vector<HWND> dialogs;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM parameter) {
    auto* found = reinterpret_cast<Found*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == found->process && ::IsWindowVisible(window) && ClassOf(window) == L"#32770")
        found->dialogs.push_back(window);
    return TRUE;
}

BOOL CALLBACK FindShownButton(HWND child, LPARAM parameter) {
    if (ClassOf(child) == L"Button" && ::IsWindowVisible(child)) {
        *reinterpret_cast<bool*>(parameter) = true;
        return FALSE;
    }
    return TRUE;
}

// Whether the dialog has finished laying itself out: its buttons, which message
// boxes and file dialogs show last, show. False if it goes away or is not done
// within a generous limit.
bool LaidOut(HWND dialog) {
    const ULONGLONG end = ::GetTickCount64() + kLayoutLimitMs;
    for (;;) {
        if (!::IsWindow(dialog)) return false;
        bool shown = false;
        ::EnumChildWindows(dialog, &FindShownButton, reinterpret_cast<LPARAM>(&shown));
        if (shown) return true;
        if (::GetTickCount64() >= end) return false;
        ::Sleep(5);
    }
}

}  // namespace

std::wstring WindowText(HWND window) {
    wchar_t text[4096] = {};
    Send(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text));
    return text;
}

MessageBoxSeen ReadMessageBox(HWND dialog) {
    MessageBoxSeen seen;
    seen.title = WindowText(dialog);
    if (HWND text = ::GetDlgItem(dialog, kMessageTextId)) seen.text = WindowText(text);
    seen.icon = IconOf(dialog);
    seen.owner = ::GetWindow(dialog, GW_OWNER);
    seen.ownerEnabled = seen.owner && ::IsWindowEnabled(seen.owner);
    // The box marks its default button by the push button's default style (and gives it the focus).
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (ClassOf(child) == L"Button" && (::GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            seen.defaultButton = ::GetDlgCtrlID(child);
    return seen;
}

void PressButton(HWND dialog, int id) {
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

void ChooseFile(HWND dialog, const std::wstring& path) {
    HWND name = ::GetDlgItem(dialog, kFileNameComboId);
    if (!name) name = ::GetDlgItem(dialog, kFileNameEditId);
    if (name && ClassOf(name) == L"ComboBox") name = ::FindWindowExW(name, nullptr, L"Edit", nullptr);
    Send(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PressButton(dialog, IDOK);
}

DialogWatcher::DialogWatcher() : DialogWatcher(Handler{}) {}

DialogWatcher::DialogWatcher(Handler handler, DWORD process) : handler_(std::move(handler)), process_(process) {
    thread_ = std::thread([this] { Watch(); });
}

DialogWatcher::~DialogWatcher() {
    stop_ = true;
    thread_.join();
}

std::vector<MessageBoxSeen> DialogWatcher::Seen() const {
    std::lock_guard lock(mutex_);
    return seen_;
}

void DialogWatcher::Watch() {
    while (!stop_) {
        std::erase_if(handled_, [](HWND gone) { return !::IsWindow(gone); });
        Found found{process_, {}};
        ::EnumWindows(&CollectDialog, reinterpret_cast<LPARAM>(&found));
        for (HWND dialog : found.dialogs) {
            if (std::find(handled_.begin(), handled_.end(), dialog) != handled_.end()) continue;
            if (!LaidOut(dialog)) continue;
            bool dealt = handler_ && handler_(dialog);
            if (!dealt) {
                MessageBoxSeen seen = ReadMessageBox(dialog);
                {
                    std::lock_guard lock(mutex_);
                    seen_.push_back(seen);
                }
                PressButton(dialog, IDOK);
            }
            handled_.push_back(dialog);
        }
        ::Sleep(20);
    }
}

}  // namespace testing_support
