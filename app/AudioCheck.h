#pragma once
// Whether a file the encoder wrote really holds audio: an encoder can end
// well and still write only a tag (a start beyond the end of the input).
#include <string>

namespace app {

// True when the file holds at least one whole MPEG audio frame besides any
// tags and the encoder's information frame.
bool HoldsAudio(const std::wstring& path);

}  // namespace app
