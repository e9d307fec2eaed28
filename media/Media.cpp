#include "media/Media.h"

#include "media/MediaFile.h"
#include "media/Mp3Reader.h"

namespace media {

double AudioDuration(const std::wstring& path) {
    MediaFile file(path);
    return Mp3Reader(file).Read().Duration();
}

}  // namespace media
