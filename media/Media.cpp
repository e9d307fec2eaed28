#include "media/Media.h"

#include "media/MediaFile.h"
#include "media/Mp3Reader.h"

namespace media {

double AudioDuration(const std::wstring& path) {
    MediaFile file(path);
    const Mp3Index index = Mp3Reader(file).Read();
    return static_cast<double>(index.PlayableSampleCount()) / index.format.sampleRate;
}

}  // namespace media
