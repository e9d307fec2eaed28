#include "media/Pieces.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace media {

namespace {

constexpr std::size_t kHeaderSize = 10;
constexpr std::uint8_t kUnsynchronised = 0x80;
constexpr std::uint8_t kExtendedHeader = 0x40;
constexpr std::uint8_t kFooter = 0x10;
// What a piece's name holds besides its title.
constexpr std::size_t kTitleAround = std::char_traits<wchar_t>::length(L" .mp3");

std::uint32_t Syncsafe(const std::uint8_t* b) {
    return (std::uint32_t{b[0]} << 21) | (std::uint32_t{b[1]} << 14) | (std::uint32_t{b[2]} << 7) | b[3];
}

void PutSize(std::uint8_t* b, std::uint32_t size, bool syncsafe) {
    const int shift = syncsafe ? 7 : 8;
    const std::uint32_t mask = syncsafe ? 0x7F : 0xFF;
    for (int i = 3; i >= 0; --i, size >>= shift) b[i] = static_cast<std::uint8_t>(size & mask);
}

std::string Utf8(const std::wstring& text) {
    const int size = static_cast<int>(text.size());
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), size, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

// A text frame in the tag's version: UTF-8 in v2.4, UTF-16 with its byte order mark in v2.3.
void AppendTextFrame(std::vector<std::uint8_t>& tag, const char* id, const std::wstring& text, int version) {
    std::vector<std::uint8_t> body;
    if (version == 4) {
        body.push_back(3);
        const std::string bytes = Utf8(text);
        body.insert(body.end(), bytes.begin(), bytes.end());
    } else {
        body = {1, 0xFF, 0xFE};
        for (wchar_t c : text) {
            body.push_back(static_cast<std::uint8_t>(c & 0xFF));
            body.push_back(static_cast<std::uint8_t>(c >> 8));
        }
    }
    std::uint8_t header[kHeaderSize] = {};
    std::memcpy(header, id, 4);
    PutSize(header + 4, static_cast<std::uint32_t>(body.size()), version == 4);
    tag.insert(tag.end(), header, header + kHeaderSize);
    tag.insert(tag.end(), body.begin(), body.end());
}

// A user text frame of plain ASCII, which both versions read alike.
void AppendUserTextFrame(std::vector<std::uint8_t>& tag, const std::string& description, const std::string& value,
                         int version) {
    std::vector<std::uint8_t> body{0};
    body.insert(body.end(), description.begin(), description.end());
    body.push_back(0);
    body.insert(body.end(), value.begin(), value.end());
    std::uint8_t header[kHeaderSize] = {'T', 'X', 'X', 'X'};
    PutSize(header + 4, static_cast<std::uint32_t>(body.size()), version == 4);
    tag.insert(tag.end(), header, header + kHeaderSize);
    tag.insert(tag.end(), body.begin(), body.end());
}

// Whether a frame is a TXXX whose description begins "REPLAYGAIN_", in any case and text encoding.
bool IsReplayGainFrame(const std::uint8_t* frame, std::size_t size) {
    if (std::memcmp(frame, "TXXX", 4) != 0 || size < 1) return false;
    const std::uint8_t* body = frame + kHeaderSize;
    const bool wide = body[0] == 1 || body[0] == 2;
    std::size_t at = 1 + (body[0] == 1 ? 2 : 0);  // past a byte order mark
    const bool bigEndian = body[0] == 2 || (body[0] == 1 && size > 2 && body[1] == 0xFE);
    std::string description;
    for (; at + (wide ? 1 : 0) < size && description.size() < 11; at += wide ? 2 : 1)
        description.push_back(static_cast<char>(std::toupper(wide ? body[at + (bigEndian ? 1 : 0)] : body[at])));
    return description == "REPLAYGAIN_";
}

// Padded to the digits of the count (two at least), so that the names sort in order.
std::wstring Numbered(std::size_t number, std::size_t count) {
    const std::wstring digits = std::to_wstring(number);
    const std::size_t width = std::max<std::size_t>(2, std::to_wstring(count).size());
    return std::wstring(width - digits.size(), L'0') + digits;
}

}  // namespace

std::wstring FileNameSafe(std::wstring text, std::size_t longest) {
    for (wchar_t& c : text)
        if (c < 32 || std::wcschr(L"<>:\"/\\|?*", c)) c = L'_';
    if (text.size() > longest) {
        text.resize(longest);
        if (!text.empty() && IS_HIGH_SURROGATE(text.back())) text.pop_back();
    }
    // Windows drops a name's trailing dots and blanks.
    while (!text.empty() && (text.back() == L'.' || text.back() == L' ')) text.pop_back();
    return text;
}

std::vector<PlannedPiece> PlanPieces(const SplitLayout& layout, const std::wstring& baseName) {
    const std::size_t count = layout.points.size() + 1;
    std::vector<PlannedPiece> pieces;
    for (std::size_t k = 0; k < count; ++k) {
        const SampleRange whole{k == 0 ? 0 : layout.points[k - 1], k + 1 < count ? layout.points[k] : layout.length};
        SampleRange range = whole;
        if (layout.leavePausesOut) {
            // The pause before the piece and the one after it, each kept only near the piece.
            if (k > 0 && k - 1 < layout.pauses.size() && layout.pauses[k - 1])
                range.first = std::max(range.first, layout.pauses[k - 1]->end - std::min(layout.keptOfPause, layout.pauses[k - 1]->end));
            if (k + 1 < count && k < layout.pauses.size() && layout.pauses[k])
                range.end = std::min(range.end, layout.pauses[k]->first + layout.keptOfPause);
        }
        PlannedPiece piece;
        // Pauses that hold other points than their own would leave nothing, or less: the piece stays whole.
        piece.range = range.first < range.end ? range : whole;
        piece.tags.track = static_cast<std::uint32_t>(k + 1);
        piece.tags.tracks = static_cast<std::uint32_t>(count);
        if (k < layout.titles.size()) piece.tags.title = layout.titles[k];
        if (k < layout.performers.size()) piece.tags.performer = layout.performers[k];
        const std::wstring numbered = baseName + L" " + Numbered(k + 1, count);
        // The title gives way where the whole name would not fit in one of a folder's names.
        const std::size_t room = kLongestFileName - std::min(kLongestFileName, numbered.size() + kTitleAround);
        const std::wstring title = FileNameSafe(piece.tags.title, room);
        piece.fileName = numbered + (title.empty() ? L"" : L" " + title) + L".mp3";
        pieces.push_back(std::move(piece));
    }
    return pieces;
}

std::vector<std::uint8_t> TagWithPiece(std::span<const std::uint8_t> leading, const PieceTags& piece) {
    const std::wstring trackText = std::to_wstring(piece.track) + L"/" + std::to_wstring(piece.tracks);
    const bool readable = leading.size() >= kHeaderSize && std::memcmp(leading.data(), "ID3", 3) == 0 &&
                          (leading[3] == 3 || leading[3] == 4) &&
                          !(leading[5] & (kUnsynchronised | kExtendedHeader)) &&
                          kHeaderSize + Syncsafe(leading.data() + 6) <= leading.size();
    const int version = readable ? leading[3] : 4;
    std::vector<std::uint8_t> tag(kHeaderSize, 0);
    std::memcpy(tag.data(), "ID3", 3);
    tag[3] = static_cast<std::uint8_t>(version);
    if (piece.track > 0) AppendTextFrame(tag, "TRCK", trackText, version);
    if (!piece.title.empty()) AppendTextFrame(tag, "TIT2", piece.title, version);
    if (!piece.performer.empty()) AppendTextFrame(tag, "TPE1", piece.performer, version);
    for (const auto& [description, value] : piece.replayGain) AppendUserTextFrame(tag, description, value, version);
    std::size_t rest = 0;  // where what follows the first tag begins
    if (readable) {
        const std::size_t end = kHeaderSize + Syncsafe(leading.data() + 6);
        std::size_t at = kHeaderSize;
        while (at + kHeaderSize <= end && leading[at] != 0) {
            const std::uint8_t* frame = leading.data() + at;
            const std::uint32_t size = version == 4 ? Syncsafe(frame + 4)
                                                    : (std::uint32_t{frame[4]} << 24) | (frame[5] << 16) |
                                                          (frame[6] << 8) | frame[7];
            if (size > end - at - kHeaderSize) break;  // a damaged frame ends what is kept
            const bool replaced = (piece.track > 0 && std::memcmp(frame, "TRCK", 4) == 0) ||
                                  (!piece.replayGain.empty() && IsReplayGainFrame(frame, size)) ||
                                  (!piece.title.empty() && std::memcmp(frame, "TIT2", 4) == 0) ||
                                  (!piece.performer.empty() && std::memcmp(frame, "TPE1", 4) == 0);
            if (!replaced) tag.insert(tag.end(), frame, frame + kHeaderSize + size);
            at += kHeaderSize + size;
        }
        rest = end + ((leading[5] & kFooter) ? kHeaderSize : 0);
    }
    PutSize(tag.data() + 6, static_cast<std::uint32_t>(tag.size() - kHeaderSize), true);
    // A tag that could not be read stays behind the new one, for what else it holds.
    tag.insert(tag.end(), leading.begin() + static_cast<std::ptrdiff_t>(std::min(rest, leading.size())), leading.end());
    return tag;
}

}  // namespace media
