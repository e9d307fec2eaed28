#pragma once
// Where the seams of a recording go when it is written with its frames copied.
// A copied frame keeps its place in its file's grid of frames, so the samples
// before a part's frames must fill whole frames: at each seam the parts' ends
// move by less than a frame. A removal still starts exactly where it was marked
// and only its end moves; a join drops samples on one side. Of the positions
// that fit, the nearest is taken, and of two as near the one where the samples
// dropped or taken in are quieter.
#include <cstdint>
#include <functional>
#include <vector>

#include "media/Recording.h"

namespace media {

struct Seam {
    std::uint64_t position = 0;  // in the written recording
    std::int64_t moved = 0;      // samples left out at it beyond those asked for (negative: kept)
};

struct SeamPlan {
    std::vector<RecordingPart> parts;  // the recording's parts with their ends moved
    std::vector<Seam> seams;           // one between each two parts
};

// How loud the samples `range` of a part's source are (their mean square).
using MeanSquareOf = std::function<double(const RecordingPart& part, SampleRange range)>;

// Throws MediaError where a part is too short for its seams to fit.
SeamPlan PlanSeams(const Recording& recording, const MeanSquareOf& meanSquare);

}  // namespace media
