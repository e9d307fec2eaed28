#include "media/CueSheet.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <optional>

namespace media {

namespace {

constexpr std::uint64_t kFramesPerSecond = 75;

std::wstring Decode(std::span<const std::uint8_t> bytes, UINT codePage, DWORD flags) {
    if (bytes.empty()) return {};
    const char* text = reinterpret_cast<const char*>(bytes.data());
    const int size = static_cast<int>(bytes.size());
    const int count = ::MultiByteToWideChar(codePage, flags, text, size, nullptr, 0);
    if (count <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(count), L'\0');
    ::MultiByteToWideChar(codePage, flags, text, size, wide.data(), count);
    return wide;
}

std::wstring SheetText(std::span<const std::uint8_t> bytes) {
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        return Decode(bytes.subspan(3), CP_UTF8, 0);
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        std::wstring text;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
            text.push_back(static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8)));
        return text;
    }
    // Text that is valid UTF-8 is taken for it: ANSI text with letters beyond ASCII seldom is.
    if (const std::wstring utf8 = Decode(bytes, CP_UTF8, MB_ERR_INVALID_CHARS); !utf8.empty()) return utf8;
    return Decode(bytes, CP_ACP, 0);
}

// The words of one line: bare, or in quotation marks.
struct Line {
    int number = 0;
    std::vector<std::wstring> words;
};

Line SplitLine(const std::wstring& text, int number) {
    Line line{number, {}};
    std::size_t at = 0;
    while (true) {
        while (at < text.size() && std::iswspace(text[at])) ++at;
        if (at == text.size()) break;
        if (text[at] == L'"') {
            const std::size_t close = text.find(L'"', at + 1);
            if (close == std::wstring::npos) throw CueSheetError(number, L"a quotation mark is not closed.");
            line.words.push_back(text.substr(at + 1, close - at - 1));
            at = close + 1;
        } else {
            const std::size_t start = at;
            while (at < text.size() && !std::iswspace(text[at])) ++at;
            line.words.push_back(text.substr(start, at - start));
        }
    }
    return line;
}

std::wstring Upper(std::wstring word) {
    for (wchar_t& c : word) c = static_cast<wchar_t>(std::towupper(c));
    return word;
}

std::optional<std::uint64_t> Number(const std::wstring& word, std::size_t maxDigits = 9) {
    if (word.empty() || word.size() > maxDigits) return std::nullopt;
    std::uint64_t value = 0;
    for (wchar_t c : word) {
        if (c < L'0' || c > L'9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - L'0');
    }
    return value;
}

// mm:ss:ff in 75ths of a second.
std::optional<std::uint64_t> CueTime(const std::wstring& word) {
    const std::size_t first = word.find(L':');
    const std::size_t second = first == std::wstring::npos ? first : word.find(L':', first + 1);
    if (second == std::wstring::npos) return std::nullopt;
    const auto minutes = Number(word.substr(0, first), 6);
    const auto seconds = Number(word.substr(first + 1, second - first - 1), 2);
    const auto frames = Number(word.substr(second + 1), 2);
    if (!minutes || !seconds || !frames || *seconds >= 60 || *frames >= kFramesPerSecond) return std::nullopt;
    return (*minutes * 60 + *seconds) * kFramesPerSecond + *frames;
}

std::wstring TwoDigits(std::uint64_t value) { return (value < 10 ? L"0" : L"") + std::to_wstring(value); }

std::wstring Quoted(const std::wstring& text) {
    std::wstring quoted = L"\"";
    for (wchar_t c : text) quoted.push_back(c == L'"' ? L'\'' : c < L' ' ? L' ' : c);
    return quoted + L"\"";
}

}  // namespace

CueSheetError::CueSheetError(int line, const std::wstring& what)
    : MediaError(line > 0 ? L"Line " + std::to_wstring(line) + L": " + what : what), line_(line) {}

CueSheet ReadCueSheet(std::span<const std::uint8_t> bytes) {
    const std::wstring text = SheetText(bytes);
    CueSheet sheet;
    bool haveFile = false;
    bool started = false;  // whether the current track has its INDEX 01
    auto endTrack = [&] {
        if (sheet.tracks.empty()) return;
        const CueTrack& track = sheet.tracks.back();
        if (!started) throw CueSheetError(track.line, L"the track has no INDEX 01 line, which says where it starts.");
        if (sheet.tracks.size() > 1 && track.start <= sheet.tracks[sheet.tracks.size() - 2].start)
            throw CueSheetError(track.line, L"the track starts no later than the one before it.");
        started = false;
    };

    int number = 0;
    for (std::size_t at = 0; at <= text.size();) {
        std::size_t end = text.find_first_of(L"\r\n", at);
        if (end == std::wstring::npos) end = text.size();
        ++number;
        const Line line = SplitLine(text.substr(at, end - at), number);
        at = end + (end + 1 < text.size() && text[end] == L'\r' && text[end + 1] == L'\n' ? 2 : 1);
        if (line.words.empty()) continue;
        const std::wstring keyword = Upper(line.words[0]);
        const std::size_t arguments = line.words.size() - 1;
        if (keyword == L"FILE") {
            if (arguments < 1) throw CueSheetError(number, L"FILE needs the audio file's name.");
            if (haveFile) throw CueSheetError(number, L"a second FILE: this sheet is for more than one audio file.");
            haveFile = true;
            sheet.file = line.words[1];
        } else if (keyword == L"TRACK") {
            const auto track = arguments >= 1 ? Number(line.words[1], 3) : std::nullopt;
            if (!track || *track == 0) throw CueSheetError(number, L"TRACK needs the track's number, as in TRACK 01 AUDIO.");
            endTrack();
            sheet.tracks.push_back(CueTrack{0, {}, {}, number});
        } else if (keyword == L"INDEX") {
            const auto index = arguments >= 2 ? Number(line.words[1], 2) : std::nullopt;
            const auto time = arguments >= 2 ? CueTime(line.words[2]) : std::nullopt;
            if (!index || !time)
                throw CueSheetError(number, L"INDEX needs a number and a time as minutes:seconds:frames, as in INDEX 01 03:25:40.");
            if (sheet.tracks.empty()) throw CueSheetError(number, L"INDEX stands before the first TRACK.");
            if (*index == 1) {
                if (started) throw CueSheetError(number, L"the track has a second INDEX 01.");
                sheet.tracks.back().start = *time;
                started = true;
            }
        } else if (keyword == L"TITLE" || keyword == L"PERFORMER") {
            if (arguments < 1) throw CueSheetError(number, keyword + L" needs a name, as in " + keyword + L" \"Name\".");
            std::wstring value = line.words[1];
            for (std::size_t i = 2; i < line.words.size(); ++i) value += L" " + line.words[i];  // unquoted words
            std::wstring& field = sheet.tracks.empty()     ? (keyword == L"TITLE" ? sheet.title : sheet.performer)
                                  : keyword == L"TITLE"    ? sheet.tracks.back().title
                                                           : sheet.tracks.back().performer;
            field = value;
        }
    }
    endTrack();
    if (sheet.tracks.empty()) throw CueSheetError(0, L"The cue sheet holds no TRACK.");
    return sheet;
}

std::vector<std::uint8_t> WriteCueSheet(const CueSheet& sheet) {
    std::wstring text;
    auto line = [&](const std::wstring& content) { text += content + L"\r\n"; };
    if (!sheet.performer.empty()) line(L"PERFORMER " + Quoted(sheet.performer));
    if (!sheet.title.empty()) line(L"TITLE " + Quoted(sheet.title));
    line(L"FILE " + Quoted(sheet.file) + L" MP3");
    for (std::size_t i = 0; i < sheet.tracks.size(); ++i) {
        const CueTrack& track = sheet.tracks[i];
        line(L"  TRACK " + TwoDigits(i + 1) + L" AUDIO");
        if (!track.title.empty()) line(L"    TITLE " + Quoted(track.title));
        if (!track.performer.empty()) line(L"    PERFORMER " + Quoted(track.performer));
        const std::uint64_t seconds = track.start / kFramesPerSecond;
        line(L"    INDEX 01 " + TwoDigits(seconds / 60) + L":" + TwoDigits(seconds % 60) + L":" +
             TwoDigits(track.start % kFramesPerSecond));
    }

    bool ascii = true;
    for (wchar_t c : text) ascii = ascii && c < 0x80;
    std::vector<std::uint8_t> bytes;
    if (!ascii) bytes = {0xEF, 0xBB, 0xBF};
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    const std::size_t start = bytes.size();
    bytes.resize(start + static_cast<std::size_t>(size));
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                          reinterpret_cast<char*>(bytes.data() + start), size, nullptr, nullptr);
    return bytes;
}

SplitPoints SplitPointsOf(const CueSheet& sheet, int rate, std::uint64_t length) {
    SplitPoints splits;
    splits.pieces.push_back({});
    const std::uint64_t perSecond = static_cast<std::uint64_t>(rate);
    for (const CueTrack& track : sheet.tracks) {
        const std::uint64_t sample = (track.start * perSecond * 2 + kFramesPerSecond) / (kFramesPerSecond * 2);
        if (sample >= length) throw CueSheetError(track.line, L"the track starts at or after the end of the file.");
        if (sample > 0) {
            if (!splits.points.empty() && sample <= splits.points.back())
                throw CueSheetError(track.line, L"the track starts on the same sample as the one before it.");
            splits.points.push_back(sample);
            splits.pieces.push_back({});
        }
        splits.pieces.back() = {track.title, track.performer.empty() ? sheet.performer : track.performer};
    }
    return splits;
}

CueSheet CueSheetOf(const std::wstring& fileName, const SplitPoints& splits, int rate) {
    CueSheet sheet;
    sheet.file = fileName;
    const std::uint64_t perSecond = static_cast<std::uint64_t>(rate);
    for (std::size_t i = 0; i <= splits.points.size(); ++i) {
        const std::uint64_t first = i == 0 ? 0 : splits.points[i - 1];
        CueTrack track;
        track.start = (first * kFramesPerSecond * 2 + perSecond) / (perSecond * 2);
        // Points closer than the format holds still each begin a track of their own.
        if (i > 0) track.start = std::max(track.start, sheet.tracks.back().start + 1);
        if (i < splits.pieces.size()) {
            track.title = splits.pieces[i].title;
            track.performer = splits.pieces[i].performer;
        }
        sheet.tracks.push_back(track);
    }
    return sheet;
}

}  // namespace media
