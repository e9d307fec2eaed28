#pragma once
// Plays PCM on the system's default sound device through waveOut, with a few
// buffers in flight. The device signals an event as each buffer finishes.
#include <windows.h>
#include <mmsystem.h>

#include <array>
#include <deque>
#include <memory>
#include <type_traits>
#include <vector>

#include "base/Handles.h"
#include "media/AudioSink.h"

namespace media {

// The system calls the output makes; a test may stand in for the device with its own.
struct WaveOutCalls {
    decltype(&::waveOutOpen) open = ::waveOutOpen;
    decltype(&::waveOutPrepareHeader) prepare = ::waveOutPrepareHeader;
    decltype(&::waveOutWrite) write = ::waveOutWrite;
    decltype(&::waveOutUnprepareHeader) unprepare = ::waveOutUnprepareHeader;
    decltype(&::waveOutReset) reset = ::waveOutReset;
    decltype(&::waveOutClose) close = ::waveOutClose;
};

class WaveOutput : public AudioSink {
public:
    // The device opened for 16-bit PCM of this rate and channel count, or null when there is none.
    static std::unique_ptr<WaveOutput> Open(int sampleRate, int channels, const WaveOutCalls& calls = {});
    ~WaveOutput() override;

    bool HasFreeBuffer() const noexcept override { return playing_.size() < buffers_.size(); }
    bool Queue(const std::int16_t* pcm, std::size_t count) override;
    std::uint64_t TakeFinished() override;
    bool Idle() const noexcept override { return playing_.empty(); }
    void Reset() override;
    HANDLE FinishedEvent() const noexcept override { return finished_.Get(); }
    // The event is the signal; this only guards against a missed one.
    DWORD MaxWaitMilliseconds() const noexcept override { return kBufferMilliseconds; }

private:
    struct Buffer {
        WAVEHDR header{};
        std::vector<std::int16_t> samples;
        std::size_t count = 0;
    };

    // Closes the device with the calls' own close.
    using DeviceOwner = std::unique_ptr<std::remove_pointer_t<HWAVEOUT>, decltype(&::waveOutClose)>;

    WaveOutput(const WaveOutCalls& calls, DeviceOwner device, base::KernelHandle finished, int sampleRate,
               int channels) noexcept;
    void Release(Buffer& buffer) noexcept;

    WaveOutCalls calls_;
    base::KernelHandle finished_;
    // After the event it signals, so that it is closed first.
    DeviceOwner device_;
    int channels_;
    std::size_t bufferSamples_;
    std::array<Buffer, kBufferCount> buffers_;
    std::deque<Buffer*> playing_;  // in the order they were queued
    // The buffer after the last one queued: the device gives buffers back in
    // order, so it is the one that has been free longest.
    std::size_t next_ = 0;
};

}  // namespace media
