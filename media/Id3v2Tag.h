#pragma once
// The ID3v2 tag that may stand before the audio: its size, and the title it holds.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace media {

class Id3v2Tag {
public:
    static constexpr std::size_t kHeaderSize = 10;

    // The header at `bytes` (kHeaderSize readable bytes), or nothing if there is no tag there.
    static std::optional<Id3v2Tag> FromHeader(const std::uint8_t* bytes) noexcept;

    // Bytes the whole tag takes: header, body and the footer of a v2.4 tag that has one.
    std::uint64_t TotalSize() const noexcept;

    // The title (TIT2, or TT2 in v2.2) from the complete tag at `tag`, or empty.
    std::wstring Title(const std::uint8_t* tag, std::size_t size) const;

private:
    int majorVersion_ = 0;
    std::uint8_t flags_ = 0;
    std::uint32_t bodySize_ = 0;
};

}  // namespace media
