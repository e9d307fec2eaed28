#include "app/UserSettings.h"

#include <windows.h>

#include "base/Handles.h"

namespace app {
namespace {

using RegistryKey = base::UniqueHandle<base::NullHandleTraits<HKEY, &::RegCloseKey>>;

}  // namespace

std::optional<int> UserSettings::Number(const wchar_t* name) const {
    DWORD value = 0;
    DWORD size = sizeof value;
    DWORD type = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, key_.c_str(), name, RRF_RT_REG_DWORD, &type, &value, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return static_cast<int>(value);
}

bool UserSettings::SetNumber(const wchar_t* name, int value) const {
    HKEY opened = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened,
                          nullptr) != ERROR_SUCCESS)
        return false;
    RegistryKey key(opened);
    const DWORD stored = static_cast<DWORD>(value);
    return ::RegSetValueExW(key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&stored),
                            sizeof stored) == ERROR_SUCCESS;
}

void UserSettings::Clear() const { ::RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str()); }

}  // namespace app
