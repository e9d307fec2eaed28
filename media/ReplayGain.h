#pragma once
// ReplayGain 2.0 values for a saved file's ID3v2 TXXX frames: the gain that brings
// its loudness to the reference of -18 LUFS, and its true peak, of the track and,
// for a set of pieces, of all of them together.
#include <string>
#include <utility>
#include <vector>

#include "media/Loudness.h"

namespace media {

inline constexpr double kReplayGainReference = -18;  // LUFS

// The frames (description, value) for audio measured as `track` and saved `changeDb`
// louder, and for the album it belongs to where `album` is given: "REPLAYGAIN_TRACK_GAIN"
// "-3.21 dB" (an ASCII minus, as players read it), "REPLAYGAIN_TRACK_PEAK" "0.912345"
// (full scale 1). None for a track that could not be measured.
std::vector<std::pair<std::string, std::string>> ReplayGainFrames(const Loudness& track, double changeDb,
                                                                  const Loudness* album = nullptr);

}  // namespace media
