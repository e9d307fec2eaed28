#include "media/ReplayGain.h"

#include <cmath>
#include <cstdio>

namespace media {

namespace {

void Append(std::vector<std::pair<std::string, std::string>>& frames, const char* kind, const Loudness& loudness,
            double changeDb) {
    char gain[32], peak[32];
    std::snprintf(gain, sizeof gain, "%+.2f dB", kReplayGainReference - (loudness.integrated + changeDb));
    std::snprintf(peak, sizeof peak, "%.6f", std::pow(10.0, (loudness.truePeak + changeDb) / 20));
    frames.emplace_back(std::string("REPLAYGAIN_") + kind + "_GAIN", gain);
    frames.emplace_back(std::string("REPLAYGAIN_") + kind + "_PEAK", peak);
}

}  // namespace

std::vector<std::pair<std::string, std::string>> ReplayGainFrames(const Loudness& track, double changeDb,
                                                                  const Loudness* album) {
    std::vector<std::pair<std::string, std::string>> frames;
    if (!track.measured) return frames;
    Append(frames, "TRACK", track, changeDb);
    if (album && album->measured) Append(frames, "ALBUM", *album, changeDb);
    return frames;
}

}  // namespace media
