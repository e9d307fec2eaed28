#include "media/Mp3Stream.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <optional>

#include "media/FrameGrid.h"
#include "media/MediaError.h"
#include "media/Mp3Reader.h"

namespace media {

namespace {

// Frames decoded per call to the codec: fewer calls are faster, more take memory.
constexpr std::size_t kBatchFrames = 32;
// Frames a seek may go back to fill the bit reservoir (the lowest bitrates need twenty and more).
constexpr std::size_t kMaxPrimingFrames = 64;
// The most damaged data between two frames that one batch reads through.
constexpr std::uint64_t kMaxBatchBytes = 256 * 1024;

// Samples of `channels` channels appended to `out` in the count `outChannels`:
// one channel on both, two mixed to one.
void AppendConverted(const std::vector<std::int16_t>& pcm, int channels, int outChannels,
                     std::vector<std::int16_t>& out) {
    if (channels == 1 && outChannels == 2) {
        for (std::int16_t sample : pcm) out.insert(out.end(), 2, sample);
    } else {
        for (std::size_t i = 0; i + 1 < pcm.size(); i += 2)
            out.push_back(static_cast<std::int16_t>((pcm[i] + pcm[i + 1]) / 2));
    }
}

}  // namespace

Mp3Stream::Mp3Stream(const std::wstring& path) : Mp3Stream(path, nullptr) {}

Mp3Stream::Mp3Stream(const std::wstring& path, std::shared_ptr<const Mp3Index> index)
    : file_(path),
      sharedIndex_(CurrentIndex(file_, std::move(index))),
      index_(*sharedIndex_),
      decoder_(index_.format) {
    Seek(0);
}

AcmDecoder* Mp3Stream::DecoderFor(int channels) {
    AcmDecoder* decoder = &decoder_;
    if (channels != Channels()) {
        if (!otherDecoder_) {
            FrameHeader other = index_.format;
            other.channels = channels;
            otherDecoder_ = std::make_unique<AcmDecoder>(other);
        }
        decoder = otherDecoder_.get();
    }
    if (channels != decodingChannels_ && !decoder->Restart()) return nullptr;
    decodingChannels_ = channels;
    return decoder;
}

std::uint64_t Mp3Stream::Length() const noexcept { return index_.PlayableSampleCount(); }

void Mp3Stream::Seek(std::uint64_t sample) { SeekFrom(sample, 1); }

void Mp3Stream::SeekAsFromStart(std::uint64_t sample) { SeekFrom(sample, StateFrames(index_.format)); }

void Mp3Stream::SeekKeepingCodec(std::uint64_t sample) { SeekFrom(sample, 1, false); }

std::size_t Mp3Stream::StateFrames(const FrameHeader& format) noexcept {
    constexpr std::size_t kStateSamples = 131072;
    const std::size_t frameSamples = static_cast<std::size_t>(format.SamplesPerFrame() * format.channels);
    return kStateSamples / std::gcd(kStateSamples, frameSamples);
}

// Decoding starts on a frame whose number is a multiple of `alignment`.
void Mp3Stream::SeekFrom(std::uint64_t sample, std::size_t alignment, bool restart) {
    position_ = std::min(sample, Length());
    pcm_.clear();
    pcmRead_ = 0;
    const FrameGrid grid = FrameGrid::Of(index_);
    const std::uint64_t target = grid.FrameOf(position_);
    if (target >= index_.FrameCount()) {
        nextFrame_ = index_.frameOffsets.size();
        skip_ = 0;
        return;
    }
    nextFrame_ = PrimingStart(static_cast<std::size_t>(target)) / alignment * alignment;
    skip_ = grid.OutputBefore(nextFrame_, position_);
    // The frame that gives the sample out and the one before it must decode as
    // from a fresh codec: two frames decoded ahead of them take up what it held.
    // A codec that was last fed the copy of a header at a run's end would read it as a frame.
    if (restart || fedRunEnd_ || nextFrame_ + 2 > target) decodingChannels_ = 0;
    if (!DecoderFor(index_.ChannelsOf(nextFrame_))) nextFrame_ = index_.frameOffsets.size();
}

// A frame's audio may begin in the main data of the frames before it (the bit
// reservoir); decoded without them it comes out as silence, and the frames after
// it come out partly wrong. So decoding starts early enough that the target frame
// and the two before it find all their main data.
std::size_t Mp3Stream::PrimingStart(std::size_t target) {
    // A part with another channel count starts afresh: its first frame reads nothing before it.
    std::size_t lowest = std::max<std::size_t>(target > kMaxPrimingFrames ? target - kMaxPrimingFrames : 0,
                                               static_cast<std::size_t>(index_.RunStart(target)));
    struct FrameMainData {
        int size = 0;
        int begin = 0;
    };
    std::vector<std::optional<FrameMainData>> known(target - lowest + 1);
    auto mainData = [&](std::size_t frame) -> FrameMainData {
        auto& slot = known[frame - lowest];
        if (!slot) {
            std::uint8_t bytes[FrameHeader::kSize + 4]{};
            FrameMainData data;
            try {
                if (file_.ReadAt(index_.frameOffsets[frame], bytes, sizeof bytes) == sizeof bytes) {
                    if (auto header = FrameHeader::Parse(bytes))
                        data = {header->MainDataSize(), header->MainDataBegin(bytes)};
                }
            } catch (const MediaError&) {
            }
            slot = data;
        }
        return *slot;
    };

    std::size_t start = target;
    for (std::size_t back = 0; back <= 2 && back <= target; ++back) {
        std::size_t frame = target - back;
        int needed = mainData(frame).begin;
        std::size_t first = frame;
        while (needed > 0 && first > lowest) {
            --first;
            needed -= mainData(first).size;
        }
        start = std::min(start, first);
    }

    return start;
}

bool Mp3Stream::DecodeMore() {
    const auto& offsets = index_.frameOffsets;
    std::size_t first = nextFrame_;
    if (first >= offsets.size()) return false;
    // One batch holds frames of one channel count, for one codec.
    const int channels = index_.ChannelsOf(first);
    const auto runEnd = static_cast<std::size_t>(index_.RunEnd(first));
    std::size_t end = first + 1;
    while (end < runEnd && end - first < kBatchFrames && offsets[end] - offsets[first] < kMaxBatchBytes) ++end;

    std::uint64_t from = offsets[first];
    std::uint64_t to = std::min<std::uint64_t>(index_.audioEnd, offsets[end - 1] + FrameHeader::kMaxFrameSize);
    raw_.resize(static_cast<std::size_t>(to - from));
    std::size_t read = 0;
    try {
        read = file_.ReadAt(from, raw_.data(), raw_.size());
    } catch (const MediaError&) {
        read = 0;
    }

    // Only the frames themselves go to the codec, without whatever lay between them.
    frames_.clear();
    std::size_t fed = first;
    for (; fed < end; ++fed) {
        std::size_t at = static_cast<std::size_t>(offsets[fed] - from);
        if (at + FrameHeader::kSize > read) break;
        auto header = FrameHeader::Parse(raw_.data() + at);
        if (!header || at + header->frameSize > read) break;
        frames_.insert(frames_.end(), raw_.begin() + static_cast<std::ptrdiff_t>(at),
                       raw_.begin() + static_cast<std::ptrdiff_t>(at + header->frameSize));
    }
    if (fed == first) {
        // The file changed or went away under us: the stream ends here.
        nextFrame_ = offsets.size();
        return false;
    }
    if (gains_) gains_->Apply(frames_, index_.FormatOf(first), FrameGrid::Of(index_).FrameStart(first));
    // The codec starts decoding only once the next frame's header confirms the
    // first one's: the last frame of a run is followed by a copy of its header, or
    // a lone frame (or a seek into the last one) would never play.
    fedRunEnd_ = fed == runEnd;
    if (fedRunEnd_) {
        std::size_t last = static_cast<std::size_t>(offsets[fed - 1] - from);
        frames_.insert(frames_.end(), raw_.begin() + static_cast<std::ptrdiff_t>(last),
                       raw_.begin() + static_cast<std::ptrdiff_t>(last + FrameHeader::kSize));
    }
    nextFrame_ = fed;
    AcmDecoder* decoder = DecoderFor(channels);
    std::vector<std::int16_t>& decoded = channels == Channels() ? pcm_ : otherPcm_;
    otherPcm_.clear();
    if (!decoder || !decoder->Decode(frames_.data(), frames_.size(), decoded)) {
        if (!decoder || !decoder->Restart()) {
            nextFrame_ = offsets.size();
            return false;
        }
        // Keep the time line: the frames the codec refused last as long as silence.
        decoded.resize(decoded.size() + (fed - first) * index_.format.SamplesPerFrame() * channels, 0);
    }
    if (channels != Channels()) AppendConverted(otherPcm_, channels, Channels(), pcm_);
    return true;
}

std::size_t Mp3Stream::Read(std::int16_t* out, std::size_t count) {
    std::size_t channels = static_cast<std::size_t>(Channels());
    std::size_t written = 0;
    while (written < count && position_ < Length()) {
        if (pcmRead_ == pcm_.size()) {
            pcm_.clear();
            pcmRead_ = 0;
            if (!DecodeMore()) break;
            continue;
        }
        std::size_t available = (pcm_.size() - pcmRead_) / channels;
        if (available == 0) {
            pcmRead_ = pcm_.size();
            continue;
        }
        if (skip_ > 0) {
            std::size_t dropped = static_cast<std::size_t>(std::min<std::uint64_t>(skip_, available));
            pcmRead_ += dropped * channels;
            skip_ -= dropped;
            continue;
        }
        std::size_t n = std::min({available, count - written, static_cast<std::size_t>(Length() - position_)});
        std::memcpy(out + written * channels, pcm_.data() + pcmRead_, n * channels * sizeof(std::int16_t));
        pcmRead_ += n * channels;
        written += n;
        position_ += n;
    }
    return written;
}

}  // namespace media
