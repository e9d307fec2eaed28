#pragma once
// Plays buffers without a sound device: each one finishes when its length in
// real time has passed, so position, pause, seek and the end of the media behave
// as with a device.
#include <chrono>
#include <deque>

#include "media/AudioSink.h"

namespace media {

class SilentClock : public AudioSink {
public:
    explicit SilentClock(int sampleRate);

    bool HasFreeBuffer() const noexcept override { return queue_.size() < kBufferCount; }
    bool Queue(const std::int16_t* pcm, std::size_t count) override;
    std::uint64_t TakeFinished() override;
    bool Idle() const noexcept override { return queue_.empty(); }
    void Reset() override { queue_.clear(); }
    HANDLE FinishedEvent() const noexcept override { return nullptr; }
    DWORD MaxWaitMilliseconds() const noexcept override;

private:
    using Clock = std::chrono::steady_clock;
    struct Buffer {
        Clock::time_point end;
        std::size_t samples;
    };
    int sampleRate_;
    std::deque<Buffer> queue_;
};

}  // namespace media
