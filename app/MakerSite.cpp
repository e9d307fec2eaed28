#include "app/MakerSite.h"

#ifndef SNIPMILL_MAKER_HOST
#error "SNIPMILL_MAKER_HOST names the maker's web host; the build sets it (CMake cache variable of that name)."
#endif

namespace app {

std::wstring MakerHost() { return L"" SNIPMILL_MAKER_HOST; }

std::wstring MakerAddress(std::wstring_view pathAndQuery) {
    return L"http://" + MakerHost() + std::wstring(pathAndQuery);
}

}  // namespace app
