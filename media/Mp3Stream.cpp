#include "media/Mp3Stream.h"

#include <algorithm>
#include <cstring>
#include <optional>

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

std::shared_ptr<const Mp3Index> ReadIndex(const MediaFile& file) {
    return std::make_shared<const Mp3Index>(Mp3Reader(file).Read());
}

}  // namespace

Mp3Stream::Mp3Stream(const std::wstring& path)
    : file_(path), sharedIndex_(ReadIndex(file_)), index_(*sharedIndex_), decoder_(index_.format) {
    Seek(0);
}

Mp3Stream::Mp3Stream(const std::wstring& path, std::shared_ptr<const Mp3Index> index)
    : file_(path), sharedIndex_(std::move(index)), index_(*sharedIndex_), decoder_(index_.format) {
    Seek(0);
}

std::uint64_t Mp3Stream::Length() const noexcept { return index_.PlayableSampleCount(); }

void Mp3Stream::Seek(std::uint64_t sample) {
    position_ = std::min(sample, Length());
    pcm_.clear();
    pcmRead_ = 0;
    std::uint64_t spf = static_cast<std::uint64_t>(index_.format.SamplesPerFrame());
    std::uint64_t streamSample = position_ + static_cast<std::uint64_t>(index_.encoderDelay);
    std::uint64_t target = streamSample / spf;
    if (target >= index_.FrameCount()) {
        nextFrame_ = index_.frameOffsets.size();
        skip_ = 0;
        return;
    }
    nextFrame_ = PrimingStart(static_cast<std::size_t>(target));
    skip_ = streamSample - nextFrame_ * spf + AcmDecoder::kDecoderDelay;
    if (!decoder_.Restart()) nextFrame_ = index_.frameOffsets.size();
}

// A frame's audio may begin in the main data of the frames before it (the bit
// reservoir); decoded without them it comes out as silence, and the frames after
// it come out partly wrong. So decoding starts early enough that the target frame
// and the two before it find all their main data.
std::size_t Mp3Stream::PrimingStart(std::size_t target) {
    std::size_t lowest = target > kMaxPrimingFrames ? target - kMaxPrimingFrames : 0;
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
    std::size_t end = first + 1;
    while (end < offsets.size() && end - first < kBatchFrames && offsets[end] - offsets[first] < kMaxBatchBytes) ++end;

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
    if (gains_) gains_->Apply(frames_, index_.format, FrameStartSample(index_, first));
    // The codec starts decoding only once the next frame's header confirms the
    // first one's: the last frame is followed by a copy of its header, or a lone
    // frame (or a seek into the last one) would never play.
    if (fed == offsets.size()) {
        std::size_t last = static_cast<std::size_t>(offsets[fed - 1] - from);
        frames_.insert(frames_.end(), raw_.begin() + static_cast<std::ptrdiff_t>(last),
                       raw_.begin() + static_cast<std::ptrdiff_t>(last + FrameHeader::kSize));
    }
    nextFrame_ = fed;
    if (!decoder_.Decode(frames_.data(), frames_.size(), pcm_)) {
        if (!decoder_.Restart()) {
            nextFrame_ = offsets.size();
            return false;
        }
        // Keep the time line: the frames the codec refused last as long as silence.
        pcm_.resize(pcm_.size() + (fed - first) * index_.format.SamplesPerFrame() * Channels(), 0);
    }
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
