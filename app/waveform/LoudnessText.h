#pragma once
// Loudness figures as the waveform window shows them: "−14.2 LUFS", "−1.3 dBTP",
// "6.5 LU", with the true minus sign, and what stands in for a figure where
// there is none.
#include <string>

#include "media/Media.h"

namespace app {

inline constexpr const wchar_t* kNotMeasured = L"too short or too quiet to measure";

// One decimal and the unit: "−14.2 LUFS"; "+0.4 dBTP" where `signedAbove` and above 0.
std::wstring FigureText(double value, const wchar_t* unit, bool signedAbove = false);

// The integrated loudness raised by `changeDb`, or kNotMeasured.
std::wstring LoudnessText(const media::Loudness& loudness, double changeDb = 0);

}  // namespace app
