#pragma once
// The peaks of a file's decoded audio for drawing it: computed on a worker
// thread from the start of the file on, so that a window draws what is ready
// while the rest fills in. The samples themselves, for views closer than one
// stored peak, are decoded when asked for.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "media/Mp3Index.h"

namespace media {

class Mp3Stream;

// The lowest and highest sample of any channel over a stretch of audio.
struct Peak {
    std::int16_t low = 1;
    std::int16_t high = 0;

    bool Empty() const noexcept { return low > high; }
    void Add(Peak other) noexcept;
    void Add(std::int16_t sample) noexcept;
};

class Waveform {
public:
    // Samples per channel that one stored peak covers.
    static constexpr std::uint32_t kBlockSamples = 128;

    // Starts computing the peaks of the file as `index` describes it (the player's
    // index of the file it plays).
    Waveform(const std::wstring& path, std::shared_ptr<const Mp3Index> index);
    Waveform(const Waveform&) = delete;
    Waveform& operator=(const Waveform&) = delete;
    // Stops the worker and waits for it.
    ~Waveform();

    int SampleRate() const noexcept { return sampleRate_; }
    int Channels() const noexcept { return channels_; }
    // Samples per channel, as the player plays them.
    std::uint64_t Length() const noexcept { return length_; }

    // Samples from the start whose peaks are known; grows while the worker runs.
    std::uint64_t ReadyLength() const noexcept { return ready_.load(std::memory_order_acquire); }
    // Whether the worker has ended. Where ReadyLength() is then short of Length(),
    // the rest of the file could not be decoded.
    bool Finished() const noexcept { return finished_.load(std::memory_order_acquire); }

    // The peak of the ready samples among [first, end), from the whole stored
    // blocks that hold them; Empty() where none is ready.
    Peak PeakOf(std::uint64_t first, std::uint64_t end) const noexcept;

    // Decodes the samples [first, first + count) now, interleaved by channel; fewer
    // where the file ends or cannot be decoded. Not for use on two threads at once.
    std::vector<std::int16_t> Samples(std::uint64_t first, std::size_t count);

    // Bytes the stored peaks take.
    std::size_t PeakBytes() const noexcept;

private:
    // Blocks summed up in one group, so that a view of the whole file reads few values.
    static constexpr std::uint32_t kGroupBlocks = 64;

    void Run() noexcept;
    void Compute(Mp3Stream& stream);

    const std::wstring path_;
    const std::shared_ptr<const Mp3Index> index_;
    int sampleRate_;
    int channels_;
    std::uint64_t length_;
    // Sized at the start; the worker fills them in order and publishes how far through ready_.
    std::vector<Peak> blocks_;
    std::vector<Peak> groups_;
    std::atomic<std::uint64_t> ready_{0};
    std::atomic<bool> finished_{false};
    std::atomic<bool> stop_{false};
    std::unique_ptr<Mp3Stream> reader_;  // for Samples(), made on first use
    std::thread worker_;
};

}  // namespace media
