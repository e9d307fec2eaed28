#include "media/Id3v2Tag.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace media {

namespace {

constexpr std::uint8_t kUnsynchronised = 0x80;
constexpr std::uint8_t kExtendedHeader = 0x40;
constexpr std::uint8_t kFooter = 0x10;

std::uint32_t Syncsafe(const std::uint8_t* b) noexcept {
    return (std::uint32_t{b[0]} << 21) | (std::uint32_t{b[1]} << 14) | (std::uint32_t{b[2]} << 7) | b[3];
}

bool IsSyncsafe(const std::uint8_t* b) noexcept { return ((b[0] | b[1] | b[2] | b[3]) & 0x80) == 0; }

bool IsFrameIdCharacter(std::uint8_t c) noexcept { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

std::uint32_t BigEndian(const std::uint8_t* b, int count) noexcept {
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) value = (value << 8) | b[i];
    return value;
}

// Unsynchronisation put a zero after every 0xFF; take those out again.
std::vector<std::uint8_t> Resynchronised(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> out;
    out.reserve(size);
    for (std::size_t i = 0; i < size; ++i) {
        out.push_back(data[i]);
        if (data[i] == 0xFF && i + 1 < size && data[i + 1] == 0) ++i;
    }
    return out;
}

std::wstring Utf16(const std::uint8_t* data, std::size_t size, bool bigEndian) {
    std::wstring text;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        wchar_t c = bigEndian ? static_cast<wchar_t>((data[i] << 8) | data[i + 1])
                              : static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
        if (c == 0) break;
        text.push_back(c);
    }
    return text;
}

// A text frame's first string, in any of the four encodings ID3v2 allows.
std::wstring TextFrame(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return {};
    std::uint8_t encoding = data[0];
    ++data;
    --size;
    std::wstring text;
    switch (encoding) {
    case 0:  // ISO-8859-1 maps one to one onto the first 256 code points.
        for (std::size_t i = 0; i < size && data[i] != 0; ++i) text.push_back(static_cast<wchar_t>(data[i]));
        break;
    case 1:
        if (size >= 2 && data[0] == 0xFE && data[1] == 0xFF) {
            text = Utf16(data + 2, size - 2, true);
        } else if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
            text = Utf16(data + 2, size - 2, false);
        } else {
            text = Utf16(data, size, false);
        }
        break;
    case 2:
        text = Utf16(data, size, true);
        break;
    case 3: {
        std::size_t length = 0;
        while (length < size && data[length] != 0) ++length;
        if (length == 0) break;
        int count = ::MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(data), static_cast<int>(length),
                                          nullptr, 0);
        text.resize(static_cast<std::size_t>(count));
        ::MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(data), static_cast<int>(length), text.data(),
                              count);
        break;
    }
    default:
        break;
    }
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t')) text.pop_back();
    std::size_t first = text.find_first_not_of(L" \t");
    return first == std::wstring::npos ? std::wstring() : text.substr(first);
}

}  // namespace

std::optional<Id3v2Tag> Id3v2Tag::FromHeader(const std::uint8_t* bytes) noexcept {
    if (bytes[0] != 'I' || bytes[1] != 'D' || bytes[2] != '3') return std::nullopt;
    if (bytes[3] == 0xFF || bytes[4] == 0xFF) return std::nullopt;
    Id3v2Tag tag;
    tag.majorVersion_ = bytes[3];
    tag.flags_ = bytes[5];
    tag.plainBodySize_ = BigEndian(bytes + 6, 4);
    tag.bodySize_ = IsSyncsafe(bytes + 6) ? Syncsafe(bytes + 6) : tag.plainBodySize_;
    return tag;
}

std::uint64_t Id3v2Tag::TotalSize() const noexcept {
    bool footer = majorVersion_ >= 4 && (flags_ & kFooter) != 0;
    return kHeaderSize + std::uint64_t{bodySize_} + (footer ? kHeaderSize : 0);
}

std::uint64_t Id3v2Tag::PlainTotalSize() const noexcept { return TotalSize() - bodySize_ + plainBodySize_; }

std::optional<std::uint64_t> Id3v2Tag::FrameLength(const std::uint8_t* bytes) const noexcept {
    int idLength = majorVersion_ == 2 ? 3 : 4;
    for (int i = 0; i < idLength; ++i) {
        if (!IsFrameIdCharacter(bytes[i])) return std::nullopt;
    }
    std::uint64_t size = majorVersion_ == 2      ? BigEndian(bytes + 3, 3)
                         : majorVersion_ == 3    ? BigEndian(bytes + 4, 4)
                         : IsSyncsafe(bytes + 4) ? Syncsafe(bytes + 4)
                                                 : BigEndian(bytes + 4, 4);
    return FrameHeaderSize() + size;
}

std::wstring Id3v2Tag::Title(const std::uint8_t* tag, std::size_t size) const {
    if (majorVersion_ < 2 || majorVersion_ > 4 || size < kHeaderSize) return {};
    std::size_t bodySize = std::min<std::size_t>(bodySize_, size - kHeaderSize);
    const std::uint8_t* body = tag + kHeaderSize;
    std::vector<std::uint8_t> resynchronised;
    // Before v2.4 unsynchronisation covers the whole body, frame headers included.
    if ((flags_ & kUnsynchronised) && majorVersion_ < 4) {
        resynchronised = Resynchronised(body, bodySize);
        body = resynchronised.data();
        bodySize = resynchronised.size();
    }

    std::size_t pos = 0;
    if ((flags_ & kExtendedHeader) && majorVersion_ >= 3 && bodySize >= 4) {
        pos = majorVersion_ == 3 ? 4 + BigEndian(body, 4) : Syncsafe(body);
    }

    bool v22 = majorVersion_ == 2;
    std::size_t headerSize = v22 ? 6 : 10;
    while (pos + headerSize <= bodySize && body[pos] != 0) {
        const std::uint8_t* frame = body + pos;
        std::size_t frameSize = v22                  ? BigEndian(frame + 3, 3)
                                : majorVersion_ == 4 ? Syncsafe(frame + 4)
                                                     : BigEndian(frame + 4, 4);
        if (frameSize > bodySize - pos - headerSize) break;
        const std::uint8_t* data = frame + headerSize;
        bool isTitle = v22 ? (frame[0] == 'T' && frame[1] == 'T' && frame[2] == '2')
                           : (frame[0] == 'T' && frame[1] == 'I' && frame[2] == 'T' && frame[3] == '2');
        if (isTitle) {
            std::uint8_t format = v22 ? 0 : frame[9];
            bool compressedOrEncrypted = majorVersion_ == 3 ? (format & 0xC0) != 0 : (format & 0x0C) != 0;
            if (compressedOrEncrypted) return {};
            std::size_t dataSize = frameSize;
            if (majorVersion_ == 4 && (format & 0x01) && dataSize >= 4) {  // data length indicator
                data += 4;
                dataSize -= 4;
            }
            if (majorVersion_ == 4 && ((format & 0x02) || (flags_ & kUnsynchronised))) {
                std::vector<std::uint8_t> plain = Resynchronised(data, dataSize);
                return TextFrame(plain.data(), plain.size());
            }
            return TextFrame(data, dataSize);
        }
        pos += headerSize + frameSize;
    }
    return {};
}

}  // namespace media
