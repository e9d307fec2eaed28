#include "media/WaveOutput.h"

#include <algorithm>
#include <cstring>

namespace media {

std::unique_ptr<WaveOutput> WaveOutput::Open(int sampleRate, int channels) {
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
    if (::waveOutOpen(&device, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(finished.Get()), 0, CALLBACK_EVENT) !=
        MMSYSERR_NOERROR)
        return nullptr;
    return std::unique_ptr<WaveOutput>(new WaveOutput(device, std::move(finished), sampleRate, channels));
}

WaveOutput::WaveOutput(HWAVEOUT device, base::KernelHandle finished, int sampleRate, int channels) noexcept
    : device_(device), finished_(std::move(finished)), channels_(channels), bufferSamples_(BufferSamples(sampleRate)) {}

WaveOutput::~WaveOutput() {
    Reset();
    ::waveOutClose(device_);
}

void WaveOutput::Queue(const std::int16_t* pcm, std::size_t count) {
    Buffer& buffer = buffers_[next_];
    next_ = (next_ + 1) % buffers_.size();
    // Allocated on first use, so that opening the device cannot fail half way.
    buffer.samples.resize(bufferSamples_ * channels_);
    count = std::min(count, bufferSamples_);
    std::memcpy(buffer.samples.data(), pcm, count * channels_ * sizeof(std::int16_t));
    buffer.count = count;
    buffer.header = WAVEHDR{};
    buffer.header.lpData = reinterpret_cast<LPSTR>(buffer.samples.data());
    buffer.header.dwBufferLength = static_cast<DWORD>(count * channels_ * sizeof(std::int16_t));
    if (::waveOutPrepareHeader(device_, &buffer.header, sizeof buffer.header) != MMSYSERR_NOERROR) return;
    if (::waveOutWrite(device_, &buffer.header, sizeof buffer.header) != MMSYSERR_NOERROR) {
        ::waveOutUnprepareHeader(device_, &buffer.header, sizeof buffer.header);
        return;
    }
    playing_.push_back(&buffer);
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
    ::waveOutReset(device_);
    for (Buffer* buffer : playing_) Release(*buffer);
    playing_.clear();
    next_ = 0;
}

void WaveOutput::Release(Buffer& buffer) noexcept {
    ::waveOutUnprepareHeader(device_, &buffer.header, sizeof buffer.header);
    buffer.count = 0;
}

}  // namespace media
