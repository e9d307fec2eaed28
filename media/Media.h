#pragma once
// What the program uses of the MP3 engine: a player that opens files by name, how
// much audio a file holds, making a stream copy exact (with the frame index the
// player made of the file) with fades and a change of level, a file's waveform,
// its loudness and its quiet spots, ReplayGain values, cue sheets, splitting a
// recording into pieces, and a recording made of parts of files written with only
// its seams encoded again. The rest of media/ is the engine's own business.
#include <string>

#include "media/CueSheet.h"
#include "media/ExactCut.h"
#include "media/GainPlan.h"
#include "media/MediaError.h"
#include "media/Pieces.h"
#include "media/Player.h"
#include "media/QuietSpot.h"
#include "media/Recording.h"
#include "media/ReplayGain.h"
#include "media/SeamWriter.h"
#include "media/SplitSearch.h"
#include "media/Waveform.h"

namespace media {

// Seconds of MPEG audio in the file as a player plays it: tags, the encoder's
// information frame, and the delay and padding its LAME tag gives left out; throws
// MediaError if the file cannot be read or holds no audio.
double AudioDuration(const std::wstring& path);

}  // namespace media
