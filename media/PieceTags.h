#pragma once
#include <cstdint>
#include <string>

namespace media {

// What a piece's ID3v2 tag says of it, in place of what the source's says.
struct PieceTags {
    std::uint32_t track = 0;  // from 1
    std::uint32_t tracks = 0;
    std::wstring title;  // left as the source has it where empty
    std::wstring performer;
};

}  // namespace media
