#pragma once
// How much audio a file the encoder wrote really holds: an encoder can end
// well and still write only a tag, or a single frame, when the selection lies
// beyond the end of the input.
#include <string>

namespace app {

// Seconds of MPEG audio in the file, not counting tags and the encoder's
// information frame; 0 when there is none or the file cannot be read.
double AudioSeconds(const std::wstring& path);

}  // namespace app
