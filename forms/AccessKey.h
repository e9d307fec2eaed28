#pragma once
// The access key a caption gives its button: the character after the first
// single "&", in lower case; "&&" stands for a literal ampersand.
#include <optional>
#include <string_view>

namespace forms {

std::optional<wchar_t> AccessKeyOf(std::wstring_view caption);

}  // namespace forms
