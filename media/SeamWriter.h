#pragma once
// Writes a recording (parts of files of one format) to one MP3 file, exact to
// the sample. Every frame that lies wholly inside a part and away from a seam is
// copied as it is; at each seam the few frames whose audio touches it are
// encoded again from the parts' decoded samples joined, by an encoder the caller
// provides, all seams in one run. The new frames read nothing from a bit
// reservoir, and the last of them carries the main data that the first copied
// frame after it reads from before it. The file begins with the first part's
// source's ID3v2 tags and an information frame whose LAME tag gives the delay
// and padding, as the exact cut's copies do. A level and fades are made in every
// frame's gain fields, the new frames' as the copied ones'.
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "media/FrameHeader.h"
#include "media/LevelChange.h"
#include "media/Recording.h"
#include "media/SeamPlan.h"

namespace media {

class SeamEncoder {
public:
    struct Output {
        int bitrate = 0;  // bits a second
        std::wstring mp3;
    };
    virtual ~SeamEncoder() = default;
    // Encodes `pcm`, raw 16-bit little-endian samples interleaved at `format`'s
    // sample rate and channel count, in one run into each of the new MP3 files
    // of `outputs`: Layer III at its constant bitrate, with the bit reservoir
    // off. Throws MediaError with the reason where it cannot.
    virtual void Encode(const std::wstring& pcm, const FrameHeader& format, const std::vector<Output>& outputs) = 0;
};

struct WrittenSeam : Seam {
    SampleRange encoded;  // the samples that the seam's new frames decode to
};

struct WrittenRecording {
    std::vector<WrittenSeam> seams;
    std::vector<RecordingPart> parts;  // the parts with their ends moved, as written
    std::uint64_t length = 0;          // samples the file plays
    std::uint64_t encodedFrames = 0;
    GainReport gains;  // what the level could not do
};

// Writes `recording` to the new file `path` (one there is replaced only once
// the new one is complete), with `level` over the whole of it. Nothing, and no file, when `stop` is set meanwhile;
// throws MediaError with the reason, leaving no file, where the recording
// cannot be written exactly.
std::optional<WrittenRecording> WriteRecording(const Recording& recording, const std::wstring& path,
                                               SeamEncoder& encoder, const LevelChange& level,
                                               const std::atomic<bool>& stop);

}  // namespace media
