#include "app/LevelSettings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwctype>

namespace app {

namespace {

constexpr int kLowestSteps = static_cast<int>(LevelSettings::kLowestDb / LevelSettings::kStepDb);
constexpr int kHighestSteps = static_cast<int>(LevelSettings::kHighestDb / LevelSettings::kStepDb);

}  // namespace

bool LevelSettings::SetFade(double seconds, double& fade) noexcept {
    if (!(seconds >= 0 && seconds <= kLongestFade)) return false;
    fade = seconds;
    return true;
}

bool LevelSettings::SetLevelDb(double db) noexcept {
    const double steps = db / kStepDb;
    if (!(db >= kLowestDb && db <= kHighestDb) || std::abs(steps - std::round(steps)) > 1e-9) return false;
    change_.steps = static_cast<int>(std::lround(steps));
    return true;
}

void LevelSettings::SetSteps(int steps) noexcept { change_.steps = std::clamp(steps, kLowestSteps, kHighestSteps); }

std::wstring LevelSettings::SecondsText(double seconds) {
    wchar_t text[32];
    std::swprintf(text, 32, L"%.3f", seconds);
    std::wstring result = text;
    while (result.back() == L'0' && result[result.size() - 2] != L'.') result.pop_back();
    return result;
}

std::wstring LevelSettings::DbText(int steps) {
    wchar_t text[32];
    std::swprintf(text, 32, steps > 0 ? L"+%.1f dB" : L"%.1f dB", steps * kStepDb);
    return text;
}

std::wstring LevelSettings::StatusText() const {
    std::wstring text;
    auto add = [&text](const std::wstring& part) { text += (text.empty() ? L"" : L", ") + part; };
    if (FadeIn() > 0) add(L"fade in " + SecondsText(FadeIn()) + L" s");
    if (FadeOut() > 0) add(L"fade out " + SecondsText(FadeOut()) + L" s");
    if (Steps() != 0) add(L"level " + DbText(Steps()));
    if (!text.empty()) text[0] = static_cast<wchar_t>(std::towupper(text[0]));
    return text;
}

}  // namespace app
