#pragma once
// The button hands its caption and tooltip texts to the platform in the
// system's ANSI code page.
#include <string>
#include <string_view>

namespace controls::themedbutton {

std::string ToAnsi(std::wstring_view text);

}  // namespace controls::themedbutton
