#include "forms/PropertyBag.h"

#include <windows.h>

namespace forms {

bool SameName(std::wstring_view a, std::wstring_view b) noexcept {
    return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

bool SameProperty(const PropertyValue& a, const PropertyValue& b) noexcept {
    if (a.index() != b.index()) return false;
    if (auto fa = std::get_if<std::shared_ptr<Font>>(&a)) {
        auto fb = std::get<std::shared_ptr<Font>>(b);
        if (!*fa || !fb) return *fa == fb;
        return (*fa)->SameAs(*fb);
    }
    return a == b;
}

const PropertyValue* PropertyBag::Find(std::wstring_view key) const noexcept {
    for (const auto& entry : entries_)
        if (SameName(entry.first, key)) return &entry.second;
    return nullptr;
}

void PropertyBag::Write(std::wstring_view key, PropertyValue value) {
    for (auto& entry : entries_) {
        if (SameName(entry.first, key)) {
            entry.second = std::move(value);
            return;
        }
    }
    entries_.emplace_back(std::wstring(key), std::move(value));
}

void PropertyBag::Write(std::wstring_view key, PropertyValue value, const PropertyValue& defaultValue) {
    if (SameProperty(value, defaultValue)) {
        std::erase_if(entries_, [&](const auto& entry) { return SameName(entry.first, key); });
        return;
    }
    Write(key, std::move(value));
}

std::vector<std::wstring> PropertyBag::Keys() const {
    std::vector<std::wstring> keys;
    for (const auto& entry : entries_) keys.push_back(entry.first);
    return keys;
}

}  // namespace forms
