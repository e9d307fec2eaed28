#include "media/PiecePlan.h"

#include <algorithm>
#include <cmath>

namespace media {

namespace {

// Enough of a title to tell the files apart, within the length of a path.
constexpr std::size_t kMaxTitleInName = 100;

std::wstring FileNameText(const std::wstring& title) {
    const std::size_t first = title.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return {};
    std::wstring text = title.substr(first, title.find_last_not_of(L" \t") - first + 1).substr(0, kMaxTitleInName);
    for (wchar_t& c : text)
        if (c < L' ' || std::wstring_view(L"<>:\"/\\|?*").find(c) != std::wstring_view::npos) c = L'_';
    return text;
}

std::wstring Padded(int number, int digits) {
    std::wstring text = std::to_wstring(number);
    return std::wstring(text.size() < static_cast<std::size_t>(digits) ? digits - text.size() : 0, L'0') + text;
}

}  // namespace

std::vector<Piece> PlanPieces(const SplitPoints& splits, std::uint64_t length, int rate, std::span<const Pause> leftOut,
                              const std::wstring& base) {
    const auto kept = static_cast<std::uint64_t>(std::llround(kPauseKeptSeconds * rate));
    const int count = static_cast<int>(splits.points.size()) + 1;
    const int digits = std::max<int>(2, static_cast<int>(std::to_wstring(count).size()));
    std::vector<Piece> pieces;
    for (int k = 0; k < count; ++k) {
        Piece piece;
        piece.first = k == 0 ? 0 : splits.points[static_cast<std::size_t>(k - 1)];
        piece.end = k + 1 == count ? length : splits.points[static_cast<std::size_t>(k)];
        piece.number = k + 1;
        piece.count = count;
        if (static_cast<std::size_t>(k) < splits.pieces.size()) {
            piece.title = splits.pieces[static_cast<std::size_t>(k)].title;
            piece.performer = splits.pieces[static_cast<std::size_t>(k)].performer;
        }
        for (const Pause& pause : leftOut) {
            if (k > 0 && pause.first <= piece.first && piece.first < pause.end)
                piece.first = std::max(piece.first, pause.end > kept ? pause.end - kept : 0);
            if (k + 1 < count && pause.first <= piece.end && piece.end < pause.end)
                piece.end = std::min(piece.end, pause.first + kept);
        }
        const std::wstring title = FileNameText(piece.title);
        piece.path = base + L" " + Padded(piece.number, digits) + (title.empty() ? L"" : L" " + title) + L".mp3";
        pieces.push_back(piece);
    }
    return pieces;
}

std::wstring TrackNumber(const Piece& piece) {
    return std::to_wstring(piece.number) + L"/" + std::to_wstring(piece.count);
}

}  // namespace media
