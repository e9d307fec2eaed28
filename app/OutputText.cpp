#include "app/OutputText.h"

#include <deque>

namespace app {

std::wstring ChunkText(std::wstring_view chunk) {
    std::wstring text;
    text.reserve(chunk.size() + chunk.size() / 16);
    for (wchar_t c : chunk) {
        if (c == L'\r') continue;
        if (c == L'\n') text.push_back(L'\r');
        text.push_back(c);
    }
    return text;
}

std::wstring LastLines(std::wstring_view text, std::size_t count) {
    std::deque<std::wstring_view> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring_view::npos) end = text.size();
        std::wstring_view line = text.substr(start, end - start);
        if (line.find_first_not_of(L" \t") != std::wstring_view::npos) {
            lines.push_back(line);
            if (lines.size() > count) lines.pop_front();
        }
        start = end + 1;
    }
    std::wstring joined;
    for (std::wstring_view line : lines) {
        if (!joined.empty()) joined += L"\r\n";
        joined += line;
    }
    return joined;
}

}  // namespace app
