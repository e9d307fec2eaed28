#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace media {

// What a piece's ID3v2 tag says of it, in place of what the source's says.
struct PieceTags {
    std::uint32_t track = 0;  // from 1; 0 leaves the source's track number
    std::uint32_t tracks = 0;
    std::wstring title;  // left as the source has it where empty
    std::wstring performer;
    // TXXX frames (description, value) that replace all of the source's ReplayGain ones.
    std::vector<std::pair<std::string, std::string>> replayGain;
};

}  // namespace media
