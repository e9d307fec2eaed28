#include "app/AudioCheck.h"

#include <exception>

#include "app/Files.h"
#include "media/Media.h"

namespace app {

double AudioSeconds(const std::wstring& path) {
    try {
        return media::AudioDuration(ExtendedLengthPath(path));
    } catch (const std::exception&) {  // no playable audio, or the file cannot be read
        return 0;
    }
}

}  // namespace app
