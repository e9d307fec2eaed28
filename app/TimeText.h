#pragma once
// How the main window holds time values: seconds as plain decimal text in its
// value labels, with "00:00" standing for a value that is not set.
#include <string>
#include <string_view>

namespace app {

inline constexpr std::wstring_view kTimeNotSet = L"00:00";

// At most 15 significant digits, no trailing zeros, "." as the point; exponent
// form below 0.0001 ("1E-05").
std::wstring FormatSeconds(double seconds);

// The text's leading decimal number; 0 when it has none.
double ParseSeconds(std::wstring_view text);

// Whether a value label holds a value ("00:00" does not).
inline bool IsTimeSet(std::wstring_view text) { return text != kTimeNotSet; }

// A time as a clock shows it, to the millisecond: "1:05.250", past an hour "1:02:03.004".
std::wstring FormatClock(double seconds);

}  // namespace app
