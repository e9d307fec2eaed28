#include "app/AudioCheck.h"

#include <exception>

#include "app/Files.h"
#include "media/MediaFile.h"
#include "media/Mp3Reader.h"

namespace app {

double AudioSeconds(const std::wstring& path) {
    try {
        media::MediaFile file(ExtendedLengthPath(path));
        const media::Mp3Index index = media::Mp3Reader(file).Read();
        return static_cast<double>(index.PlayableSampleCount()) / index.format.sampleRate;
    } catch (const std::exception&) {  // no playable audio, or the file cannot be read
        return 0;
    }
}

}  // namespace app
