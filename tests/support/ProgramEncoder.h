#pragma once
// The seam encoder as the program runs it: ffmpeg.exe beside the program, as a real child.
#include <string>

#include "media/SeamWriter.h"

namespace testing_support {

class ProgramEncoder : public media::SeamEncoder {
public:
    // `program`: the encoder to start (the one beside the test program unless another is given).
    explicit ProgramEncoder(std::wstring program = {});
    void Encode(const std::wstring& pcm, const media::FrameHeader& format, const std::vector<Output>& outputs) override;
    int Runs() const noexcept { return runs_; }

private:
    std::wstring program_;
    int runs_ = 0;
};

}  // namespace testing_support
