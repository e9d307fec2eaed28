#include "UserFiles.h"

#include <windows.h>

#include "support/WindowTesting.h"

namespace app_tests {

namespace {
// The "\\?\" form takes any length, for folders too.
std::wstring Extended(const std::wstring& path) { return L"\\\\?\\" + path; }
}  // namespace

std::wstring LongName() {
    std::wstring name;
    for (int level = 1; level <= 5; ++level)
        name += L"a folder name long enough that five of them pass the limit " + std::to_wstring(level) + L"\\";
    return name + L"long path.mp3";
}

std::wstring CopyOfFixture(const std::wstring& fixture, const std::wstring& relative) {
    const std::wstring path = testing_support::ArtifactPath(L"user-files\\" + relative);
    for (std::size_t separator = path.find(L'\\', 3); separator != std::wstring::npos;
         separator = path.find(L'\\', separator + 1))
        ::CreateDirectoryW(Extended(path.substr(0, separator)).c_str(), nullptr);
    ::CopyFileW(testing_support::FixturePath(L"media\\" + fixture).c_str(), Extended(path).c_str(), FALSE);
    return path;
}

}  // namespace app_tests
