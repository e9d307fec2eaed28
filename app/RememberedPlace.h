#pragma once
// A window's place and size as the user last left it, kept for the next start.
#include <windows.h>

#include <optional>
#include <string>

#include "app/UserSettings.h"

namespace app {

class RememberedPlace {
public:
    // The place is kept under `name` ("Waveform" gives WaveformLeft, WaveformTop, ...).
    RememberedPlace(UserSettings settings, std::wstring name);

    // The kept place, if one is kept and its title bar lies on a monitor today.
    std::optional<RECT> Load() const;
    void Save(const RECT& place) const;

private:
    std::wstring ValueName(const wchar_t* part) const { return name_ + part; }

    UserSettings settings_;
    std::wstring name_;
};

}  // namespace app
