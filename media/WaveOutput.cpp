#include "media/WaveOutput.h"

#include <algorithm>
#include <cstring>

namespace media {

std::unique_ptr<WaveOutput> WaveOutput::Open(int sampleRate, int channels, const WaveOutCalls& calls) {
    base::KernelHandle finished(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (!finished) return nullptr;
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = static_cast<WORD>(channels);
    format.nSamplesPerSec = static_cast<DWORD>(sampleRate);
    format.wBitsPerSample = 16;
    format.nBlockAlign = static_cast<WORD>(channels * 2);
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    HWAVEOUT device = nullptr;
    if (calls.open(&device, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(finished.Get()), 0, CALLBACK_EVENT) !=
        MMSYSERR_NOERROR)
        return nullptr;
    DeviceOwner owner(device, calls.close);  // closed should the object not be made
    return std::unique_ptr<WaveOutput>(
        new WaveOutput(calls, std::move(owner), std::move(finished), sampleRate, channels));
}

WaveOutput::WaveOutput(const WaveOutCalls& calls, DeviceOwner device, base::KernelHandle finished, int sampleRate,
                       int channels) noexcept
    : calls_(calls),
      finished_(std::move(finished)),
      device_(std::move(device)),
      channels_(channels),
      bufferSamples_(BufferSamples(sampleRate)) {}

WaveOutput::~WaveOutput() { Reset(); }

bool WaveOutput::Queue(const std::int16_t* pcm, std::size_t count) {
    // Only a buffer the device has taken moves the turn on: one it refused is
    // free again, while the one after it may still be playing.
    Buffer& buffer = buffers_[next_];
    // Allocated on first use, so that opening the device cannot fail half way.
    buffer.samples.resize(bufferSamples_ * channels_);
    count = std::min(count, bufferSamples_);
    std::memcpy(buffer.samples.data(), pcm, count * channels_ * sizeof(std::int16_t));
    buffer.count = count;
    buffer.header = WAVEHDR{};
    buffer.header.lpData = reinterpret_cast<LPSTR>(buffer.samples.data());
    buffer.header.dwBufferLength = static_cast<DWORD>(count * channels_ * sizeof(std::int16_t));
    if (calls_.prepare(device_.get(), &buffer.header, sizeof buffer.header) != MMSYSERR_NOERROR) return false;
    if (calls_.write(device_.get(), &buffer.header, sizeof buffer.header) != MMSYSERR_NOERROR) {
        calls_.unprepare(device_.get(), &buffer.header, sizeof buffer.header);
        return false;
    }
    playing_.push_back(&buffer);
    next_ = (next_ + 1) % buffers_.size();
    return true;
}

std::uint64_t WaveOutput::TakeFinished() {
    std::uint64_t finished = 0;
    while (!playing_.empty() && (playing_.front()->header.dwFlags & WHDR_DONE)) {
        finished += playing_.front()->count;
        Release(*playing_.front());
        playing_.pop_front();
    }
    return finished;
}

void WaveOutput::Reset() {
    // Returns every buffer to us at once, marked done.
    calls_.reset(device_.get());
    for (Buffer* buffer : playing_) Release(*buffer);
    playing_.clear();
    next_ = 0;
}

void WaveOutput::Release(Buffer& buffer) noexcept {
    calls_.unprepare(device_.get(), &buffer.header, sizeof buffer.header);
    buffer.count = 0;
}

}  // namespace media
