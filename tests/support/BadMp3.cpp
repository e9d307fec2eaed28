#include "support/BadMp3.h"

#include <winioctl.h>

#include <gtest/gtest.h>

#include "base/Handles.h"

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
    if (mp3.size() < 10 || mp3[0] != 'I' || mp3[1] != 'D' || mp3[2] != '3') return 0;
    const std::size_t body =
        (std::size_t{mp3[6]} << 21) | (std::size_t{mp3[7]} << 14) | (std::size_t{mp3[8]} << 7) | std::size_t{mp3[9]};
    const bool footer = (mp3[5] & 0x10) != 0;
    return 10 + body + (footer ? 10 : 0);
}

std::vector<std::size_t> FrameStarts(const Bytes& mp3) {
    // Layer III only, as every fixture is. Kilobits per second by bitrate index.
    static constexpr int kMpeg1Rates[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    static constexpr int kMpeg2Rates[] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
    static constexpr int kMpeg1SampleRates[] = {44100, 48000, 32000};
    std::vector<std::size_t> starts;
    std::size_t pos = LeadingTagSize(mp3);
    while (pos + 4 <= mp3.size()) {
        const std::uint8_t* header = mp3.data() + pos;
        const int version = (header[1] >> 3) & 3;  // 3: MPEG-1, 2: MPEG-2, 0: MPEG-2.5
        const int bitrateIndex = header[2] >> 4;
        const int rateIndex = (header[2] >> 2) & 3;
        if (header[0] != 0xFF || (header[1] & 0xE0) != 0xE0 || version == 1 || ((header[1] >> 1) & 3) != 1 ||
            bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3)
            break;
        const bool mpeg1 = version == 3;
        const int sampleRate = kMpeg1SampleRates[rateIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
        const int bitrate = (mpeg1 ? kMpeg1Rates : kMpeg2Rates)[bitrateIndex] * 1000;
        starts.push_back(pos);
        pos += static_cast<std::size_t>((mpeg1 ? 144 : 72) * bitrate / sampleRate + ((header[2] >> 1) & 1));
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

Bytes WithApeFooterClaiming(const Bytes& mp3, std::uint32_t claimed) {
    auto littleEndian = [](std::uint32_t value) {
        return Bytes{static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                     static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    };
    Bytes out = mp3;
    Append(out, {'A', 'P', 'E', 'T', 'A', 'G', 'E', 'X'});
    Append(out, littleEndian(2000));
    Append(out, littleEndian(claimed + 32));
    Append(out, littleEndian(1));  // items
    Append(out, littleEndian(0));  // flags: no header
    out.resize(out.size() + 8, 0);
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
