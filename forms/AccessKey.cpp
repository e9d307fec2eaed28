#include "forms/AccessKey.h"

#include <windows.h>

namespace forms {

namespace {
wchar_t LowerCase(wchar_t c) {
    wchar_t buffer[1] = {c};
    ::CharLowerBuffW(buffer, 1);
    return buffer[0];
}
}  // namespace

std::optional<wchar_t> AccessKeyOf(std::wstring_view caption) {
    if (caption.size() <= 1) return std::nullopt;
    std::size_t amp = caption.find(L'&');
    if (amp == std::wstring_view::npos || amp + 1 >= caption.size()) return std::nullopt;
    if (caption[amp + 1] != L'&') return LowerCase(caption[amp + 1]);
    // A literal ampersand: only the next "&" after the pair can mark the key.
    amp = caption.find(L'&', amp + 2);
    if (amp == std::wstring_view::npos || amp + 1 >= caption.size() || caption[amp + 1] == L'&') return std::nullopt;
    return LowerCase(caption[amp + 1]);
}

}  // namespace forms
