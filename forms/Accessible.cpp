#include "forms/Accessible.h"

#include <commctrl.h>

#include <utility>

#include "forms/Focus.h"

namespace forms {

namespace {

constexpr wchar_t kSourceProperty[] = L"Snipmill.AccessibleSource";

// The source's pointer goes once the window has handled WM_NCDESTROY, however it goes: also where
// the window's own procedure no longer hears the message (an owner object that unbound itself first).
LRESULT CALLBACK ForgetSourceAtDestroy(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR) noexcept {
    const LRESULT result = ::DefSubclassProc(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::RemovePropW(window, kSourceProperty);
        ::RemoveWindowSubclass(window, ForgetSourceAtDestroy, id);
    }
    return result;
}

UINT DefaultActionMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"Snipmill.AccessibleDefaultAction");
    return message;
}

HRESULT Text(const std::wstring& text, BSTR* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (text.empty()) return S_FALSE;
    *out = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

void Empty(VARIANT* out) {
    ::VariantInit(out);
    out->vt = VT_EMPTY;
}

void Number(VARIANT* out, long value) {
    ::VariantInit(out);
    out->vt = VT_I4;
    out->lVal = value;
}

HRESULT WindowObject(HWND window, VARIANT* out) {
    IDispatch* object = nullptr;
    HRESULT hr = ::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_WINDOW), __uuidof(IDispatch),
                                              reinterpret_cast<void**>(&object));
    if (FAILED(hr)) return hr;
    ::VariantInit(out);
    out->vt = VT_DISPATCH;
    out->pdispVal = object;
    return S_OK;
}

// A window's client object: the facts come from the window's source, found by
// the window's handle on every call, so an object a screen reader keeps after
// the window is gone only answers that it is gone. Location, parent and
// navigation out of the window come from the platform's standard object.
class AccessibleObject final : public IAccessible, public IOleWindow {
public:
    explicit AccessibleObject(HWND window) : window_(window) {
        ::CreateStdAccessibleObject(window, static_cast<LONG>(OBJID_CLIENT), __uuidof(IAccessible),
                                    reinterpret_cast<void**>(&standard_));
    }
    AccessibleObject(const AccessibleObject&) = delete;
    AccessibleObject& operator=(const AccessibleObject&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible))
            *out = static_cast<IAccessible*>(this);
        else if (iid == __uuidof(IOleWindow))
            *out = static_cast<IOleWindow*>(this);
        else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = ::InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // IDispatch: screen readers call through the interface itself.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // IOleWindow
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        if (!window) return E_POINTER;
        *window = window_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!parent) return E_POINTER;
        *parent = nullptr;
        if (!Source()) return RPC_E_DISCONNECTED;
        return standard_ ? standard_->get_accParent(parent) : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (!count) return E_POINTER;
        const AccessibleSource* source = Source();
        if (!source) return RPC_E_DISCONNECTED;
        *count = source->ChildCount();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        long id = 0;
        if (HRESULT hr = Check(child, id); hr != S_OK) return hr;
        if (id == CHILDID_SELF) return E_INVALIDARG;
        HWND window = Source()->ChildWindow(id);
        if (!window) return S_FALSE;  // a simple child: asked about through this object
        return ::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_WINDOW), __uuidof(IDispatch),
                                            reinterpret_cast<void**>(out));
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override {
        return FactText(child, out, &AccessibleFacts::name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) override {
        return FactText(child, out, &AccessibleFacts::value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override {
        return FactText(child, out, &AccessibleFacts::description);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) override {
        return FactNumber(child, out, &AccessibleFacts::role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) override {
        return FactNumber(child, out, &AccessibleFacts::state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* out) override { return Text({}, out); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        if (file) *file = nullptr;
        if (topic) *topic = 0;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
        return FactText(child, out, &AccessibleFacts::keyboardShortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override {
        if (!out) return E_POINTER;
        Empty(out);
        const AccessibleSource* source = Source();
        if (!source) return RPC_E_DISCONNECTED;
        HWND focus = ::GetFocus();
        if (focus == window_) {
            Number(out, source->FocusedChild());
            return S_OK;
        }
        if (!focus || !::IsChild(window_, focus)) return S_FALSE;
        while (::GetParent(focus) != window_) focus = ::GetParent(focus);
        return WindowObject(focus, out);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override {
        if (!out) return E_POINTER;
        Empty(out);
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override {
        return FactText(child, out, &AccessibleFacts::defaultAction);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        long id = 0;
        if (HRESULT hr = Check(child, id); hr != S_OK) return hr;
        if (!(flags & SELFLAG_TAKEFOCUS)) return DISP_E_MEMBERNOTFOUND;
        Source()->TakeFocus(id);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
        if (!left || !top || !width || !height) return E_POINTER;
        long id = 0;
        if (HRESULT hr = Check(child, id); hr != S_OK) return hr;
        RECT area{};
        if (HWND window = id == CHILDID_SELF ? nullptr : Source()->ChildWindow(id)) {
            ::GetWindowRect(window, &area);
        } else {
            if (id == CHILDID_SELF)
                ::GetClientRect(window_, &area);
            else
                area = Source()->ChildBounds(id);
            ::MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&area), 2);
        }
        *left = area.left;
        *top = area.top;
        *width = area.right - area.left;
        *height = area.bottom - area.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* out) override {
        if (!out) return E_POINTER;
        Empty(out);
        long id = 0;
        if (HRESULT hr = Check(start, id); hr != S_OK) return hr;
        const long count = Source()->ChildCount();
        long to = 0;
        if (id == CHILDID_SELF) {
            if (direction == NAVDIR_FIRSTCHILD) to = 1;
            else if (direction == NAVDIR_LASTCHILD) to = count;
            else return standard_ ? standard_->accNavigate(direction, start, out) : S_FALSE;
        } else if (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN || direction == NAVDIR_RIGHT) {
            to = id + 1;
        } else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP || direction == NAVDIR_LEFT) {
            to = id - 1;
        }
        if (to < 1 || to > count) return S_FALSE;
        return ChildVariant(to, out);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* out) override {
        if (!out) return E_POINTER;
        Empty(out);
        const AccessibleSource* source = Source();
        if (!source) return RPC_E_DISCONNECTED;
        POINT at{x, y};
        ::ScreenToClient(window_, &at);
        RECT client{};
        ::GetClientRect(window_, &client);
        if (!::PtInRect(&client, at)) return S_FALSE;
        for (long id = 1; id <= source->ChildCount(); ++id) {
            HWND window = source->ChildWindow(id);
            RECT area = source->ChildBounds(id);
            if (window) {
                ::GetWindowRect(window, &area);
                ::MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&area), 2);
            }
            if (::PtInRect(&area, at)) return ChildVariant(id, out);
        }
        Number(out, CHILDID_SELF);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        long id = 0;
        if (HRESULT hr = Check(child, id); hr != S_OK) return hr;
        if (Source()->Facts(id).defaultAction.empty()) return DISP_E_MEMBERNOTFOUND;
        return ::PostMessageW(window_, DefaultActionMessage(), static_cast<WPARAM>(id), 0) ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~AccessibleObject() {
        if (standard_) standard_->Release();
    }

    AccessibleSource* Source() const {
        if (!::IsWindow(window_)) return nullptr;
        return static_cast<AccessibleSource*>(::GetPropW(window_, kSourceProperty));
    }

    // S_OK with the child's number when the object is alive and the child exists.
    HRESULT Check(const VARIANT& child, long& id) const {
        const AccessibleSource* source = Source();
        if (!source) return RPC_E_DISCONNECTED;
        if (child.vt != VT_I4) return E_INVALIDARG;
        id = child.lVal;
        return id >= 0 && id <= source->ChildCount() ? S_OK : E_INVALIDARG;
    }

    HRESULT FactText(const VARIANT& child, BSTR* out, std::wstring AccessibleFacts::*fact) const {
        if (!out) return E_POINTER;
        *out = nullptr;
        long id = 0;
        if (HRESULT hr = Check(child, id); hr != S_OK) return hr;
        return Text(Source()->Facts(id).*fact, out);
    }

    HRESULT FactNumber(const VARIANT& child, VARIANT* out, long AccessibleFacts::*fact) const {
        if (!out) return E_POINTER;
        Empty(out);
        long id = 0;
        if (HRESULT hr = Check(child, id); hr != S_OK) return hr;
        Number(out, Source()->Facts(id).*fact);
        return S_OK;
    }

    HRESULT ChildVariant(long id, VARIANT* out) const {
        if (HWND window = Source()->ChildWindow(id)) return WindowObject(window, out);
        Number(out, id);
        return S_OK;
    }

    LONG references_ = 1;
    HWND window_;
    IAccessible* standard_ = nullptr;
};

}  // namespace

bool AnswerAccessibility(HWND window, AccessibleSource& source, UINT message, WPARAM wParam, LPARAM lParam,
                         LRESULT& result) {
    if (message == DefaultActionMessage()) {
        source.DoDefaultAction(static_cast<long>(wParam));
        result = 0;
        return true;
    }
    if (message != WM_GETOBJECT || static_cast<LONG>(lParam) != static_cast<LONG>(OBJID_CLIENT)) return false;
    ::SetPropW(window, kSourceProperty, &source);
    ::SetWindowSubclass(window, ForgetSourceAtDestroy, 0, 0);
    auto* object = new AccessibleObject(window);
    result = ::LresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(object));
    object->Release();
    return true;
}

long WindowStates(HWND window) {
    long state = 0;
    if (!::IsWindowVisible(window)) state |= STATE_SYSTEM_INVISIBLE;
    if (OutOfView(window)) state |= STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN;
    if (!::IsWindowEnabled(window))
        state |= STATE_SYSTEM_UNAVAILABLE;
    else if (!(state & STATE_SYSTEM_INVISIBLE))
        state |= STATE_SYSTEM_FOCUSABLE;
    if (::GetFocus() == window) state |= STATE_SYSTEM_FOCUSED;
    return state;
}

std::wstring WithoutAccessMarks(const std::wstring& caption) {
    std::wstring text;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == L'&' && i + 1 < caption.size()) ++i;
        text += caption[i];
    }
    return text;
}

void Announce(HWND window, DWORD event, long child) {
    if (window) ::NotifyWinEvent(event, window, OBJID_CLIENT, child);
}

AccessibleFacts ButtonFacts(AccessibleFacts facts, long role, const std::wstring& caption, const std::wstring& toolTip,
                            bool checked, bool pressed) {
    facts.role = role;
    facts.name = WithoutAccessMarks(caption);
    facts.description = toolTip;
    facts.defaultAction = kPressAction;
    if (checked)
        facts.state |= STATE_SYSTEM_CHECKED;
    else if (pressed)
        facts.state |= STATE_SYSTEM_PRESSED;
    return facts;
}

}  // namespace forms
