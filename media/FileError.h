#pragma once
// A file the system would not open, read or write, with the system's reason. Unlike
// a file whose bytes are not what was expected, this is no judgement on the file.
#include <windows.h>

#include "base/SystemErrorText.h"
#include "media/MediaError.h"

namespace media {

class FileError : public MediaError {
public:
    using MediaError::MediaError;

    // The failure the system reported last on this thread.
    static FileError Last() { return FileError(base::SystemErrorText(::GetLastError())); }
};

}  // namespace media
