#pragma once
// The information frame an encoder may put first: a Xing/Info header (with the
// LAME tag's encoder delay and padding) or a Fraunhofer VBRI header. The frame
// itself holds no audio; it is left out of the index and never decoded.
#include <cstdint>
#include <optional>

#include "media/FrameHeader.h"

namespace media {

struct VbrHeader {
    std::optional<std::uint32_t> frames;  // audio frames that follow, the header frame not counted
    int encoderDelay = 0;                 // samples the encoder put before the audio
    int encoderPadding = 0;               // samples it added after the audio
    int lameTag = 0;                      // where the LAME tag starts in the frame; 0 if there is none

    // The bytes from a frame's start that Marked() looks at, at most.
    static constexpr int kMarkSpan = 42;

    // The header in the complete frame at `frame`, described by `header`, if it holds one.
    static std::optional<VbrHeader> Read(const FrameHeader& header, const std::uint8_t* frame) noexcept;
    // Whether the frame at `frame` (its first kMarkSpan bytes, or all of a shorter
    // one, readable) bears a signature of these headers: a quick look for one mid-stream.
    static bool Marked(const FrameHeader& header, const std::uint8_t* frame) noexcept;
};

}  // namespace media
