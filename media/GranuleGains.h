#pragma once
// The global gain of each granule and channel of a Layer III frame, read and
// written in place in its side information, and the CRC-16 that protects a frame's
// header and side information. One step of the gain is exactly 1.5 dB (a factor of
// 2^(1/4)) on everything the granule decodes to, whatever the stereo coding: with
// mid/side and intensity stereo both channels change alike.
#include <cstdint>

#include "media/FrameHeader.h"

namespace media {

class GranuleGains {
public:
    static constexpr int kLowest = 0;
    static constexpr int kHighest = 255;

    // The frame at `frame` (frameSize readable bytes) as `header` describes it.
    GranuleGains(std::uint8_t* frame, const FrameHeader& header) noexcept : frame_(frame), header_(header) {}

    int Granules() const noexcept { return header_.version == MpegVersion::Mpeg1 ? 2 : 1; }
    int Channels() const noexcept { return header_.channels; }

    int Gain(int granule, int channel) const noexcept;
    void SetGain(int granule, int channel, int gain) noexcept;

    // The bytes of main data the frame's granules take (their part2_3_length).
    int MainDataBytes() const noexcept;

    // Whether the side information is one a decoder takes as it stands: no Huffman
    // region beyond the granule's 576 lines, no short blocks of type 0, and for a
    // protected frame a checksum that holds.
    bool Sound() const noexcept;

    // The CRC-16 of the header's last two bytes and the side information, and the one the frame holds.
    std::uint16_t ComputedCrc() const noexcept;
    std::uint16_t StoredCrc() const noexcept;
    bool CrcHolds() const noexcept { return !header_.hasCrc || ComputedCrc() == StoredCrc(); }
    // Writes the checksum of the frame as it now stands (protected frames only).
    void UpdateCrc() noexcept;

private:
    // Bit offsets in the side information.
    int FieldBit(int granule, int channel) const noexcept;
    unsigned Bits(int bit, int count) const noexcept;
    std::uint8_t* Side() const noexcept { return frame_ + FrameHeader::kSize + (header_.hasCrc ? 2 : 0); }

    std::uint8_t* frame_;
    FrameHeader header_;
};

}  // namespace media
