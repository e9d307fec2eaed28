#include "media/Waveform.h"

#include <algorithm>

#include "media/Mp3Stream.h"

namespace media {

namespace {

// Blocks decoded between two publications of the progress.
constexpr std::size_t kChunkBlocks = 64;

std::uint64_t BlocksFor(std::uint64_t samples, std::uint64_t perBlock) { return (samples + perBlock - 1) / perBlock; }

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

Waveform::Waveform(const std::wstring& path, std::shared_ptr<const Mp3Index> index)
    : path_(path),
      index_(std::move(index)),
      sampleRate_(index_->format.sampleRate),
      channels_(index_->format.channels),
      length_(index_->PlayableSampleCount()),
      blocks_(static_cast<std::size_t>(BlocksFor(length_, kBlockSamples))),
      groups_(static_cast<std::size_t>(blocks_.size() / kGroupBlocks)) {
    worker_ = std::thread([this] { Run(); });
}

Waveform::~Waveform() {
    stop_.store(true, std::memory_order_relaxed);
    worker_.join();
}

void Waveform::Run() noexcept {
    try {
        Mp3Stream stream(path_, index_);
        Compute(stream);
    } catch (...) {
        // A file that cannot be opened or decoded any more: what is ready stays, the rest is unreadable.
    }
    finished_.store(true, std::memory_order_release);
}

void Waveform::Compute(Mp3Stream& stream) {
    const std::size_t channels = static_cast<std::size_t>(channels_);
    std::vector<std::int16_t> pcm(kChunkBlocks * kBlockSamples * channels);
    std::uint64_t done = 0;
    while (done < length_ && !stop_.load(std::memory_order_relaxed)) {
        // A file read again since the player indexed it may have grown.
        const std::size_t got = stream.Read(
            pcm.data(), static_cast<std::size_t>(std::min<std::uint64_t>(kChunkBlocks * kBlockSamples, length_ - done)));
        for (std::size_t at = 0; at < got; at += kBlockSamples) {
            const std::size_t count = std::min<std::size_t>(kBlockSamples, got - at);
            const auto [low, high] = std::minmax_element(pcm.data() + at * channels, pcm.data() + (at + count) * channels);
            const std::size_t block = static_cast<std::size_t>((done + at) / kBlockSamples);
            blocks_[block] = Peak{*low, *high};
            if ((block + 1) % kGroupBlocks == 0) {
                Peak group;
                for (std::size_t b = block + 1 - kGroupBlocks; b <= block; ++b) group.Add(blocks_[b]);
                groups_[block / kGroupBlocks] = group;
            }
        }
        done += got;
        ready_.store(done, std::memory_order_release);
        if (got < kChunkBlocks * kBlockSamples) break;  // the end, or where the file stops decoding
    }
}

Peak Waveform::PeakOf(std::uint64_t first, std::uint64_t end) const noexcept {
    Peak peak;
    end = std::min(end, ReadyLength());
    if (first >= end) return peak;
    std::uint64_t block = first / kBlockSamples;
    const std::uint64_t endBlock = BlocksFor(end, kBlockSamples);
    for (; block < endBlock && block % kGroupBlocks != 0; ++block) peak.Add(blocks_[static_cast<std::size_t>(block)]);
    for (; block + kGroupBlocks <= endBlock; block += kGroupBlocks)
        peak.Add(groups_[static_cast<std::size_t>(block / kGroupBlocks)]);
    for (; block < endBlock; ++block) peak.Add(blocks_[static_cast<std::size_t>(block)]);
    return peak;
}

std::vector<std::int16_t> Waveform::Samples(std::uint64_t first, std::size_t count) {
    std::vector<std::int16_t> samples;
    if (first >= length_) return samples;
    count = static_cast<std::size_t>(std::min<std::uint64_t>(count, length_ - first));
    try {
        if (!reader_) reader_ = std::make_unique<Mp3Stream>(path_, index_);
        samples.resize(count * static_cast<std::size_t>(channels_));
        reader_->Seek(first);
        samples.resize(reader_->Read(samples.data(), count) * static_cast<std::size_t>(channels_));
    } catch (...) {
        samples.clear();
    }
    return samples;
}

std::size_t Waveform::PeakBytes() const noexcept { return (blocks_.size() + groups_.size()) * sizeof(Peak); }

}  // namespace media
