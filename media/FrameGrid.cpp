#include "media/FrameGrid.h"

#include "media/Mp3Index.h"

namespace media {

FrameGrid FrameGrid::Of(const Mp3Index& index) noexcept {
    return FrameGrid(index.format.SamplesPerFrame(), index.encoderDelay);
}

}  // namespace media
