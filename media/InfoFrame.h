#pragma once
// The information frame that leads an MP3 file we write: a Xing header ("Info"
// when every frame has one bitrate) with the frame count, byte count and seek
// table, then a LAME tag with the encoder's delay and padding, the music's
// length and checksum, and the tag's own checksum, which gapless players read.
#include <array>
#include <cstdint>
#include <vector>

#include "media/FrameHeader.h"

namespace media {

struct InfoFrame {
    static constexpr int kLameTagSize = 36;
    // Bytes after the side information: the Xing header with all four fields, then the LAME tag.
    static constexpr int kContentSize = 120 + kLameTagSize;
    // The largest delay or padding the LAME tag can hold.
    static constexpr int kMaxCount = 4095;

    std::array<std::uint8_t, FrameHeader::kSize> header{};  // room for kContentSize, no CRC
    bool constantBitrate = false;
    std::uint32_t frames = 0;  // audio frames after this one
    std::uint32_t bytes = 0;   // this frame and the audio frames
    std::array<std::uint8_t, 100> seekTable{};
    // The encoder's name and settings as its own tag gave them; the counts and checksums are written over.
    std::array<std::uint8_t, kLameTagSize> lameTag{'L', 'a', 'v', 'f'};
    int delay = 0;
    int padding = 0;
    std::uint16_t musicCrc = 0;  // of the audio frames after this one

    std::vector<std::uint8_t> Bytes() const;

    // The seek table: for every hundredth of the frames, where it starts, in 256ths
    // of `bytes`, for audio frames of `frameSizes` after a frame of `infoSize` bytes.
    static std::array<std::uint8_t, 100> SeekTable(const std::vector<std::uint32_t>& frameSizes,
                                                   std::uint32_t infoSize);
};

}  // namespace media
