#pragma once
// The checksum of the LAME tag, of itself and of the music after it.
#include <cstddef>
#include <cstdint>

namespace media {

// CRC-16 with the polynomial 0x8005 taken bit-reversed, starting from `crc`:
// the LAME tag's checksum of itself and of the music. Feed it piece by piece.
std::uint16_t LameCrc16(const std::uint8_t* bytes, std::size_t size, std::uint16_t crc = 0) noexcept;

}  // namespace media
