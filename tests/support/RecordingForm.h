#pragma once
// A shown form for the controls' tests under Xvfb: it records what its controls
// report and answers their ambient questions as the test sets them.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "forms/Form.h"

namespace testing_support {

class RecordingForm : public forms::Form {
public:
    RecordingForm(const wchar_t* className, const wchar_t* caption, int width, int height, int left, int top);

    forms::AmbientProperties Ambient(const forms::Control& control) const override;
    void PropertyChanged(forms::Control&, std::wstring_view name) override { changes.emplace_back(name); }
    void ControlEvent(forms::Control&, int eventId) override { events.push_back(eventId); }

    // Back to a running form with no default button and nothing recorded.
    void ClearRecords();

    bool userMode = true;
    const forms::Control* defaultButton = nullptr;
    std::vector<std::wstring> changes;  // names of the properties the controls changed
    std::vector<int> events;            // identifiers of the events the controls raised
};

}  // namespace testing_support
