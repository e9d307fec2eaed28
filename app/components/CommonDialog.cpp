#include "app/components/CommonDialog.h"

#include <commdlg.h>

#include <vector>

namespace app {

namespace {
// Room for long (\\?\) paths.
constexpr DWORD kPathCapacity = 32768;
}  // namespace

std::wstring CommonDialog::PlatformFilter(const std::wstring& filter) {
    std::wstring result = filter;
    for (wchar_t& c : result)
        if (c == L'|') c = L'\0';
    result.push_back(L'\0');
    result.push_back(L'\0');
    return result;
}

std::wstring CommonDialog::TitleOf(const std::wstring& path) {
    std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool CommonDialog::ShowOpen() { return Show(false); }

bool CommonDialog::ShowSave() { return Show(true); }

bool CommonDialog::Show(bool save) {
    std::vector<wchar_t> buffer(kPathCapacity, L'\0');
    fileName_.copy(buffer.data(), kPathCapacity - 1);
    std::wstring filter = PlatformFilter(filter_);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner_;
    ofn.lpstrFilter = filter_.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = kPathCapacity;
    ofn.lpstrDefExt = defaultExt_.empty() ? nullptr : defaultExt_.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    ofn.lpstrTitle = title_.empty() ? nullptr : title_.c_str();
    if (save && overwritePrompt_) ofn.Flags |= OFN_OVERWRITEPROMPT;
    if (!save) ofn.Flags |= OFN_FILEMUSTEXIST;
    BOOL chosen = save ? ::GetSaveFileNameW(&ofn) : ::GetOpenFileNameW(&ofn);
    fileName_ = chosen ? std::wstring(buffer.data()) : std::wstring();
    return chosen != FALSE;
}

}  // namespace app
