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

    // Whether the kHeaderSize bytes at `bytes` are a tag header with nothing after it;
    // some writers leave long runs of these.
    static bool IsEmptyHeader(const std::uint8_t* bytes) noexcept {
        return bytes[0] == 'I' && bytes[1] == 'D' && bytes[2] == '3' &&
               (bytes[6] | bytes[7] | bytes[8] | bytes[9]) == 0 && bytes[3] != 0xFF && bytes[4] != 0xFF &&
               !(bytes[3] >= 4 && (bytes[5] & 0x10));
    }

    // Bytes the whole tag takes: header, body and the footer of a v2.4 tag that has one.
    // Some writers give the size as a plain number; where its bytes cannot be a
    // syncsafe one it is read that way.
    std::uint64_t TotalSize() const noexcept;
    // The same size with its bytes read as a plain number, for a writer that got it wrong.
    std::uint64_t PlainTotalSize() const noexcept;

    // The bytes of a frame header inside the tag's body.
    std::size_t FrameHeaderSize() const noexcept { return majorVersion_ == 2 ? 6 : 10; }
    // How many bytes the frame whose header is at `bytes` (FrameHeaderSize() readable
    // bytes) takes, header included; nothing where no frame starts there.
    std::optional<std::uint64_t> FrameLength(const std::uint8_t* bytes) const noexcept;

    // The title (TIT2, or TT2 in v2.2) from the complete tag at `tag`, or empty.
    std::wstring Title(const std::uint8_t* tag, std::size_t size) const;

private:
    int majorVersion_ = 0;
    std::uint8_t flags_ = 0;
    std::uint32_t bodySize_ = 0;
    std::uint32_t plainBodySize_ = 0;
};

}  // namespace media
