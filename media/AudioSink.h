#pragma once
// Where the player's PCM goes: a sound device, or a clock that plays silently at
// the same pace when there is none. Used from the player's worker thread only.
#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace media {

class AudioSink {
public:
    // Each buffer holds this long a stretch of sound: shorter ones drop out under Wine.
    static constexpr int kBufferMilliseconds = 100;
    static constexpr int kBufferCount = 4;

    static std::size_t BufferSamples(int sampleRate) noexcept {
        return static_cast<std::size_t>(sampleRate) * kBufferMilliseconds / 1000;
    }

    AudioSink() = default;
    AudioSink(const AudioSink&) = delete;
    AudioSink& operator=(const AudioSink&) = delete;
    virtual ~AudioSink() = default;

    virtual bool HasFreeBuffer() const noexcept = 0;
    // Plays `count` (at most BufferSamples) samples per channel after those queued
    // before; false when the device refused them.
    virtual bool Queue(const std::int16_t* pcm, std::size_t count) = 0;
    // Samples per channel of the buffers that have finished playing since the last call.
    virtual std::uint64_t TakeFinished() = 0;
    // Nothing is queued or playing.
    virtual bool Idle() const noexcept = 0;
    // Silences at once and drops every queued buffer, without counting them as played.
    virtual void Reset() = 0;
    // Signalled when a buffer finishes, or null; and how long to wait at most before asking again.
    virtual HANDLE FinishedEvent() const noexcept = 0;
    virtual DWORD MaxWaitMilliseconds() const noexcept = 0;
};

}  // namespace media
