#include "media/GranuleGains.h"

namespace media {

namespace {

// Within a granule's and channel's fields: part2_3_length (12 bits) and
// big_values (9) come before global_gain (8), then scalefac_compress (4 in MPEG-1,
// 9 in MPEG-2 and 2.5) and the window switching flag.
constexpr int kBigValues = 12;
constexpr int kGlobalGain = 21;
constexpr int kMaxBigValues = 288;

}  // namespace

int GranuleGains::FieldBit(int granule, int channel) const noexcept {
    if (header_.version == MpegVersion::Mpeg1) {
        // main_data_begin (9), private bits (5 mono, 3 stereo), scfsi (4 a channel), then 59 bits each.
        const int start = 9 + (header_.channels == 1 ? 5 : 3) + 4 * header_.channels;
        return start + (granule * header_.channels + channel) * 59;
    }
    // main_data_begin (8), private bits (1 mono, 2 stereo), then 63 bits each.
    return 8 + (header_.channels == 1 ? 1 : 2) + channel * 63;
}

// A field of up to 16 bits; the three bytes read lie within the frame, after the side information at most.
unsigned GranuleGains::Bits(int bit, int count) const noexcept {
    const std::uint8_t* at = Side() + (bit >> 3);
    const unsigned window = (unsigned{at[0]} << 16) | (unsigned{at[1]} << 8) | at[2];
    return (window >> (24 - (bit & 7) - count)) & ((1u << count) - 1);
}

int GranuleGains::Gain(int granule, int channel) const noexcept {
    return static_cast<int>(Bits(FieldBit(granule, channel) + kGlobalGain, 8));
}

void GranuleGains::SetGain(int granule, int channel, int gain) noexcept {
    std::uint8_t* side = Side();
    const int bit = FieldBit(granule, channel) + kGlobalGain;
    const unsigned value = static_cast<unsigned>(gain < kLowest ? kLowest : gain > kHighest ? kHighest : gain);
    // The field spans two bytes unless it starts on one's first bit.
    const int shift = bit & 7;
    const unsigned word = (static_cast<unsigned>(side[bit >> 3]) << 8) | side[(bit >> 3) + 1];
    const unsigned mask = 0xFF00u >> shift;
    const unsigned changed = (word & ~mask) | ((value << 8) >> shift);
    side[bit >> 3] = static_cast<std::uint8_t>(changed >> 8);
    side[(bit >> 3) + 1] = static_cast<std::uint8_t>(changed);
}

int GranuleGains::MainDataBytes() const noexcept {
    int bits = 0;
    for (int granule = 0; granule < Granules(); ++granule)
        for (int channel = 0; channel < Channels(); ++channel) bits += static_cast<int>(Bits(FieldBit(granule, channel), 12));
    return (bits + 7) / 8;
}

bool GranuleGains::Sound() const noexcept {
    if (!CrcHolds()) return false;
    const int switching = header_.version == MpegVersion::Mpeg1 ? 33 : 38;
    for (int granule = 0; granule < Granules(); ++granule)
        for (int channel = 0; channel < Channels(); ++channel) {
            const int bit = FieldBit(granule, channel);
            if (Bits(bit + kBigValues, 9) > kMaxBigValues) return false;
            if (Bits(bit + switching, 1) == 1 && Bits(bit + switching + 1, 2) == 0) return false;
        }
    return true;
}

std::uint16_t GranuleGains::ComputedCrc() const noexcept {
    unsigned crc = 0xFFFF;
    auto feed = [&crc](std::uint8_t byte) {
        for (int bit = 7; bit >= 0; --bit) {
            const bool top = ((crc >> 15) ^ (byte >> bit)) & 1;
            crc = (crc << 1) & 0xFFFF;
            if (top) crc ^= 0x8005;
        }
    };
    feed(frame_[2]);
    feed(frame_[3]);
    const std::uint8_t* side = Side();
    for (int i = 0; i < header_.SideInfoSize(); ++i) feed(side[i]);
    return static_cast<std::uint16_t>(crc);
}

std::uint16_t GranuleGains::StoredCrc() const noexcept {
    return static_cast<std::uint16_t>((frame_[FrameHeader::kSize] << 8) | frame_[FrameHeader::kSize + 1]);
}

void GranuleGains::UpdateCrc() noexcept {
    if (!header_.hasCrc) return;
    const std::uint16_t crc = ComputedCrc();
    frame_[FrameHeader::kSize] = static_cast<std::uint8_t>(crc >> 8);
    frame_[FrameHeader::kSize + 1] = static_cast<std::uint8_t>(crc);
}

}  // namespace media
