#include "support/BadMp3.h"

#include <winioctl.h>

#include <gtest/gtest.h>

#include "base/Handles.h"
#include "media/FrameHeader.h"
#include "media/Id3v2Tag.h"

namespace testing_support {

namespace {

void Append(Bytes& to, const Bytes& bytes) { to.insert(to.end(), bytes.begin(), bytes.end()); }

Bytes BigEndian(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
            static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
}

}  // namespace

Bytes ReadFileBytes(const std::wstring& path) {
    base::KernelHandle file(
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(file) << "cannot open a test file";
    if (!file) return {};
    LARGE_INTEGER size{};
    ::GetFileSizeEx(file.Get(), &size);
    Bytes bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty()) ::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    return bytes;
}

Bytes Id3Header(std::uint32_t size, bool plain) {
    Bytes header = {'I', 'D', '3', 3, 0, 0};
    Append(header,
           plain ? BigEndian(size)
                 : Bytes{static_cast<std::uint8_t>((size >> 21) & 0x7F), static_cast<std::uint8_t>((size >> 14) & 0x7F),
                         static_cast<std::uint8_t>((size >> 7) & 0x7F), static_cast<std::uint8_t>(size & 0x7F)});
    return header;
}

std::size_t LeadingTagSize(const Bytes& mp3) {
    auto tag = mp3.size() >= media::Id3v2Tag::kHeaderSize ? media::Id3v2Tag::FromHeader(mp3.data()) : std::nullopt;
    return tag ? static_cast<std::size_t>(tag->TotalSize()) : 0;
}

std::vector<std::size_t> FrameStarts(const Bytes& mp3) {
    std::vector<std::size_t> starts;
    std::size_t pos = LeadingTagSize(mp3);
    while (pos + media::FrameHeader::kSize <= mp3.size()) {
        auto header = media::FrameHeader::Parse(mp3.data() + pos);
        if (!header) break;
        starts.push_back(pos);
        pos += static_cast<std::size_t>(header->frameSize);
    }
    return starts;
}

Bytes EveryOtherHeaderDamaged(const Bytes& mp3) {
    Bytes damaged = mp3;
    std::vector<std::size_t> starts = FrameStarts(mp3);
    for (std::size_t i = 0; i < starts.size(); i += 2)
        std::fill_n(damaged.begin() + static_cast<std::ptrdiff_t>(starts[i]), 4, 0);
    return damaged;
}

Bytes TagBetweenEveryTwoFrames(const Bytes& mp3) {
    std::vector<std::size_t> starts = FrameStarts(mp3);
    Bytes out(mp3.begin(), mp3.begin() + static_cast<std::ptrdiff_t>(starts.front()));
    for (std::size_t i = 0; i < starts.size(); ++i) {
        if (i > 0) Append(out, Id3Header(0));
        std::size_t end = i + 1 < starts.size() ? starts[i + 1] : mp3.size();
        out.insert(out.end(), mp3.begin() + static_cast<std::ptrdiff_t>(starts[i]),
                   mp3.begin() + static_cast<std::ptrdiff_t>(end));
    }
    return out;
}

Bytes BogusTagBefore(const Bytes& mp3, std::size_t frame, std::uint32_t bodySize) {
    std::size_t at = FrameStarts(mp3)[frame];
    Bytes out(mp3.begin(), mp3.begin() + static_cast<std::ptrdiff_t>(at));
    Append(out, Id3Header(bodySize));
    out.insert(out.end(), mp3.begin() + static_cast<std::ptrdiff_t>(at), mp3.end());
    return out;
}

namespace {

Bytes PictureTagBody(std::size_t pictureSize) {
    const Bytes title = {3, 'N', 'o', 'i', 's', 'e'};
    Bytes body = {'T', 'I', 'T', '2'};
    Append(body, BigEndian(static_cast<std::uint32_t>(title.size())));
    Append(body, {0, 0});
    Append(body, title);
    Append(body, {'A', 'P', 'I', 'C'});
    Append(body, BigEndian(static_cast<std::uint32_t>(pictureSize)));
    Append(body, {0, 0});
    Append(body, Noise(pictureSize));
    return body;
}

}  // namespace

std::uint32_t PictureTagBodySize(std::size_t pictureSize) { return static_cast<std::uint32_t>(20 + 6 + pictureSize); }

Bytes AfterPictureTag(const Bytes& mp3, std::size_t pictureSize, std::uint32_t declaredBodySize, bool plain,
                      std::size_t padding) {
    Bytes out = Id3Header(declaredBodySize, plain);
    Append(out, PictureTagBody(pictureSize));
    out.resize(out.size() + padding, 0);
    out.insert(out.end(), mp3.begin() + static_cast<std::ptrdiff_t>(LeadingTagSize(mp3)), mp3.end());
    return out;
}

Bytes Noise(std::size_t count, bool noSync) {
    Bytes noise(count);
    std::uint32_t seed = 12345;
    for (auto& b : noise) {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<std::uint8_t>(seed >> 16);
        if (noSync && b == 0xFF) b = 0x7F;
    }
    return noise;
}

SparseFile::SparseFile(const std::wstring& name, const Bytes& head, std::uint64_t size, const Bytes& tail) {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"snipmill-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + name;
    base::KernelHandle file(::CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    EXPECT_TRUE(file);
    if (!file) return;
    DWORD ignored = 0;
    ::DeviceIoControl(file.Get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
    DWORD written = 0;
    ::WriteFile(file.Get(), head.data(), static_cast<DWORD>(head.size()), &written, nullptr);
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(size - tail.size());
    ::SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN);
    if (!tail.empty()) ::WriteFile(file.Get(), tail.data(), static_cast<DWORD>(tail.size()), &written, nullptr);
    ::SetEndOfFile(file.Get());
}

SparseFile::~SparseFile() { ::DeleteFileW(path_.c_str()); }

}  // namespace testing_support
