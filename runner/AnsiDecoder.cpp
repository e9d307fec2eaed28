#include "runner/AnsiDecoder.h"

namespace runner {

std::wstring DecodeBytes(std::string_view bytes, UINT codePage) {
    if (bytes.empty()) return {};
    int size = static_cast<int>(bytes.size());
    int length = ::MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, bytes.data(), size, text.data(), length);
    return text;
}

AnsiDecoder::AnsiDecoder(UINT codePage) : codePage_(codePage) {
    CPINFO info{};
    multiByte_ = ::GetCPInfo(codePage, &info) && info.MaxCharSize > 1;
}

std::size_t AnsiDecoder::CompleteLength(std::string_view bytes) const {
    if (!multiByte_) return bytes.size();
    if (codePage_ == CP_UTF8) {
        // Step back over continuation bytes to the last lead byte and see whether its sequence is whole.
        std::size_t i = bytes.size();
        std::size_t continuation = 0;
        while (i > 0 && continuation < 3 && (static_cast<unsigned char>(bytes[i - 1]) & 0xC0) == 0x80) {
            --i;
            ++continuation;
        }
        if (i == 0) return bytes.size();
        auto lead = static_cast<unsigned char>(bytes[i - 1]);
        std::size_t needed = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        return needed > continuation ? i - 1 : bytes.size();
    }
    // Double-byte code pages: walk from the start, since a trail byte can look like a lead byte.
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (::IsDBCSLeadByteEx(codePage_, static_cast<BYTE>(bytes[i]))) {
            if (i + 1 == bytes.size()) return i;
            i += 2;
        } else {
            ++i;
        }
    }
    return bytes.size();
}

std::wstring AnsiDecoder::Decode(std::string_view bytes) {
    pending_.append(bytes);
    std::size_t complete = CompleteLength(pending_);
    std::wstring text = DecodeBytes(std::string_view(pending_).substr(0, complete), codePage_);
    pending_.erase(0, complete);
    return text;
}

std::wstring AnsiDecoder::Flush() {
    std::wstring text = DecodeBytes(pending_, codePage_);
    pending_.clear();
    return text;
}

}  // namespace runner
