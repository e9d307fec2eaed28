#include "app/TimeText.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

namespace app {

std::wstring FormatSeconds(double seconds) {
    if (seconds == 0) return L"0";  // also for -0
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15G", seconds);
    std::string text(buffer);
    // The C library writes at least two exponent digits, some three ("1E-005").
    auto e = text.find('E');
    if (e != std::string::npos) {
        std::size_t digits = e + 2;
        while (text.size() - digits > 2 && text[digits] == '0') text.erase(digits, 1);
    }
    return std::wstring(text.begin(), text.end());
}

double ParseSeconds(std::wstring_view text) {
    std::size_t i = 0;
    auto digit = [&](std::size_t at) { return at < text.size() && text[at] >= L'0' && text[at] <= L'9'; };
    while (i < text.size() && (text[i] == L' ' || text[i] == L'\t')) ++i;
    std::size_t start = i;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) ++i;
    std::size_t mantissa = i;
    while (digit(i)) ++i;
    if (i < text.size() && text[i] == L'.') {
        ++i;
        while (digit(i)) ++i;
    }
    if (i == mantissa || (i == mantissa + 1 && text[mantissa] == L'.')) return 0;
    std::size_t end = i;
    if (i < text.size() && (text[i] == L'E' || text[i] == L'e')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == L'+' || text[j] == L'-')) ++j;
        if (digit(j)) {
            while (digit(j)) ++j;
            end = j;
        }
    }
    std::string number;
    for (std::size_t k = start; k < end; ++k) number += static_cast<char>(text[k]);
    return std::strtod(number.c_str(), nullptr);
}

std::wstring FormatClock(double seconds) {
    const long long ms = std::llround(std::max(seconds, 0.0) * 1000);
    const long long s = ms / 1000;
    wchar_t text[40];
    if (s >= 3600)
        std::swprintf(text, 40, L"%lld:%02lld:%02lld.%03lld", s / 3600, s / 60 % 60, s % 60, ms % 1000);
    else
        std::swprintf(text, 40, L"%lld:%02lld.%03lld", s / 60, s % 60, ms % 1000);
    return text;
}

}  // namespace app
