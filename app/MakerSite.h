#pragma once
// The maker's web site, which the main window names and links to. Its host is
// a build setting (the CMake cache variable SNIPMILL_MAKER_HOST).
#include <string>
#include <string_view>

namespace app {

// "www.snipmill.example" unless the build sets another.
std::wstring MakerHost();

// The site's address for a path and query ("" for the root), on the plain web scheme.
std::wstring MakerAddress(std::wstring_view pathAndQuery = {});

}  // namespace app
