#include "MediaFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/Handles.h"
#include "media/MediaFile.h"
#include "media/Mp3Reader.h"
#include "media/Mp3Stream.h"

namespace media_test {

std::wstring Fixture(const std::wstring& name) {
    wchar_t exe[MAX_PATH];
    DWORD length = ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring folder(exe, length);
    folder.resize(folder.find_last_of(L'\\'));
    return folder + L"\\..\\fixtures\\media\\" + name;
}

media::Mp3Index ReadIndex(const std::wstring& path) {
    media::MediaFile file(path);
    return media::Mp3Reader(file).Read();
}

std::vector<std::int16_t> Samples(const std::wstring& path, std::uint64_t first, std::uint64_t count) {
    media::Mp3Stream stream(path);
    const std::size_t channels = static_cast<std::size_t>(stream.Channels());
    std::vector<std::int16_t> pcm(static_cast<std::size_t>(first + count) * channels);
    std::size_t read = 0, n = 0;
    while (read < first + count &&
           (n = stream.Read(pcm.data() + read * channels, static_cast<std::size_t>(first + count - read))))
        read += n;
    pcm.resize(read * channels);
    pcm.erase(pcm.begin(),
              pcm.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(pcm.size(), first * channels)));
    return pcm;
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
