#include "media/LameCrc16.h"

#include <array>

namespace media {

namespace {

using Table = std::array<std::uint16_t, 256>;

// Eight tables, the k-th for a byte followed by k zero bytes, so that eight
// bytes take eight look-ups and no loop: the music of a long cut is megabytes.
constexpr std::array<Table, 8> ReflectedTables() {
    std::array<Table, 8> tables{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        unsigned crc = byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
        tables[0][byte] = static_cast<std::uint16_t>(crc);
    }
    for (std::size_t k = 1; k < tables.size(); ++k)
        for (unsigned byte = 0; byte < 256; ++byte) {
            std::uint16_t previous = tables[k - 1][byte];
            tables[k][byte] = static_cast<std::uint16_t>((previous >> 8) ^ tables[0][previous & 0xFF]);
        }
    return tables;
}

constexpr std::array<Table, 8> kReflected = ReflectedTables();

}  // namespace

std::uint16_t LameCrc16(const std::uint8_t* bytes, std::size_t size, std::uint16_t crc) noexcept {
    const auto& t = kReflected;
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        const unsigned low = crc ^ (bytes[i] | (bytes[i + 1] << 8));
        crc = static_cast<std::uint16_t>(t[7][low & 0xFF] ^ t[6][low >> 8] ^ t[5][bytes[i + 2]] ^ t[4][bytes[i + 3]] ^
                                         t[3][bytes[i + 4]] ^ t[2][bytes[i + 5]] ^ t[1][bytes[i + 6]] ^
                                         t[0][bytes[i + 7]]);
    }
    for (; i < size; ++i) crc = static_cast<std::uint16_t>((crc >> 8) ^ t[0][(crc ^ bytes[i]) & 0xFF]);
    return crc;
}

}  // namespace media
