#pragma once
// The host's property store: values saved and restored by name. Keys compare
// without regard to case and keep the order in which they were first written.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "forms/Font.h"
#include "forms/Picture.h"

namespace forms {

using PropertyValue = std::variant<bool, std::int32_t, double, std::wstring, std::shared_ptr<Font>,
                                   std::shared_ptr<Picture>, std::uint8_t, std::int16_t>;

class PropertyBag {
public:
    // The stored value, or the default when the key is missing or holds another type.
    template <typename T>
    T Read(std::wstring_view key, T defaultValue) const {
        const PropertyValue* value = Find(key);
        if (value) {
            if (const T* typed = std::get_if<T>(value)) return *typed;
        }
        return defaultValue;
    }
    std::int32_t Read(std::wstring_view key, int defaultValue) const { return Read<std::int32_t>(key, defaultValue); }
    std::wstring Read(std::wstring_view key, const wchar_t* defaultValue) const {
        return Read<std::wstring>(key, defaultValue);
    }

    // Stores the value; one equal to its default is left out (and any older value removed).
    void Write(std::wstring_view key, PropertyValue value, const PropertyValue& defaultValue);
    void Write(std::wstring_view key, PropertyValue value);

    bool Contains(std::wstring_view key) const noexcept { return Find(key) != nullptr; }
    const PropertyValue* Find(std::wstring_view key) const noexcept;
    std::vector<std::wstring> Keys() const;
    void Clear() noexcept { entries_.clear(); }

private:
    std::vector<std::pair<std::wstring, PropertyValue>> entries_;
};

// A whole number kept as the store's 32-bit integer, left out when it equals the default.
inline void WriteInt(PropertyBag& bag, std::wstring_view key, int value, int defaultValue) {
    bag.Write(key, std::int32_t{value}, std::int32_t{defaultValue});
}

bool SameProperty(const PropertyValue& a, const PropertyValue& b) noexcept;

// Property names, stored or ambient, compare without regard to case.
bool SameName(std::wstring_view a, std::wstring_view b) noexcept;

}  // namespace forms
