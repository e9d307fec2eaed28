#include "support/WindowTesting.h"

#include <tlhelp32.h>

#include "base/Handles.h"
#include "base/MessageLoop.h"
#include "forms/Dib.h"

namespace testing_support {

void PumpFor(int milliseconds) {
    PumpUntil([] { return false; }, milliseconds);
}

bool PumpUntil(const std::function<bool()>& condition, int timeoutMs) {
    const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    while (true) {
        base::DoEvents();
        if (condition()) return true;
        if (::GetTickCount64() >= end) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

namespace {
// Returns once the platform reports the cursor at the point, or after the time given.
void WaitForCursorAt(POINT at, int timeoutMs) {
    PumpUntil(
        [&] {
            POINT now{};
            ::GetCursorPos(&now);
            return now.x == at.x && now.y == at.y;
        },
        timeoutMs);
}
}  // namespace

void CursorTo(POINT at) {
    ::SetCursorPos(at.x, at.y);
    WaitForCursorAt(at, 2000);
}

void CursorTo(HWND window, int x, int y) {
    POINT at{x, y};
    ::ClientToScreen(window, &at);
    CursorTo(at);
}

void MoveMouseAway() { CursorTo(POINT{::GetSystemMetrics(SM_CXSCREEN) - 2, ::GetSystemMetrics(SM_CYSCREEN) - 2}); }

LPARAM MousePosition(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y)));
}

namespace {
// Sends the input and waits until this thread has handled all of it.
void Send(std::vector<INPUT> inputs) {
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    PumpUntil([] { return HIWORD(::GetQueueStatus(QS_INPUT)) == 0; }, 5000);
    base::DoEvents();
}

INPUT Mouse(DWORD flags, LONG dx = 0, LONG dy = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = flags;
    return input;
}

INPUT Key(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}
}  // namespace

void UserMoves(HWND window, int x, int y) {
    POINT at{x, y};
    ::ClientToScreen(window, &at);
    // Absolute input counts in 65536ths of the screen; rounded up so that it lands on the pixel.
    const LONG width = ::GetSystemMetrics(SM_CXSCREEN);
    const LONG height = ::GetSystemMetrics(SM_CYSCREEN);
    Send({Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, (at.x * 65536 + width - 1) / width,
                (at.y * 65536 + height - 1) / height)});
    WaitForCursorAt(at, 5000);
}

void UserPresses() { Send({Mouse(MOUSEEVENTF_LEFTDOWN)}); }
void UserReleases() { Send({Mouse(MOUSEEVENTF_LEFTUP)}); }

void UserTypes(WORD key, std::initializer_list<WORD> modifiers) {
    std::vector<INPUT> inputs;
    for (WORD m : modifiers) inputs.push_back(Key(m, false));
    inputs.push_back(Key(key, false));
    inputs.push_back(Key(key, true));
    for (WORD m : modifiers) inputs.push_back(Key(m, true));
    Send(inputs);
}

namespace {
Pixels ReadBitmap(HDC source, int width, int height, const std::function<void(HDC)>& draw) {
    Pixels pixels;
    pixels.width = width;
    pixels.height = height;
    void* bits = nullptr;
    base::BitmapHandle bitmap = forms::CreateTopDownDib(width, height, &bits, source);
    base::MemoryDC memory(::CreateCompatibleDC(source));
    if (!bitmap || !memory || !bits) return pixels;
    {
        base::SelectedObject selected(memory.Get(), bitmap.Get());
        draw(memory.Get());
        ::GdiFlush();
    }
    const auto* p = static_cast<const std::uint32_t*>(bits);
    pixels.data.assign(p, p + static_cast<std::size_t>(width) * height);
    for (auto& px : pixels.data) px &= 0x00FFFFFFu;
    return pixels;
}
}  // namespace

Pixels CaptureClient(HWND hwnd) {
    ::UpdateWindow(hwnd);
    RECT client{};
    ::GetClientRect(hwnd, &client);
    base::WindowDC dc(hwnd);
    return ReadBitmap(dc.Get(), client.right, client.bottom, [&](HDC memory) {
        ::BitBlt(memory, 0, 0, client.right, client.bottom, dc.Get(), 0, 0, SRCCOPY);
    });
}

Pixels PrintClient(HWND hwnd) {
    RECT client{};
    ::GetClientRect(hwnd, &client);
    base::WindowDC dc(hwnd);
    return ReadBitmap(dc.Get(), client.right, client.bottom, [&](HDC memory) {
        ::SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    });
}

Pixels DrawnPixels(int width, int height, const std::function<void(HDC)>& draw) {
    base::WindowDC screen(nullptr);
    return ReadBitmap(screen.Get(), width, height, draw);
}

Pixels CaptureWindow(HWND hwnd, bool toFront) {
    if (toFront) {
        ::SetForegroundWindow(hwnd);
        ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    RECT frame{};
    ::GetWindowRect(hwnd, &frame);
    base::WindowDC screen(nullptr);
    return ReadBitmap(screen.Get(), frame.right - frame.left, frame.bottom - frame.top, [&](HDC memory) {
        ::BitBlt(memory, 0, 0, frame.right - frame.left, frame.bottom - frame.top, screen.Get(), frame.left, frame.top,
                 SRCCOPY);
    });
}

std::wstring BuildPath(const std::wstring& sub, const std::wstring& name) {
    wchar_t module[MAX_PATH]{};
    ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring folder(module);
    folder.resize(folder.find_last_of(L'\\'));      // ...\bin
    folder.resize(folder.find_last_of(L'\\') + 1);  // ...\ (the build folder)
    folder += sub;
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\" + name;
}

namespace {
struct Search {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindMainWindow(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    wchar_t title[64] = {};
    ::GetWindowTextW(hwnd, title, 64);
    if (pid == search->process && std::wstring(title) == L"Tavrin Snipmill" && ::IsWindowVisible(hwnd)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

HWND MainWindowOf(DWORD process) {
    Search search{process, nullptr};
    ::EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool ClickButton(HWND window, const std::wstring& caption) {
    HWND button = ::FindWindowExW(window, nullptr, L"Snipmill.zembutton", caption.c_str());
    if (!button) return false;
    ::PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    return true;
}

std::vector<std::wstring> LiveChildrenOf(DWORD parent) {
    std::vector<std::wstring> names;
    base::KernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more; more = ::Process32NextW(snapshot.Get(), &entry)) {
        if (entry.th32ParentProcessID != parent) continue;
        base::KernelHandle process(::OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID));
        if (process && ::WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT) names.push_back(entry.szExeFile);
    }
    return names;
}

namespace {
BOOL CALLBACK CountOwnWindow(HWND hwnd, LPARAM param) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid == ::GetCurrentProcessId()) {
        ++*reinterpret_cast<DWORD*>(param);
        ::EnumChildWindows(hwnd, CountOwnWindow, param);
    }
    return TRUE;
}
}  // namespace

DWORD GdiObjects() {
    if (DWORD count = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS)) return count;
    // Wine answers 0 above. Its GDI handles carry the table index in the low
    // word, and a handle whose high word is zero names whatever lives there.
    DWORD count = 0;
    for (UINT_PTR index = 1; index < 0x10000; ++index)
        if (::GetObjectType(reinterpret_cast<HGDIOBJ>(index))) ++count;
    return count;
}

DWORD UserObjects() {
    if (DWORD count = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS)) return count;
    // Wine answers 0 above: count this process's windows instead, message-only ones too.
    DWORD count = 0;
    ::EnumWindows(CountOwnWindow, reinterpret_cast<LPARAM>(&count));
    for (HWND hwnd = ::FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); hwnd;
         hwnd = ::FindWindowExW(HWND_MESSAGE, hwnd, nullptr, nullptr))
        CountOwnWindow(hwnd, reinterpret_cast<LPARAM>(&count));
    return count;
}

std::vector<HANDLE> KernelHandles() {
    // Wine's GetProcessHandleCount answers 0: probe every handle value instead
    // (they are multiples of 4, handed out lowest first).
    std::vector<HANDLE> handles;
    for (UINT_PTR value = 4; value < 0x10000; value += 4) {
        DWORD flags = 0;
        if (::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
            handles.push_back(reinterpret_cast<HANDLE>(value));
    }
    return handles;
}

DWORD Threads() {
    DWORD count = 0;
    base::KernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Thread32First(snapshot.Get(), &entry); more; more = ::Thread32Next(snapshot.Get(), &entry))
        if (entry.th32OwnerProcessID == ::GetCurrentProcessId()) ++count;
    return count;
}

}  // namespace testing_support
