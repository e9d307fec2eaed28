#pragma once
// The four-byte header of an MPEG audio Layer III frame (MPEG-1, 2 and 2.5).
#include <array>
#include <cstdint>
#include <optional>

namespace media {

enum class MpegVersion { Mpeg1, Mpeg2, Mpeg25 };

struct FrameHeader {
    // The longest frame there can be: 320 kbit/s at 32 kHz with padding.
    static constexpr int kMaxFrameSize = 1441;
    static constexpr int kSize = 4;
    // Samples per channel that a decoder's output lags behind the audio (its filter banks).
    static constexpr int kDecoderDelay = 529;

    MpegVersion version = MpegVersion::Mpeg1;
    int bitrate = 0;     // bits per second
    int sampleRate = 0;  // Hz
    int channels = 0;    // 1 or 2
    bool hasCrc = false;
    bool padded = false;
    int frameSize = 0;  // bytes, header included

    // A valid Layer III header at `bytes` (four readable bytes), or nothing:
    // free-format and reserved values are not playable here.
    static std::optional<FrameHeader> Parse(const std::uint8_t* bytes) noexcept;

    int SamplesPerFrame() const noexcept { return version == MpegVersion::Mpeg1 ? 1152 : 576; }
    int SideInfoSize() const noexcept;
    // Where the side information ends and the frame's share of main data starts.
    int MainDataOffset() const noexcept { return kSize + (hasCrc ? 2 : 0) + SideInfoSize(); }
    int MainDataSize() const noexcept { return frameSize - MainDataOffset(); }
    // How many bytes before this frame's main data its audio starts (the bit
    // reservoir), read from the side information of the whole frame at `frame`.
    int MainDataBegin(const std::uint8_t* frame) const noexcept;

    // The header for a frame of our own in the stream of the header at `model`:
    // no CRC, no padding, and the lowest bitrate, not below the model's, whose
    // frame has room for `mainDataBytes` after the side information.
    static std::optional<std::array<std::uint8_t, kSize>> ForMainData(const std::uint8_t* model,
                                                                      int mainDataBytes) noexcept;

    // Frames of one stream share version, sample rate and channel count.
    bool SameStreamAs(const FrameHeader& other) const noexcept { return SameRateAs(other) && channels == other.channels; }
    // Parts of a file joined from others that play on one sound device share these.
    bool SameRateAs(const FrameHeader& other) const noexcept {
        return version == other.version && sampleRate == other.sampleRate;
    }
};

}  // namespace media
