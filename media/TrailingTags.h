#pragma once
// Tags that may follow the audio: an ID3v1 tag and an APEv2 tag (in either order
// of nesting that taggers write: audio, APE, ID3v1).
#include <cstdint>

#include "media/MediaFile.h"

namespace media {

// Where the audio ends once the tags at the end of the file's first `end` bytes
// are left out; never before `audioStart`.
std::uint64_t AudioEndBeforeTrailingTags(const MediaFile& file, std::uint64_t audioStart, std::uint64_t end);

}  // namespace media
