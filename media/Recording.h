#pragma once
// A recording as the user edits it: an ordered list of parts, each a range of
// samples of one MP3 file. A plain file is one part; taking something out splits
// a part, and joining another file adds its parts. Every part's file has the
// same MPEG version, sample rate and channel count (bit rates may differ), so
// that its frames can be copied into one stream. A small value, copied freely.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/ExactCut.h"
#include "media/FrameHeader.h"
#include "media/Mp3Index.h"

namespace media {

struct RecordingPart {
    std::wstring source;
    std::shared_ptr<const Mp3Index> index;  // of `source`
    SampleRange samples;                    // of the source, as its reader counts them
    std::uint64_t Length() const noexcept { return samples.end - samples.first; }
};

class Recording {
public:
    // All the playable audio of the file that `index` describes.
    Recording(const std::wstring& source, std::shared_ptr<const Mp3Index> index);

    const std::vector<RecordingPart>& Parts() const noexcept { return parts_; }
    const FrameHeader& Format() const noexcept { return parts_.front().index->format; }
    std::uint64_t Length() const noexcept;

    // Adds all the playable audio of another file at the end. Throws MediaError,
    // naming both formats, when its format is not the recording's.
    void Join(const std::wstring& source, std::shared_ptr<const Mp3Index> index);
    // Takes the samples `range` of the recording out (clamped to its length).
    void Remove(SampleRange range);
    // The samples `range` of the recording alone (clamped to its length).
    Recording Slice(SampleRange range) const;

private:
    Recording() = default;
    std::vector<RecordingPart> parts_;
};

// "MPEG-1, 44100 Hz, stereo"
std::wstring FormatName(const FrameHeader& format);
// The file's own name, without its folder, as messages name a file.
std::wstring FileNameOf(const std::wstring& path);

}  // namespace media
