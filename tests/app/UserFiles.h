#pragma once
// Copies of the media fixtures under names users' files have: spaces, accents,
// "%", and paths past the classic length limit.
#include <string>

namespace app_tests {

// A folder and file name with spaces, accents and "%".
inline constexpr wchar_t kOddName[] = L"Été 100% live\\Chanson d'été 100% ü.mp3";
inline constexpr wchar_t kOddTitle[] = L"Chanson d'été 100% ü";

// A relative name whose full path is well past 260 characters.
std::wstring LongName();

// build\artifacts\user-files\<relative>, a copy of the media fixture; its
// folders are made as needed. Returns the path in its plain form.
std::wstring CopyOfFixture(const std::wstring& fixture, const std::wstring& relative);

}  // namespace app_tests
