#pragma once
// The levels of a file's decoded audio for drawing it and for finding its pauses:
// the peaks and the RMS of each channel, computed on two worker threads that take
// the file's parts in turn from its start on, so that a window draws what is ready
// while the rest fills in. The samples themselves, for views closer than one
// stored block, are decoded when asked for.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "media/Loudness.h"
#include "media/Mp3Index.h"

namespace media {

class LoudnessMeter;
class Mp3Stream;

// The lowest and highest sample over a stretch of audio.
struct Peak {
    std::int16_t low = 1;
    std::int16_t high = 0;

    bool Empty() const noexcept { return low > high; }
    void Add(Peak other) noexcept;
    void Add(std::int16_t sample) noexcept;
};

// The peak and the root mean square of a stretch, in sample values (full scale is 32768).
struct Level {
    Peak peak;
    double rms = 0;
};

// Full scale in sample values, and conversions between sample values and decibels below it.
inline constexpr double kFullScale = 32768;
// -infinity for 0.
double DecibelsOf(double amplitude) noexcept;
double AmplitudeOf(double decibels) noexcept;

class Waveform {
public:
    // Samples per channel that one stored block covers.
    static constexpr std::uint32_t kBlockSamples = 256;

    // Starts computing the levels of the file as `index` describes it (the player's
    // index of the file it plays), and its loudness unless told not to (which the
    // benchmark does, to weigh what the loudness costs).
    Waveform(const std::wstring& path, std::shared_ptr<const Mp3Index> index, bool loudness = true);
    Waveform(const Waveform&) = delete;
    Waveform& operator=(const Waveform&) = delete;
    // Stops the workers and waits for them.
    ~Waveform();

    const std::wstring& Path() const noexcept { return path_; }
    const std::shared_ptr<const Mp3Index>& Index() const noexcept { return index_; }
    int SampleRate() const noexcept { return sampleRate_; }
    int Channels() const noexcept { return channels_; }
    // Samples per channel, as the player plays them.
    std::uint64_t Length() const noexcept { return length_; }

    // Samples from the start whose levels are known, all of them; grows while the workers run.
    std::uint64_t ReadyLength() const noexcept { return ready_.load(std::memory_order_acquire); }
    // Whether the workers have ended. Where ReadyLength() is then short of Length(),
    // the rest of the file could not be decoded.
    bool Finished() const noexcept { return finished_.load(std::memory_order_acquire); }
    // Returns once Finished().
    void Wait() const;

    // The levels of the ready samples among [first, end), from the whole stored
    // blocks that hold them: of one channel, or of all (the RMS then over every
    // channel's samples). The peak is Empty() and the RMS 0 where none is ready.
    Level LevelOf(std::uint64_t first, std::uint64_t end, int channel) const noexcept;
    Level LevelOf(std::uint64_t first, std::uint64_t end) const noexcept;
    Peak PeakOf(std::uint64_t first, std::uint64_t end) const noexcept { return LevelOf(first, end).peak; }
    // The loudness of [first, end), once all of it is ready (not measured before); of
    // a file that stops decoding, of what was decoded.
    Loudness LoudnessOf(std::uint64_t first, std::uint64_t end) const;

    // Decodes the samples [first, first + count) now, interleaved by channel, exactly
    // as the levels were computed from them; fewer where the file ends or cannot be
    // decoded. Not for use on two threads at once.
    std::vector<std::int16_t> Samples(std::uint64_t first, std::size_t count);

    // Bytes the stored levels take.
    std::size_t PeakBytes() const noexcept;

private:
    // Blocks summed up in one group, so that a view of the whole file reads few values.
    static constexpr std::uint32_t kGroupBlocks = 64;

    // One channel over one block; the RMS rounded to a whole sample value.
    struct BlockLevel {
        std::int16_t low = 1;
        std::int16_t high = 0;
        std::uint16_t rms = 0;
    };
    // One channel over one group: its blocks' peak, and their squares summed as their RMS gives them.
    struct GroupLevel {
        Peak peak;
        double squares = 0;
    };

    // What is known of one part, under progressMutex_.
    struct PartState {
        std::uint64_t done = 0;  // samples levelled
        int writer = -1;         // the worker writing its blocks, if one is
        bool takenOver = false;  // its writer is to leave it to a decode that reached it from the start
        bool joined = false;     // its samples are known to go on from the part before as one decode does
        bool failed = false;     // its writer stopped before it had decoded any
        std::vector<std::int16_t> head;  // its first samples as its writer decoded them, until checked
    };

    void Run(int worker) noexcept;
    void WorkersEnded(int count) noexcept;
    bool ComputePart(Mp3Stream& stream, LoudnessMeter& meter, std::size_t part, int worker,
                     std::vector<std::int16_t>& pcm, std::size_t already, bool straight);
    std::size_t NextPart(Mp3Stream& stream, std::size_t part, std::vector<std::int16_t>& pcm, std::size_t& already,
                         bool& straight);
    bool Claim(std::size_t part, int worker, bool straight);
    void Leave(std::size_t part, int worker, bool failed) noexcept;
    void StoreBlocks(const std::int16_t* pcm, std::uint64_t first, std::size_t count, LoudnessMeter& meter);
    bool Publish(std::size_t part, std::uint64_t done);
    void Advance();
    void PlanParts();
    std::uint64_t BlockLength(std::uint64_t block) const noexcept;

    const std::wstring path_;
    const std::shared_ptr<const Mp3Index> index_;
    int sampleRate_;
    int channels_;
    std::uint64_t length_;
    // Sized at the start, by block (or group) and then channel; each block is
    // written once by the worker of its part, and read once ready_ covers it.
    std::vector<BlockLevel> blocks_;
    std::vector<GroupLevel> groups_;
    const bool measuresLoudness_;
    std::vector<LoudnessBlock> loudness_;  // by block, as blocks_
    // The workers take the parts in turn; each part is decoded from a little before its
    // start, where the codec's rounding state stands as at the file's start. Past a
    // damaged stretch it may not: a worker that ends a part checks that the next one
    // starts as its own decode goes on, and where it does not, decodes that part itself.
    std::vector<std::uint64_t> partStarts_;  // and the file's length after the last
    std::atomic<std::size_t> nextPart_{0};
    mutable std::mutex progressMutex_;
    mutable std::condition_variable finishedChanged_;  // and any part's state
    std::vector<PartState> parts_;                     // under progressMutex_
    int running_ = 0;                                  // workers still running, under progressMutex_
    std::atomic<std::uint64_t> ready_{0};
    std::atomic<bool> finished_{false};
    std::atomic<bool> stop_{false};
    std::unique_ptr<Mp3Stream> reader_;  // for Samples(), made on first use
    std::vector<std::thread> workers_;
};

}  // namespace media
