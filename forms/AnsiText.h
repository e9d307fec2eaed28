#pragma once
// Text for the platform's ANSI calls and messages, in the system's ANSI code page.
#include <string>
#include <string_view>

namespace forms {

std::string ToAnsi(std::wstring_view text);

}  // namespace forms
