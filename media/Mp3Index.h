#pragma once
// What reading an MP3 file found: the stream's format, where every audio frame
// starts, and the encoder's delay and padding.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "media/FrameHeader.h"

namespace media {

struct Mp3Index {
    FrameHeader format;                           // the first audio frame's header
    std::vector<std::uint64_t> frameOffsets;      // file offset of every audio frame, in order
    std::uint64_t audioEnd = 0;                   // where the audio stops (trailing tags left out)
    std::optional<std::uint32_t> declaredFrames;  // the frame count an information frame gave
    int encoderDelay = 0;                         // from the LAME tag; 0 where there is none
    int encoderPadding = 0;
    std::wstring title;                           // the ID3v2 title, or empty

    std::uint64_t FrameCount() const noexcept { return frameOffsets.size(); }
    std::uint64_t SampleCount() const noexcept { return FrameCount() * format.SamplesPerFrame(); }
    double Duration() const noexcept { return static_cast<double>(SampleCount()) / format.sampleRate; }
    // The samples of the audio itself: the encoder's delay and padding left out.
    std::uint64_t AudioSampleCount() const noexcept {
        std::uint64_t trimmed = static_cast<std::uint64_t>(encoderDelay) + encoderPadding;
        return trimmed < SampleCount() ? SampleCount() - trimmed : SampleCount();
    }
};

}  // namespace media
