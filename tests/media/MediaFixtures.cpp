#include "MediaFixtures.h"

#include <gtest/gtest.h>

#include "base/Handles.h"

namespace media_test {

std::wstring Fixture(const std::wstring& name) {
    wchar_t exe[MAX_PATH];
    DWORD length = ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring folder(exe, length);
    folder.resize(folder.find_last_of(L'\\'));
    return folder + L"\\..\\fixtures\\media\\" + name;
}

ScratchFile::ScratchFile(const std::wstring& name, const std::vector<std::uint8_t>& bytes) {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    static int counter = 0;
    folder_ = std::wstring(temp) + L"snipmill-media-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
              std::to_wstring(++counter);
    ::CreateDirectoryW(folder_.c_str(), nullptr);
    path_ = folder_ + L"\\" + name;
    base::KernelHandle file(::CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    EXPECT_TRUE(file);
    DWORD written = 0;
    if (file && !bytes.empty())
        ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

ScratchFile::~ScratchFile() {
    ::DeleteFileW(path_.c_str());
    ::RemoveDirectoryW(folder_.c_str());
}

}  // namespace media_test
