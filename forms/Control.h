#pragma once
// A windowed control hosted on a form: it reads the host's ambient properties,
// carries the per-control attributes the host gives it, and tells the host
// when one of its properties changes.
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/Event.h"
#include "forms/Accessible.h"
#include "forms/Colors.h"
#include "forms/Font.h"
#include "forms/Window.h"

namespace forms {

class Control;

struct AmbientProperties {
    bool UserMode = true;  // run mode; false while designing
    std::shared_ptr<Font> Font;
    bool DisplayAsDefault = false;
    OleColor BackColor = SystemColor(COLOR_BTNFACE);
};

class ControlHost {
public:
    virtual ~ControlHost() = default;
    virtual HWND HostWindow() const noexcept = 0;
    virtual AmbientProperties Ambient(const Control& control) const = 0;
    virtual void PropertyChanged(Control&, std::wstring_view /*name*/) {}
    // Every event a control raises, by the identifier the control gives it, for
    // hosts that bind events by number rather than by subscribing to each one.
    virtual void ControlEvent(Control&, int /*eventId*/) {}
    // The control got or lost the keyboard focus.
    virtual void ControlFocusChanged(Control&, bool /*focused*/) {}
};

class Control : public Window, public AccessibleSource {
public:
    const std::wstring& Name() const noexcept { return name_; }
    const std::wstring& ToolTipText() const noexcept { return toolTipText_; }
    void SetToolTipText(std::wstring text) { toolTipText_ = std::move(text); }
    ControlHost* Host() const noexcept { return host_; }

    AmbientProperties Ambient() const;
    // The host tells the control that an ambient property changed ("DisplayAsDefault", ...).
    virtual void AmbientChanged(std::wstring_view /*name*/) {}

    // A message the parent received about this control (WM_COMMAND, WM_CTLCOLOR*, ...).
    virtual bool OnReflectedMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

    // The lower-case characters that, pressed with Alt, the form hands to this control.
    const std::wstring& AccessKeys() const noexcept { return accessKeys_; }
    void SetAccessKeys(std::wstring keys) { accessKeys_ = std::move(keys); }
    // The form reports one of the control's access keys (or Enter or Escape when
    // the control is its default or cancel button) with the character typed.
    virtual void OnAccessKey(wchar_t /*character*/) {}

    // A screen reader's view of the control: its window's states, and its window text as its name.
    AccessibleFacts Facts(long child) const override;

protected:
    Control(ControlHost* host, std::wstring name) : host_(host), name_(std::move(name)) {}
    void PropertyChanged(std::wstring_view property);
    // Tells the host; called by a control on WM_SETFOCUS and WM_KILLFOCUS.
    void FocusChanged(bool focused);
    // WM_GETOBJECT and the accessible object's deferred actions, for HandleMessage.
    bool AnswerAccessibility(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        return forms::AnswerAccessibility(Handle(), *this, message, wParam, lParam, result);
    }
    // Raises one of the control's events to its subscribers, then names it to the host.
    template <typename... EventArgs, typename... Args>
    void RaiseEvent(const base::Event<EventArgs...>& event, int eventId, Args&&... args) {
        event.Raise(std::forward<Args>(args)...);
        if (host_) host_->ControlEvent(*this, eventId);
    }

private:
    ControlHost* host_;
    std::wstring name_;
    std::wstring toolTipText_;
    std::wstring accessKeys_;
};

// The controls of ours among the descendants of a window (a form and its containers).
std::vector<Control*> ControlsOf(HWND root);

// The enabled, visible control under root whose access keys hold the character, if any.
Control* ControlWithAccessKey(HWND root, wchar_t character);

}  // namespace forms
