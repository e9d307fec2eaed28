#pragma once
// How much audio a file the encoder wrote really holds: an encoder can end
// well and still write only a tag, or a single frame, when the selection lies
// beyond the end of the input.
#include <string>

namespace app {

// Seconds of MPEG audio in the file as a player plays it (without tags, the
// information frame, and the delay and padding its LAME tag gives); 0 when
// there is none or the file cannot be read.
double AudioSeconds(const std::wstring& path);

}  // namespace app
