#include "app/OpenRequests.h"

#include <memory>

#include "app/Files.h"
#include "base/Handles.h"

namespace app {

namespace {

struct LocalMemoryRelease {
    void operator()(void* memory) const noexcept { ::LocalFree(memory); }
};

constexpr wchar_t kBlanks[] = L" \t";

// Where the program's name ends, by the rule the platform's parser uses for
// it: a quoted name runs to the next quote, any other to the first blank.
std::size_t AfterProgramName(const std::wstring& line) {
    std::size_t end = line.starts_with(L'"') ? line.find(L'"', 1) : line.find_first_of(kBlanks);
    if (end == std::wstring::npos) return line.size();
    return line[end] == L'"' ? end + 1 : end;
}

std::wstring Trimmed(const std::wstring& text) {
    std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace

std::wstring FileFromCommandLine(const std::wstring& commandLine) {
    int count = 0;
    std::unique_ptr<LPWSTR, LocalMemoryRelease> args(::CommandLineToArgvW(commandLine.c_str(), &count));
    if (!args || count < 2 || args.get()[1][0] == L'\0') return {};
    const std::wstring first = args.get()[1];
    const std::wstring rest = Trimmed(commandLine.substr(AfterProgramName(commandLine)));
    const std::wstring& path = !FileExists(first) && !rest.starts_with(L'"') && FileExists(rest) ? rest : first;
    const std::wstring full = FullPath(path);
    return full.empty() ? path : full;
}

std::wstring FirstDroppedFile(HDROP drop) {
    base::UniqueHandle<base::NullHandleTraits<HDROP, &::DragFinish>> owner(drop);
    if (::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) == 0) return {};
    const UINT length = ::DragQueryFileW(drop, 0, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    path.resize(::DragQueryFileW(drop, 0, path.data(), length + 1));
    return path;
}

}  // namespace app
