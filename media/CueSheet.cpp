#include "media/CueSheet.h"

#include <windows.h>

#include <cstdio>
#include <cwctype>
#include <optional>

namespace media {

namespace {

// UTF-16 as its byte order mark says (a last odd byte is no character).
std::wstring DecodeUtf16(std::span<const std::uint8_t> bytes, bool bigEndian) {
    std::wstring text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<wchar_t>(bigEndian ? bytes[i] << 8 | bytes[i + 1] : bytes[i + 1] << 8 | bytes[i]));
    return text;
}

std::wstring Decode(std::span<const std::uint8_t> bytes) {
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) return DecodeUtf16(bytes.subspan(2), false);
    if (bytes.size() >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) return DecodeUtf16(bytes.subspan(2), true);
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) bytes = bytes.subspan(3);
    if (bytes.empty()) return {};
    const auto* text = reinterpret_cast<const char*>(bytes.data());
    const int size = static_cast<int>(bytes.size());
    // Text that is not valid UTF-8 is taken to be in the ANSI code page.
    UINT codePage = CP_UTF8;
    int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, size, nullptr, 0);
    if (length == 0) {
        codePage = CP_ACP;
        length = ::MultiByteToWideChar(CP_ACP, 0, text, size, nullptr, 0);
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, text, size, wide.data(), length);
    return wide;
}

// The words of a line: runs of non-blanks, or quoted text.
std::vector<std::wstring> Words(const std::wstring& line, int number) {
    std::vector<std::wstring> words;
    std::size_t i = 0;
    while (i < line.size()) {
        if (std::iswspace(line[i])) {
            ++i;
        } else if (line[i] == L'"') {
            const std::size_t close = line.find(L'"', i + 1);
            if (close == std::wstring::npos) throw CueSheetError(number, L"a quotation mark is not closed");
            words.push_back(line.substr(i + 1, close - i - 1));
            i = close + 1;
        } else {
            std::size_t end = i;
            while (end < line.size() && !std::iswspace(line[end])) ++end;
            words.push_back(line.substr(i, end - i));
            i = end;
        }
    }
    return words;
}

std::wstring Upper(std::wstring word) {
    for (wchar_t& c : word) c = static_cast<wchar_t>(std::towupper(c));
    return word;
}

std::optional<std::uint64_t> Number(const std::wstring& text) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    std::uint64_t value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - L'0');
    }
    return value;
}

std::optional<std::uint64_t> ParseTime(const std::wstring& text) {
    const std::size_t first = text.find(L':');
    const std::size_t second = first == std::wstring::npos ? first : text.find(L':', first + 1);
    if (second == std::wstring::npos) return std::nullopt;
    const auto minutes = Number(text.substr(0, first));
    const auto seconds = Number(text.substr(first + 1, second - first - 1));
    const auto frames = Number(text.substr(second + 1));
    if (!minutes || !seconds || !frames || *seconds >= 60 || *frames >= kCueFramesPerSecond) return std::nullopt;
    return (*minutes * 60 + *seconds) * kCueFramesPerSecond + *frames;
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), size, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

// A quoted value; a quotation mark inside cannot be written and becomes an apostrophe.
std::string Quoted(std::wstring text) {
    for (wchar_t& c : text)
        if (c == L'"') c = L'\'';
    std::string quoted(1, '"');
    quoted.append(Utf8(text)).push_back('"');
    return quoted;
}

}  // namespace

std::wstring CueTime(std::uint64_t frames) {
    wchar_t text[32];
    std::swprintf(text, 32, L"%02llu:%02llu:%02llu", static_cast<unsigned long long>(frames / (60 * kCueFramesPerSecond)),
                  static_cast<unsigned long long>(frames / kCueFramesPerSecond % 60),
                  static_cast<unsigned long long>(frames % kCueFramesPerSecond));
    return text;
}

CueSheet ReadCueSheet(std::span<const std::uint8_t> bytes) {
    const std::wstring text = Decode(bytes);
    CueSheet sheet;
    int number = 0;
    int trackLine = 0;
    int fileLine = 0;
    bool trackHasStart = true;
    auto closeTrack = [&] {
        if (!trackHasStart) throw CueSheetError(trackLine, L"the track has no INDEX 01");
    };
    // Lines end at CR, LF or CRLF, each counted as an editor counts them.
    for (std::size_t at = 0; at <= text.size();) {
        std::size_t end = text.find_first_of(L"\r\n", at);
        if (end == std::wstring::npos) end = text.size();
        const std::wstring line = text.substr(at, end - at);
        at = end + (text.compare(end, 2, L"\r\n") == 0 ? 2 : 1);
        ++number;
        // The command first: a line this reader passes over (REM above all) may hold anything.
        std::size_t first = 0;
        while (first < line.size() && std::iswspace(line[first])) ++first;
        std::size_t after = first;
        while (after < line.size() && !std::iswspace(line[after])) ++after;
        const std::wstring command = Upper(line.substr(first, after - first));
        if (command != L"TRACK" && command != L"INDEX" && command != L"TITLE" && command != L"PERFORMER" &&
            command != L"FILE")
            continue;
        const std::vector<std::wstring> words = Words(line.substr(after), number);
        if (command == L"TRACK") {
            closeTrack();
            if (words.empty() || !Number(words[0])) throw CueSheetError(number, L"TRACK needs a track number");
            sheet.tracks.emplace_back();
            trackLine = number;
            trackHasStart = false;
        } else if (command == L"INDEX") {
            if (words.size() < 2 || !Number(words[0])) throw CueSheetError(number, L"INDEX needs a number and a time");
            const auto time = ParseTime(words[1]);
            if (!time) throw CueSheetError(number, L"the time \"" + words[1] + L"\" is not minutes:seconds:frames");
            if (sheet.tracks.empty()) throw CueSheetError(number, L"INDEX comes before any TRACK");
            if (*Number(words[0]) != 1) continue;
            if (sheet.tracks.size() > 1 && *time <= sheet.tracks[sheet.tracks.size() - 2].start)
                throw CueSheetError(number, L"the track starts before the one ahead of it");
            sheet.tracks.back().start = *time;
            trackHasStart = true;
        } else if (command == L"TITLE" || command == L"PERFORMER") {
            if (words.empty()) throw CueSheetError(number, command + L" needs a value");
            std::wstring& field = sheet.tracks.empty() ? (command == L"TITLE" ? sheet.title : sheet.performer)
                                                       : (command == L"TITLE" ? sheet.tracks.back().title
                                                                              : sheet.tracks.back().performer);
            field = words[0];
        } else {
            if (words.empty()) throw CueSheetError(number, L"FILE needs a file name");
            if (fileLine)
                throw CueSheetError(number, L"the sheet names a second file (the first on line " +
                                                std::to_wstring(fileLine) + L"), and only a sheet of one file can be used");
            sheet.file = words[0];
            fileLine = number;
        }
    }
    closeTrack();
    if (sheet.tracks.empty()) throw CueSheetError(number, L"the sheet has no TRACK");
    return sheet;
}

std::string WriteCueSheet(const CueSheet& sheet) {
    std::string text = "\xEF\xBB\xBF";
    if (!sheet.performer.empty()) text += "PERFORMER " + Quoted(sheet.performer) + "\r\n";
    if (!sheet.title.empty()) text += "TITLE " + Quoted(sheet.title) + "\r\n";
    text += "FILE " + Quoted(sheet.file) + " MP3\r\n";
    for (std::size_t k = 0; k < sheet.tracks.size(); ++k) {
        const CueTrack& track = sheet.tracks[k];
        char number[16];
        std::snprintf(number, sizeof number, "%02zu", k + 1);
        text += std::string("  TRACK ") + number + " AUDIO\r\n";
        if (!track.title.empty()) text += "    TITLE " + Quoted(track.title) + "\r\n";
        if (!track.performer.empty()) text += "    PERFORMER " + Quoted(track.performer) + "\r\n";
        text += "    INDEX 01 " + Utf8(CueTime(track.start)) + "\r\n";
    }
    return text;
}

}  // namespace media
