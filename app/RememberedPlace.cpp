#include "app/RememberedPlace.h"

#include <utility>

namespace app {

RememberedPlace::RememberedPlace(UserSettings settings, std::wstring name)
    : settings_(std::move(settings)), name_(std::move(name)) {}

std::optional<RECT> RememberedPlace::Load() const {
    const auto left = settings_.Number(ValueName(L"Left").c_str());
    const auto top = settings_.Number(ValueName(L"Top").c_str());
    const auto width = settings_.Number(ValueName(L"Width").c_str());
    const auto height = settings_.Number(ValueName(L"Height").c_str());
    if (!left || !top || !width || !height) return std::nullopt;
    if (*width < ::GetSystemMetrics(SM_CXMIN) || *height < ::GetSystemMetrics(SM_CYMIN)) return std::nullopt;
    // A monitor taken away since leaves the window where no one could reach it.
    const RECT titleBar{*left, *top, *left + *width, *top + ::GetSystemMetrics(SM_CYCAPTION)};
    if (!::MonitorFromRect(&titleBar, MONITOR_DEFAULTTONULL)) return std::nullopt;
    return RECT{*left, *top, *left + *width, *top + *height};
}

void RememberedPlace::Save(const RECT& place) const {
    settings_.SetNumber(ValueName(L"Left").c_str(), place.left);
    settings_.SetNumber(ValueName(L"Top").c_str(), place.top);
    settings_.SetNumber(ValueName(L"Width").c_str(), place.right - place.left);
    settings_.SetNumber(ValueName(L"Height").c_str(), place.bottom - place.top);
}

}  // namespace app
