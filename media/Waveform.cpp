#include "media/Waveform.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <system_error>

#include "media/FrameGrid.h"
#include "media/LoudnessMeter.h"
#include "media/Mp3Stream.h"

namespace media {

namespace {

// Blocks decoded between two publications of the progress.
constexpr std::size_t kReadBlocks = 64;
// A file is cut into at least this many parts where it is long enough, each at
// most this many of the codec's state periods (53 s at 44.1 kHz): a part's start
// costs some frames' decoding, and a worker that falls behind holds the ready
// prefix back by at most one part.
constexpr std::uint64_t kMinParts = 8;
constexpr std::uint64_t kMaxPartPeriods = 4;
// Frames a part's decoding starts before its first sample, for the bit reservoir
// and the decoder's overlap; where that is not enough it starts a period earlier.
constexpr std::uint64_t kPartLeadFrames = 16;
constexpr int kWorkers = 2;
// Samples per channel at a part's start that show whether it goes on from the part
// before as one decode does (where the rounding state differs, many of them do); whole
// blocks, so that a decode that takes the part over levels them as they are.
constexpr std::size_t kSeamSamples = 4 * Waveform::kBlockSamples;

std::uint64_t CeilDiv(std::uint64_t value, std::uint64_t by) { return (value + by - 1) / by; }

}  // namespace

void Peak::Add(Peak other) noexcept {
    if (other.Empty()) return;
    if (Empty()) {
        *this = other;
        return;
    }
    low = std::min(low, other.low);
    high = std::max(high, other.high);
}

void Peak::Add(std::int16_t sample) noexcept { Add(Peak{sample, sample}); }

double DecibelsOf(double amplitude) noexcept {
    return amplitude > 0 ? 20 * std::log10(amplitude / kFullScale) : -std::numeric_limits<double>::infinity();
}

double AmplitudeOf(double decibels) noexcept { return kFullScale * std::pow(10.0, decibels / 20); }

Waveform::Waveform(const std::wstring& path, std::shared_ptr<const Mp3Index> index, bool loudness)
    : path_(path),
      index_(std::move(index)),
      sampleRate_(index_->format.sampleRate),
      channels_(index_->format.channels),
      length_(index_->PlayableSampleCount()),
      measuresLoudness_(loudness) {
    const std::uint64_t blocks = CeilDiv(length_, kBlockSamples);
    const std::size_t channels = static_cast<std::size_t>(channels_);
    blocks_.resize(static_cast<std::size_t>(blocks) * channels);
    groups_.resize(static_cast<std::size_t>(blocks / kGroupBlocks) * channels);
    loudness_.resize(static_cast<std::size_t>(blocks));
    PlanParts();

    const int workers = std::thread::hardware_concurrency() == 1 ? 1 : kWorkers;
    running_ = workers;
    for (int i = 0; i < workers; ++i) {
        try {
            workers_.emplace_back([this, i] {
                Run(i);
                WorkersEnded(1);
            });
        } catch (const std::system_error&) {
            if (workers_.empty()) throw;
            WorkersEnded(workers - i);  // those started do it all
            break;
        }
    }
}

Waveform::~Waveform() {
    {
        std::lock_guard lock(progressMutex_);
        stop_.store(true, std::memory_order_relaxed);
    }
    finishedChanged_.notify_all();
    for (std::thread& worker : workers_) worker.join();
}

// Parts that start on whole blocks a few frames after a frame where the codec
// stands as at the file's start, so that their samples are a decode from the start's.
void Waveform::PlanParts() {
    const std::uint64_t frames = index_->FrameCount();
    const FrameGrid grid = FrameGrid::Of(*index_);
    const std::uint64_t period = Mp3Stream::StateFrames(index_->format);
    const std::uint64_t partFrames = period * std::clamp<std::uint64_t>(CeilDiv(frames, period * kMinParts), 1, kMaxPartPeriods);
    partStarts_.assign(1, 0);
    for (std::uint64_t frame = partFrames + kPartLeadFrames; frame < frames; frame += partFrames) {
        const auto sample = static_cast<std::uint64_t>(grid.FrameStart(frame));
        const std::uint64_t start = sample / kBlockSamples * kBlockSamples;
        if (start >= length_) break;
        partStarts_.push_back(start);
    }
    parts_.assign(partStarts_.size(), PartState{});
    parts_[0].joined = true;
    partStarts_.push_back(length_);
}

void Waveform::Wait() const {
    std::unique_lock lock(progressMutex_);
    finishedChanged_.wait(lock, [this] { return Finished(); });
}

void Waveform::Run(int worker) noexcept {
    std::size_t part = nextPart_++;
    try {
        Mp3Stream stream(path_, index_);
        LoudnessMeter meter(sampleRate_, channels_, kBlockSamples);
        std::vector<std::int16_t> pcm(kReadBlocks * kBlockSamples * static_cast<std::size_t>(channels_));
        std::size_t already = 0;  // samples of the part in pcm, read to check its start
        bool straight = false;    // the stream has decoded the part before and stands at its start
        while (part < parts_.size() && !stop_.load(std::memory_order_relaxed)) {
            if (ComputePart(stream, meter, part, worker, pcm, already, straight)) {
                part = NextPart(stream, part, pcm, already, straight);
            } else {
                part = nextPart_++;
                already = 0;
                straight = false;
            }
        }
    } catch (...) {
        // A file that cannot be opened or decoded any more: what is ready stays, the rest is unreadable.
        if (part < parts_.size()) Leave(part, worker, true);
    }
}

void Waveform::WorkersEnded(int count) noexcept {
    std::lock_guard lock(progressMutex_);
    running_ -= count;
    if (running_ == 0) {
        finished_.store(true, std::memory_order_release);
        finishedChanged_.notify_all();
    }
}

// Levels `part` from where the stream stands (its start, or `already` samples into
// it); false where it was left to another decode or the file stops decoding in it.
bool Waveform::ComputePart(Mp3Stream& stream, LoudnessMeter& meter, std::size_t part, int worker,
                           std::vector<std::int16_t>& pcm, std::size_t already, bool straight) {
    const std::size_t channels = static_cast<std::size_t>(channels_);
    const std::uint64_t first = partStarts_[part];
    const std::uint64_t length = partStarts_[part + 1] - first;
    if (!straight) {
        // The loudness filters hear a little of what comes before, so that they stand as in one pass.
        const std::uint64_t lead = measuresLoudness_ ? std::min<std::uint64_t>(first, meter.LeadSamples()) : 0;
        stream.SeekAsFromStart(first - lead);
        meter.Reset();
        pcm.resize(std::max<std::size_t>(pcm.size(), static_cast<std::size_t>(lead) * channels));
        meter.Feed(pcm.data(), stream.Read(pcm.data(), static_cast<std::size_t>(lead)));
        if (stream.Position() != first) stream.SeekAsFromStart(first);  // the lead did not decode
    }
    if (!Claim(part, worker, straight)) return false;
    std::uint64_t done = 0;
    std::size_t got = already;
    while (!stop_.load(std::memory_order_relaxed)) {
        if (done == 0 && got > 0) {
            std::lock_guard lock(progressMutex_);
            parts_[part].head.assign(pcm.begin(), pcm.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(got, kSeamSamples) * channels));
            finishedChanged_.notify_all();
        }
        StoreBlocks(pcm.data(), first + done, got, meter);
        done += got;
        if (!Publish(part, done)) return false;
        if (done == length) break;
        const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(kReadBlocks * kBlockSamples, length - done));
        got = stream.Read(pcm.data(), wanted);
        if (got == 0) break;  // where the file stops decoding
    }
    Leave(part, worker, done == 0);
    return done == length;
}

// The part to level after `part`: the next one straight on where no worker has
// taken it; where one has, this decode reads its first samples, and takes it over
// where they are not that worker's (its start did not stand as the file's start).
std::size_t Waveform::NextPart(Mp3Stream& stream, std::size_t part, std::vector<std::int16_t>& pcm,
                               std::size_t& already, bool& straight) {
    const std::size_t next = part + 1;
    already = 0;
    straight = false;
    std::size_t untaken = next;
    if (next < parts_.size() && nextPart_.compare_exchange_strong(untaken, next + 1)) {
        straight = true;
        return next;
    }
    if (next >= parts_.size()) return nextPart_++;
    const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(kSeamSamples, partStarts_[next + 1] - partStarts_[next]));
    already = stream.Read(pcm.data(), count);
    const std::size_t values = already * static_cast<std::size_t>(channels_);
    std::unique_lock lock(progressMutex_);
    PartState& after = parts_[next];
    finishedChanged_.wait(lock, [&] { return stop_.load(std::memory_order_relaxed) || !after.head.empty() || after.failed; });
    if (after.head.size() == values && std::equal(after.head.begin(), after.head.end(), pcm.begin())) {
        after.joined = true;
        Advance();
        already = 0;
        return nextPart_++;
    }
    after.takenOver = after.writer >= 0;
    straight = true;
    return next;
}

// Makes `worker` the part's writer once its last one has left it.
bool Waveform::Claim(std::size_t part, int worker, bool straight) {
    std::unique_lock lock(progressMutex_);
    PartState& state = parts_[part];
    finishedChanged_.wait(lock, [&] { return stop_.load(std::memory_order_relaxed) || state.writer < 0; });
    if (stop_.load(std::memory_order_relaxed)) return false;
    state.writer = worker;
    state.takenOver = false;
    state.failed = false;
    state.done = 0;
    state.head.clear();
    state.joined = state.joined || straight;
    // The part after was checked against this one's last levelling, if any: it is checked again.
    if (part + 1 < parts_.size()) parts_[part + 1].joined = false;
    return true;
}

void Waveform::Leave(std::size_t part, int worker, bool failed) noexcept {
    std::lock_guard lock(progressMutex_);
    PartState& state = parts_[part];
    if (state.writer != worker) return;
    state.writer = -1;
    state.failed = failed;
    finishedChanged_.notify_all();
}

namespace {

// One channel's level over `count` samples, interleaved among `channels` (a
// constant where it can be, so that the loop is vectorised).
template <std::size_t channels>
void MeasureBlock(const std::int16_t* samples, std::size_t count, std::size_t channelCount, std::int16_t& low,
                  std::int16_t& high, std::int64_t& squares) {
    const std::size_t step = channels ? channels : channelCount;
    low = samples[0];
    high = samples[0];
    squares = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::int16_t s = samples[i * step];
        low = std::min(low, s);
        high = std::max(high, s);
        squares += std::int32_t{s} * s;
    }
}

}  // namespace

// Blocks from the one at `first` (a block's start) on, from `count` samples.
void Waveform::StoreBlocks(const std::int16_t* pcm, std::uint64_t first, std::size_t count, LoudnessMeter& meter) {
    const std::size_t channels = static_cast<std::size_t>(channels_);
    if (measuresLoudness_) meter.Measure(pcm, count, loudness_.data() + first / kBlockSamples);
    const auto measure = channels == 1 ? MeasureBlock<1> : channels == 2 ? MeasureBlock<2> : MeasureBlock<0>;
    for (std::size_t at = 0; at < count; at += kBlockSamples) {
        const std::size_t samples = std::min<std::size_t>(kBlockSamples, count - at);
        const std::size_t block = static_cast<std::size_t>((first + at) / kBlockSamples);
        for (std::size_t c = 0; c < channels; ++c) {
            BlockLevel& level = blocks_[block * channels + c];
            std::int64_t squares = 0;
            measure(pcm + at * channels + c, samples, channels, level.low, level.high, squares);
            level.rms = static_cast<std::uint16_t>(std::lround(std::sqrt(static_cast<double>(squares) / static_cast<double>(samples))));
        }
    }
}

// False where the part is to be left to another decode.
bool Waveform::Publish(std::size_t part, std::uint64_t done) {
    std::lock_guard lock(progressMutex_);
    PartState& state = parts_[part];
    if (state.takenOver) {
        state.writer = -1;
        finishedChanged_.notify_all();
        return false;
    }
    state.done = done;
    Advance();
    return true;
}

// The ready prefix runs through the parts that are done and go on from the part
// before to where the first one that is not has got; the groups it passes are
// summed up before it is published. Under progressMutex_.
void Waveform::Advance() {
    const std::uint64_t ready = ready_.load(std::memory_order_relaxed);
    std::size_t open = static_cast<std::size_t>(std::upper_bound(partStarts_.begin(), partStarts_.end(), ready) - partStarts_.begin()) - 1;
    open = std::min(open, parts_.size() - 1);
    auto length = [this](std::size_t part) { return partStarts_[part + 1] - partStarts_[part]; };
    while (open + 1 < parts_.size() && parts_[open].joined && parts_[open].done == length(open)) {
        // A part the prefix has passed is never levelled again nor checked.
        std::vector<std::int16_t>().swap(parts_[open].head);
        ++open;
    }
    const std::uint64_t newReady = partStarts_[open] + (parts_[open].joined ? parts_[open].done : 0);
    if (newReady <= ready) return;
    const std::size_t channels = static_cast<std::size_t>(channels_);
    // Complete blocks: the file's last one may be short.
    const std::uint64_t blocks = newReady == length_ ? CeilDiv(length_, kBlockSamples) : newReady / kBlockSamples;
    for (std::uint64_t group = ready / kBlockSamples / kGroupBlocks; group < blocks / kGroupBlocks; ++group) {
        for (std::size_t c = 0; c < channels; ++c) {
            GroupLevel level;
            for (std::uint64_t b = group * kGroupBlocks; b < (group + 1) * kGroupBlocks; ++b) {
                const BlockLevel& stored = blocks_[static_cast<std::size_t>(b) * channels + c];
                level.peak.Add(Peak{stored.low, stored.high});
                level.squares += static_cast<double>(stored.rms) * stored.rms * static_cast<double>(BlockLength(b));
            }
            groups_[static_cast<std::size_t>(group) * channels + c] = level;
        }
    }
    ready_.store(newReady, std::memory_order_release);
}

std::uint64_t Waveform::BlockLength(std::uint64_t block) const noexcept {
    return std::min<std::uint64_t>(kBlockSamples, length_ - block * kBlockSamples);
}

Level Waveform::LevelOf(std::uint64_t first, std::uint64_t end, int channel) const noexcept {
    Level level;
    end = std::min(end, ReadyLength());
    if (first >= end || channel < 0 || channel >= channels_) return level;
    const std::size_t channels = static_cast<std::size_t>(channels_);
    const std::size_t c = static_cast<std::size_t>(channel);
    double squares = 0;
    auto addBlock = [&](std::uint64_t block) {
        const BlockLevel& stored = blocks_[static_cast<std::size_t>(block) * channels + c];
        level.peak.Add(Peak{stored.low, stored.high});
        squares += static_cast<double>(stored.rms) * stored.rms * static_cast<double>(BlockLength(block));
    };
    std::uint64_t block = first / kBlockSamples;
    const std::uint64_t endBlock = CeilDiv(end, kBlockSamples);
    for (; block < endBlock && block % kGroupBlocks != 0; ++block) addBlock(block);
    for (; block + kGroupBlocks <= endBlock; block += kGroupBlocks) {
        const GroupLevel& group = groups_[static_cast<std::size_t>(block / kGroupBlocks) * channels + c];
        level.peak.Add(group.peak);
        squares += group.squares;
    }
    for (; block < endBlock; ++block) addBlock(block);
    const std::uint64_t samples = std::min(endBlock * kBlockSamples, length_) - first / kBlockSamples * kBlockSamples;
    level.rms = std::sqrt(squares / static_cast<double>(samples));
    return level;
}

Level Waveform::LevelOf(std::uint64_t first, std::uint64_t end) const noexcept {
    Level all;
    double squares = 0;
    for (int c = 0; c < channels_; ++c) {
        const Level level = LevelOf(first, end, c);
        all.peak.Add(level.peak);
        squares += level.rms * level.rms;
    }
    all.rms = std::sqrt(squares / channels_);
    return all;
}

Loudness Waveform::LoudnessOf(std::uint64_t first, std::uint64_t end) const {
    // Once the workers have ended, a file that stops decoding is measured up to there.
    end = std::min(end, Finished() ? ReadyLength() : length_);
    if (first >= end || end > ReadyLength() || !measuresLoudness_) return {};
    Loudness loudness = media::LoudnessOf(loudness_.data(), length_, kBlockSamples, sampleRate_, first, end);
    const Peak peak = PeakOf(first, end);
    const double samplePeak = peak.Empty() ? 0 : std::max(-static_cast<double>(peak.low), static_cast<double>(peak.high));
    loudness.samplePeak = DecibelsOf(samplePeak);
    return loudness;
}

std::vector<std::int16_t> Waveform::Samples(std::uint64_t first, std::size_t count) {
    std::vector<std::int16_t> samples;
    if (first >= length_) return samples;
    count = static_cast<std::size_t>(std::min<std::uint64_t>(count, length_ - first));
    try {
        if (!reader_) reader_ = std::make_unique<Mp3Stream>(path_, index_);
        samples.resize(count * static_cast<std::size_t>(channels_));
        reader_->SeekAsFromStart(first);  // the very samples the levels were computed from
        samples.resize(reader_->Read(samples.data(), count) * static_cast<std::size_t>(channels_));
    } catch (...) {
        samples.clear();
    }
    return samples;
}

std::size_t Waveform::PeakBytes() const noexcept {
    return blocks_.size() * sizeof(BlockLevel) + groups_.size() * sizeof(GroupLevel) +
           loudness_.size() * sizeof(LoudnessBlock) + partStarts_.size() * sizeof(std::uint64_t) +
           parts_.size() * sizeof(PartState);
}

}  // namespace media
