#pragma once
// Building the command line of a program started directly.
#include <string>
#include <string_view>

namespace runner {

// One argument in double quotes, written so that the program's start-up code
// (CommandLineToArgvW and the C runtime's rules) reads back exactly the text:
// backslashes before a quote are doubled and inner quotes escaped.
std::wstring QuoteArgument(std::wstring_view argument);

}  // namespace runner
