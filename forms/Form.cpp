#include "forms/Form.h"

#include <algorithm>

#include "forms/Focus.h"
#include "forms/PaintMessages.h"
#include "forms/SolidFill.h"
#include "forms/Units.h"

namespace forms {

namespace {
constexpr int kLabelGap = 4;  // about a space of the labels' faces
constexpr wchar_t kLinkAction[] = L"Jump";

bool Held(int key) { return ::GetKeyState(key) < 0; }

// Whether a control whose WM_GETDLGCODE answered `code` has the key for its own.
bool KeepsKey(UINT code, WPARAM key) {
    if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return true;
    switch (key) {
    case VK_TAB:
        return (code & DLGC_WANTTAB) != 0;
    case VK_SPACE:
        return (code & (DLGC_BUTTON | DLGC_HASSETSEL)) != 0;
    case VK_RETURN:
        return (code & DLGC_BUTTON) != 0;
    default:
        // A text box types its characters; shortcuts with Ctrl still work there.
        return (code & DLGC_HASSETSEL) && !Held(VK_CONTROL);
    }
}

RECT FocusFrame(const WindowlessElement& element) {
    RECT frame = element.Bounds();
    ::InflateRect(&frame, 1, 1);
    return frame;
}
}  // namespace

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
    base::SetKeystrokeFilter(Handle(), this);
    if (bigIcon) ::SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
    if (smallIcon) ::SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    return true;
}

void Form::Show(int command) { ::ShowWindow(Handle(), command); }

void Form::Hide() { ::ShowWindow(Handle(), SW_HIDE); }

bool Form::Visible() const noexcept { return Handle() && ::IsWindowVisible(Handle()); }

AmbientProperties Form::Ambient(const Control& control) const {
    AmbientProperties ambient;
    ambient.Font = defaultFont_;
    ambient.BackColor = backColor_;
    ambient.DisplayAsDefault = &control == defaultControl_;
    return ambient;
}

void Form::ControlFocusChanged(Control& control, bool focused) {
    if (focused) {
        lastFocus_ = control.Handle();
        defaultControl_ = &control;
    } else if (defaultControl_ == &control) {
        defaultControl_ = nullptr;
    } else {
        return;
    }
    control.AmbientChanged(L"DisplayAsDefault");
}

void Form::AddElement(WindowlessElement& element) { elements_.push_back(&element); }

void Form::RemoveElement(WindowlessElement& element) noexcept {
    std::erase(elements_, &element);
    if (pressed_ == &element) pressed_ = nullptr;
    if (focusedElement_ == &element) focusedElement_ = nullptr;
    if (Handle()) InvalidateArea(element.Bounds());
}

void Form::InvalidateArea(const RECT& area) const noexcept {
    if (Handle()) ::InvalidateRect(Handle(), &area, FALSE);
}

void Form::SetShortcuts(std::span<const ACCEL> shortcuts) {
    std::vector<ACCEL> table(shortcuts.begin(), shortcuts.end());
    shortcuts_.Reset(table.empty() ? nullptr : ::CreateAcceleratorTableW(table.data(), static_cast<int>(table.size())));
}

bool Form::FilterKeystroke(const MSG& msg) {
    if (!::IsWindowEnabled(Handle())) return false;
    if (msg.message == WM_KEYDOWN) {
        const UINT code = DialogCode(msg);
        // The platform's push button clicks on Return only through a dialog manager.
        if (msg.wParam == VK_RETURN && (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
            ::SendMessageW(msg.hwnd, BM_CLICK, 0, 0);
            return true;
        }
        if (KeepsKey(code, msg.wParam)) return false;
        if (msg.wParam == VK_TAB && !Held(VK_CONTROL) && !Held(VK_MENU)) {
            MoveFocus(Held(VK_SHIFT));
            return true;
        }
        if (msg.wParam == VK_RETURN && focusedElement_ && msg.hwnd == Handle()) {
            focusedElement_->Click.Raise();
            return true;
        }
    }
    if (!shortcuts_) return false;
    MSG translated = msg;
    // The keyboard repeats a held key; the shortcut still eats the repeats, and runs once unless it repeats.
    repeatedKey_ = (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && (msg.lParam & (1L << 30)) != 0;
    const bool spent = ::TranslateAcceleratorW(Handle(), shortcuts_.Get(), &translated) != 0;
    repeatedKey_ = false;
    return spent;
}

UINT Form::DialogCode(const MSG& msg) const {
    if (msg.hwnd == Handle() || !::IsChild(Handle(), msg.hwnd)) return 0;
    return static_cast<UINT>(::SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)));
}

void Form::MoveFocus(bool previous) {
    struct Stop {
        HWND window;
        WindowlessElement* element;
    };
    std::vector<Stop> stops;
    for (HWND child = ::GetWindow(Handle(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP) && ::IsWindowVisible(child) &&
            ::IsWindowEnabled(child) && !OutOfView(child))
            stops.push_back({child, nullptr});
    }
    for (WindowlessElement* element : elements_)
        if (element->TabStop() && element->Visible()) stops.push_back({nullptr, element});
    if (stops.empty()) return;

    HWND focus = ::GetFocus();
    while (focus && ::GetParent(focus) && ::GetParent(focus) != Handle()) focus = ::GetParent(focus);
    const auto current = std::ranges::find_if(stops, [&](const Stop& stop) {
        return stop.element ? stop.element == focusedElement_ && focus == Handle() : stop.window == focus;
    });
    const auto count = static_cast<std::ptrdiff_t>(stops.size());
    std::ptrdiff_t next = 0;
    if (current == stops.end())
        next = previous ? count - 1 : 0;
    else
        next = ((current - stops.begin()) + (previous ? count - 1 : 1)) % count;
    const Stop& stop = stops[static_cast<std::size_t>(next)];
    if (stop.element)
        FocusElement(stop.element);
    else
        ::SetFocus(stop.window);
}

void Form::SetTabOrder(std::initializer_list<HWND> windows) {
    HWND after = HWND_TOP;
    for (HWND window : windows) {
        ::SetWindowPos(window, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = window;
    }
}

void Form::FocusElement(WindowlessElement* element) {
    InvalidateFocus();
    focusedElement_ = element;
    if (::GetFocus() != Handle()) ::SetFocus(Handle());
    InvalidateFocus();
    const auto exposed = ExposedElements();
    if (auto it = std::ranges::find(exposed, element); it != exposed.end())
        Announce(Handle(), EVENT_OBJECT_FOCUS, static_cast<long>(it - exposed.begin()) + 1);
}

void Form::InvalidateFocus() const {
    if (focusedElement_) InvalidateArea(FocusFrame(*focusedElement_));
}

void Form::RememberFocus() {
    HWND focus = ::GetFocus();
    if (focus && (focus == Handle() || ::IsChild(Handle(), focus))) lastFocus_ = focus;
}

void Form::RestoreFocus() {
    const bool usable = lastFocus_ && (lastFocus_ == Handle() || ::IsChild(Handle(), lastFocus_)) &&
                        ::IsWindowVisible(lastFocus_) && ::IsWindowEnabled(lastFocus_);
    ::SetFocus(usable ? lastFocus_ : Handle());
}

void Form::ElementTextChanged(WindowlessElement& element) {
    const auto exposed = ExposedElements();
    auto it = std::ranges::find(exposed, &element);
    if (it == exposed.end()) return;
    const long child = static_cast<long>(it - exposed.begin()) + 1;
    const bool value = element.AccessibleRole() == ROLE_SYSTEM_STATICTEXT && !element.AccessibleName().empty();
    if (element.TakeAnnouncement())
        Announce(Handle(), value ? EVENT_OBJECT_VALUECHANGE : EVENT_OBJECT_NAMECHANGE, child);
}

std::vector<WindowlessElement*> Form::ExposedElements() const {
    std::vector<WindowlessElement*> exposed;
    for (WindowlessElement* element : elements_)
        if (element->AccessibleRole() != 0 && element->Visible()) exposed.push_back(element);
    return exposed;
}

std::vector<HWND> Form::ExposedWindows() const {
    std::vector<HWND> exposed;
    for (HWND child = ::GetWindow(Handle(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (::IsWindowVisible(child) && !OutOfView(child)) exposed.push_back(child);
    return exposed;
}

WindowlessElement* Form::ExposedElement(long child) const {
    const auto exposed = ExposedElements();
    return child >= 1 && child <= static_cast<long>(exposed.size()) ? exposed[static_cast<std::size_t>(child - 1)]
                                                                     : nullptr;
}

std::optional<Form::DrawnPart> Form::PartOf(long child) const {
    const long index = child - static_cast<long>(ExposedElements().size()) - 1;
    std::vector<DrawnPart> parts = DrawnParts();
    if (index < 0 || index >= static_cast<long>(parts.size())) return std::nullopt;
    return std::move(parts[static_cast<std::size_t>(index)]);
}

void Form::AnnounceChangedParts() {
    const std::vector<DrawnPart> parts = DrawnParts();
    const long first = static_cast<long>(ExposedElements().size()) + 1;
    const DWORD now = ::GetTickCount();
    announcedParts_.resize(parts.size());
    for (std::size_t i = 0; i < parts.size(); ++i) {
        Announced& last = announcedParts_[i];
        if (parts[i].value == last.value || now - last.at < parts[i].announceInterval) continue;
        last = {parts[i].value, now};
        Announce(Handle(), EVENT_OBJECT_VALUECHANGE, first + static_cast<long>(i));
    }
}

long Form::ChildCount() const {
    return static_cast<long>(ExposedElements().size() + DrawnParts().size() + ExposedWindows().size());
}

HWND Form::ChildWindow(long child) const {
    const long first = static_cast<long>(ExposedElements().size() + DrawnParts().size()) + 1;
    const auto windows = ExposedWindows();
    return child >= first && child < first + static_cast<long>(windows.size())
               ? windows[static_cast<std::size_t>(child - first)]
               : nullptr;
}

RECT Form::ChildBounds(long child) const {
    if (const WindowlessElement* element = ExposedElement(child)) return element->Bounds();
    const std::optional<DrawnPart> part = PartOf(child);
    return part ? part->bounds : RECT{};
}

long Form::FocusedChild() const {
    const auto exposed = ExposedElements();
    auto it = std::ranges::find(exposed, focusedElement_);
    return it == exposed.end() ? CHILDID_SELF : static_cast<long>(it - exposed.begin()) + 1;
}

AccessibleFacts Form::Facts(long child) const {
    AccessibleFacts facts;
    const WindowlessElement* element = ExposedElement(child);
    if (std::optional<DrawnPart> part = element ? std::nullopt : PartOf(child)) {
        facts.role = part->role;
        facts.state = STATE_SYSTEM_READONLY | (::IsRectEmpty(&part->bounds) ? STATE_SYSTEM_OFFSCREEN : 0);
        facts.name = std::move(part->name);
        facts.value = std::move(part->value);
        return facts;
    }
    if (!element) {
        facts.state = WindowStates(Handle());
        wchar_t text[256] = {};
        ::GetWindowTextW(child == CHILDID_SELF ? Handle() : ChildWindow(child), text, 256);
        facts.name = text;
        if (child != CHILDID_SELF) facts.role = ROLE_SYSTEM_WINDOW;
        return facts;
    }
    facts.role = element->AccessibleRole();
    if (facts.role == ROLE_SYSTEM_LINK) {
        facts.name = element->Text();
        facts.defaultAction = kLinkAction;
        facts.state = STATE_SYSTEM_LINKED;
        if (element->TabStop()) facts.state |= STATE_SYSTEM_FOCUSABLE;
        if (element == focusedElement_ && ::GetFocus() == Handle()) facts.state |= STATE_SYSTEM_FOCUSED;
    } else if (element->AccessibleName().empty()) {
        facts.name = element->Text();
        facts.state = STATE_SYSTEM_READONLY;
    } else {
        facts.name = element->AccessibleName();
        facts.value = element->Text();
        facts.state = STATE_SYSTEM_READONLY;
    }
    return facts;
}

void Form::DoDefaultAction(long child) {
    if (WindowlessElement* element = ExposedElement(child); element && element->AccessibleRole() == ROLE_SYSTEM_LINK)
        element->Click.Raise();
}

void Form::TakeFocus(long child) {
    if (WindowlessElement* element = ExposedElement(child); element && element->TabStop())
        FocusElement(element);
    else if (child == CHILDID_SELF)
        ::SetFocus(Handle());
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
    if (focusedElement_ && ::GetFocus() == Handle()) {
        const RECT frame = FocusFrame(*focusedElement_);
        ::SetTextColor(dc, RGB(0, 0, 0));
        ::SetBkColor(dc, RGB(255, 255, 255));
        ::DrawFocusRect(dc, &frame);
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
    if (LRESULT answer = 0; AnswerAccessibility(Handle(), *this, message, wParam, lParam, answer)) return answer;
    switch (message) {
    case WM_CANCELMODE:  // also the first word of being disabled, while the focus is still here
        RememberFocus();
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            RememberFocus();
        } else if (!HIWORD(wParam)) {
            RestoreFocus();
            return 0;
        }
        break;
    case WM_SETFOCUS:
        lastFocus_ = Handle();
        InvalidateFocus();
        break;
    case WM_KILLFOCUS:
        InvalidateFocus();
        // The focus moved to a control of the form: no element keeps it.
        if (HWND to = reinterpret_cast<HWND>(wParam); to && ::IsChild(Handle(), to)) focusedElement_ = nullptr;
        break;
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
