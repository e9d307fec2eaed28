#pragma once
// The seam encoder as the program runs it: the ffmpeg.exe beside the program,
// started as a hidden child whose messages are kept for the reason of a failure.
#include <atomic>
#include <string>
#include <vector>

#include "media/Media.h"

namespace app {

class ProgramEncoder : public media::SeamEncoder {
public:
    // `stop` ends a run in progress once it is set. `program`: the encoder to
    // start, the one beside the program unless another is given.
    explicit ProgramEncoder(const std::atomic<bool>& stop, std::wstring program = {});
    void Encode(const std::wstring& pcm, const media::FrameHeader& format, const std::vector<Output>& outputs) override;
    int Runs() const noexcept { return runs_; }

private:
    const std::atomic<bool>& stop_;
    std::wstring program_;
    int runs_ = 0;
};

}  // namespace app
