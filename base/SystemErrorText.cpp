#include "base/SystemErrorText.h"

#include <memory>

namespace base {

std::wstring SystemErrorText(DWORD code) {
    wchar_t* text = nullptr;
    DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    // Freed also when copying it fails.
    const std::unique_ptr<wchar_t, decltype(&::LocalFree)> owner(text, ::LocalFree);
    std::wstring result;
    if (length != 0 && text != nullptr) result.assign(text, length);
    while (!result.empty() && (result.back() == L'\n' || result.back() == L'\r' || result.back() == L' '))
        result.pop_back();
    if (result.empty()) result = L"Windows reported error " + std::to_wstring(code) + L".";
    return result;
}

}  // namespace base
