#include "app/waveform/LoudnessText.h"

#include <cmath>
#include <cstdio>

namespace app {

std::wstring FigureText(double value, const wchar_t* unit, bool signedAbove) {
    if (!std::isfinite(value)) return std::wstring(L"\u2212\u221e ") + unit;
    wchar_t digits[32];
    std::swprintf(digits, 32, L"%.1f", std::abs(value));
    const bool zero = std::wstring(digits) == L"0.0";
    const wchar_t* sign = zero ? L"" : value < 0 ? L"\u2212" : signedAbove ? L"+" : L"";
    return sign + std::wstring(digits) + L" " + unit;
}

std::wstring LoudnessText(const media::Loudness& loudness, double changeDb) {
    return loudness.measured ? FigureText(loudness.integrated + changeDb, L"LUFS") : kNotMeasured;
}

}  // namespace app
