#pragma once
// What the program uses of the MP3 engine: a player that opens files by name, and
// how much audio a file holds. The rest of media/ is the engine's own business.
#include <string>

#include "media/MediaError.h"
#include "media/Player.h"

namespace media {

// Seconds of MPEG audio in the file, tags and the encoder's information frame left
// out; throws MediaError if the file cannot be read or holds no audio.
double AudioDuration(const std::wstring& path);

}  // namespace media
