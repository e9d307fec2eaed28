#include "forms/Form.h"

#include <algorithm>

#include "forms/PaintMessages.h"
#include "forms/SolidFill.h"
#include "forms/Units.h"

namespace forms {

namespace {
constexpr int kLabelGap = 4;  // about a space of the labels' faces
}

Form::Form(OleColor backColor) : backColor_(backColor), dpi_(ScreenDpi()) { defaultFont_ = Font::CreateDefault(); }

Form::~Form() {
    // Elements unregister themselves; forget them first so none calls back into a dying form.
    elements_.clear();
    if (Handle()) base::SetKeystrokeFilter(Handle(), nullptr);
}

bool Form::CreateForm(const wchar_t* className, const std::wstring& caption, int clientWidth, int clientHeight,
                      DWORD style, DWORD exStyle, HWND owner, HICON bigIcon, HICON smallIcon) {
    RECT frame{0, 0, clientWidth, clientHeight};
    ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    if (!CreateWindowOf(className, CS_DBLCLKS, style | WS_CLIPCHILDREN, exStyle, caption.c_str(), CW_USEDEFAULT,
                        CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, owner))
        return false;
    if (bigIcon) ::SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
    if (smallIcon) ::SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    return true;
}

void Form::Show(int command) { ::ShowWindow(Handle(), command); }

void Form::Hide() { ::ShowWindow(Handle(), SW_HIDE); }

bool Form::Visible() const noexcept { return Handle() && ::IsWindowVisible(Handle()); }

AmbientProperties Form::Ambient(const Control&) const {
    AmbientProperties ambient;
    ambient.Font = defaultFont_;
    ambient.BackColor = backColor_;
    return ambient;
}

void Form::AddElement(WindowlessElement& element) { elements_.push_back(&element); }

void Form::RemoveElement(WindowlessElement& element) noexcept {
    std::erase(elements_, &element);
    if (pressed_ == &element) pressed_ = nullptr;
    if (Handle()) InvalidateArea(element.Bounds());
}

void Form::InvalidateArea(const RECT& area) const noexcept {
    if (Handle()) ::InvalidateRect(Handle(), &area, FALSE);
}

void Form::SetShortcuts(std::span<const ACCEL> shortcuts) {
    std::vector<ACCEL> table(shortcuts.begin(), shortcuts.end());
    shortcuts_.Reset(table.empty() ? nullptr : ::CreateAcceleratorTableW(table.data(), static_cast<int>(table.size())));
    if (Handle()) base::SetKeystrokeFilter(Handle(), shortcuts_ ? this : nullptr);
}

bool Form::FilterKeystroke(const MSG& msg) {
    if (!shortcuts_ || !::IsWindowEnabled(Handle())) return false;
    MSG translated = msg;
    // The keyboard repeats a held key; the shortcut still eats the repeats, and runs once unless it repeats.
    repeatedKey_ = (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && (msg.lParam & (1L << 30)) != 0;
    const bool spent = ::TranslateAcceleratorW(Handle(), shortcuts_.Get(), &translated) != 0;
    repeatedKey_ = false;
    return spent;
}

void Form::ReflectFor(HWND child, ReflectHandler handler) { reflectors_[child] = std::move(handler); }

bool Form::Reflect(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (!child) return false;
    auto it = reflectors_.find(child);
    if (it != reflectors_.end()) return it->second(message, wParam, lParam, result);
    if (auto* control = dynamic_cast<Control*>(Window::FromHandle(child)))
        return control->OnReflectedMessage(message, wParam, lParam, result);
    return false;
}

WindowlessElement* Form::ElementAt(POINT point, bool clickableOnly) const {
    for (auto it = elements_.rbegin(); it != elements_.rend(); ++it) {
        WindowlessElement* element = *it;
        if (!element->Visible() || !::PtInRect(&element->Bounds(), point)) continue;
        if (clickableOnly && !element->Clickable()) continue;
        if (!clickableOnly && !element->Cursor()) continue;
        return element;
    }
    return nullptr;
}

void Form::PaintClient(HDC dc) const {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    FillSolid(dc, client, static_cast<COLORREF>(TranslateColor(backColor_)));
    for (auto it = elements_.begin(); it != elements_.end(); ++it) {
        const WindowlessElement* element = *it;
        if (!element->Visible()) continue;
        if (!dynamic_cast<const Label*>(element)) {
            element->Paint(dc, dpi_);
            continue;
        }
        // A label above another keeps its rectangle, and a little room beside
        // it, for its own text, so a long read-out never runs into the caption
        // next to it.
        const int saved = ::SaveDC(dc);
        for (auto above = it + 1; above != elements_.end(); ++above) {
            if (!(*above)->Visible() || !dynamic_cast<const Label*>(*above)) continue;
            const RECT& b = (*above)->Bounds();
            ::ExcludeClipRect(dc, b.left - kLabelGap, b.top, b.right + kLabelGap, b.bottom);
        }
        element->Paint(dc, dpi_);
        ::RestoreDC(dc, saved);
    }
}

void Form::Paint(HDC dc, const RECT& area) {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    backBuffer_.PaintArea(dc, client, area, [this](HDC target) { PaintClient(target); });
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT painted = 0;
    if (AnswerPaintMessage(
            Handle(), message, wParam, [this](HDC dc, const RECT& area) { Paint(dc, area); }, painted))
        return painted;
    switch (message) {
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && reinterpret_cast<HWND>(wParam) == Handle()) {
            POINT point{};
            ::GetCursorPos(&point);
            ::ScreenToClient(Handle(), &point);
            if (WindowlessElement* element = ElementAt(point, false)) {
                ::SetCursor(element->Cursor());
                return TRUE;
            }
        }
        break;
    case WM_LBUTTONDOWN: {
        POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        pressed_ = ElementAt(point, true);
        if (pressed_) ::SetCapture(Handle());
        return 0;
    }
    case WM_LBUTTONUP: {
        POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        WindowlessElement* pressed = std::exchange(pressed_, nullptr);
        if (::GetCapture() == Handle()) ::ReleaseCapture();
        if (pressed && pressed == ElementAt(point, true)) pressed->Click.Raise();
        return 0;
    }
    case WM_COMMAND:
        if (HIWORD(wParam) == 1 && lParam == 0) {  // from the shortcut table
            if (!repeatedKey_ || ShortcutRepeats(LOWORD(wParam))) OnShortcut(LOWORD(wParam));
            return 0;
        }
        [[fallthrough]];
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN: {
        LRESULT result = 0;
        if (Reflect(reinterpret_cast<HWND>(lParam), message, wParam, lParam, result)) return result;
        break;
    }
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (Reflect(reinterpret_cast<NMHDR*>(lParam)->hwndFrom, message, wParam, lParam, result)) return result;
        break;
    }
    case WM_MENUCHAR:
        // Alt+character with no menu item of that name: an access key of a control.
        if (Control* control = ControlWithAccessKey(Handle(), static_cast<wchar_t>(LOWORD(wParam)))) {
            control->OnAccessKey(static_cast<wchar_t>(LOWORD(wParam)));
            return MAKELRESULT(0, MNC_CLOSE);
        }
        break;
    case WM_DRAWITEM: {
        LRESULT result = 0;
        if (Reflect(reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem, message, wParam, lParam, result))
            return result;
        break;
    }
    default:
        break;
    }
    return DefaultHandling(message, wParam, lParam);
}

}  // namespace forms
