#pragma once
// The few things the program remembers for the user between runs (a window's place,
// a menu's check marks), kept as numbers under the user's own registry key.
#include <optional>
#include <string>
#include <utility>

namespace app {

class UserSettings {
public:
    // The program's key under HKEY_CURRENT_USER; tests name a key of their own.
    static constexpr const wchar_t* kProgramKey = L"Software\\Snipmill";

    explicit UserSettings(std::wstring key = kProgramKey) : key_(std::move(key)) {}

    // The number stored under the name, or nothing where none is (or it is not a number).
    std::optional<int> Number(const wchar_t* name) const;
    int Number(const wchar_t* name, int fallback) const { return Number(name).value_or(fallback); }
    // False where the key cannot be written; the program then simply forgets.
    bool SetNumber(const wchar_t* name, int value) const;
    // Forgets everything stored under the key.
    void Clear() const;

private:
    std::wstring key_;
};

}  // namespace app
