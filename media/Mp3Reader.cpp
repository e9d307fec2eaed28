#include "media/Mp3Reader.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "media/MediaError.h"
#include "media/TrailingTags.h"
#include "media/VbrHeader.h"

namespace media {

namespace {

// Reads this large cost little more than the copying; a larger buffer costs
// more in fresh memory than it saves in calls.
constexpr std::size_t kChunkSize = 256 << 10;
// What the buffer keeps of the bytes before the one asked for when it moves on:
// a look past a damaged frame comes back to where it started.
constexpr std::uint64_t kLookBehind = 16 << 10;

constexpr std::uint64_t kMaxTagBytesForTitle = 1 << 20;
constexpr std::uint64_t kId3v1Size = 128;

// Damaged or foreign bytes tolerated before the first frame.
constexpr std::uint64_t kMaxBytesBeforeAudio = 1 << 20;
// Zero bytes tolerated where audio may begin: taggers leave room to grow a tag,
// but a file of nothing else is not read to its end.
constexpr std::uint64_t kMaxPadding = 4 << 20;

// The header bits that decide a frame's size and stream, all but the padding bit:
// sync, version, layer, CRC, bitrate, sample rate, channel mode and emphasis.
constexpr std::uint32_t kRepeatMask = 0xFFFFFCC3;
constexpr std::uint32_t kPaddingBit = 0x200;
// What every frame of one stream has in common: sync, version, layer, CRC, sample rate and emphasis.
constexpr std::uint32_t kStreamMask = 0xFFFF0C03;
constexpr std::uint32_t kBitrateMask = 0xF000;

std::uint32_t HeaderWord(const std::uint8_t* b) noexcept {
    return (std::uint32_t{b[0]} << 24) | (std::uint32_t{b[1]} << 16) | (std::uint32_t{b[2]} << 8) | b[3];
}

// How many bytes of empty tag headers `bytes` starts with. They are stepped over
// in memory as fast as they are read: runs of them are copies of one another,
// compared forty bytes (four headers) at a time.
std::size_t EmptyTagsAt(std::span<const std::uint8_t> bytes) noexcept {
    constexpr std::size_t kSize = Id3v2Tag::kHeaderSize;
    constexpr std::size_t kWords = 5;
    std::size_t at = 0;
    if (bytes.size() >= kWords * 8 && std::memcmp(bytes.data(), bytes.data() + kSize, kWords * 8 - kSize) == 0 &&
        Id3v2Tag::IsEmptyHeader(bytes.data())) {
        std::uint64_t run[kWords];
        std::memcpy(run, bytes.data(), sizeof run);
        while (at + sizeof run <= bytes.size()) {
            std::uint64_t next[kWords];
            std::memcpy(next, bytes.data() + at, sizeof next);
            if (((next[0] ^ run[0]) | (next[1] ^ run[1]) | (next[2] ^ run[2]) | (next[3] ^ run[3]) |
                 (next[4] ^ run[4])) != 0)
                break;
            at += sizeof run;
        }
    }
    while (at + kSize <= bytes.size() && Id3v2Tag::IsEmptyHeader(bytes.data() + at)) at += kSize;
    return at;
}

// Adds an audio frame to the index, noting where the channel count changes.
void Take(Mp3Index& index, std::uint64_t offset, int channels) {
    if (channels != (index.frameOffsets.empty() ? index.format.channels : index.ChannelsOf(index.FrameCount() - 1)))
        index.channelChanges.push_back(index.FrameCount());
    index.frameOffsets.push_back(offset);
}

}  // namespace

Mp3Reader::Mp3Reader(const MediaFile& file) : file_(file), limit_(file.Size()) {}

std::span<const std::uint8_t> Mp3Reader::At(std::uint64_t pos, std::size_t count) {
    if (pos >= limit_) return {};
    std::uint64_t bufferEnd = bufferStart_ + bufferLength_;
    bool inBuffer = pos >= bufferStart_ && pos < bufferEnd;
    if (!inBuffer || (pos + count > bufferEnd && bufferEnd < limit_)) {
        if (buffer_.empty()) buffer_.resize(kChunkSize);
        std::uint64_t start = pos - std::min(pos, kLookBehind);
        if (inBuffer) start = std::max(start, bufferStart_);
        // What the buffer already holds is moved, not read again, so the file is read straight through.
        std::size_t kept = 0;
        if (start >= bufferStart_ && start < bufferEnd) {
            kept = static_cast<std::size_t>(bufferEnd - start);
            std::memmove(buffer_.data(), buffer_.data() + (start - bufferStart_), kept);
        }
        std::uint64_t from = start + kept;
        std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(buffer_.size() - kept, limit_ - from));
        std::size_t read = wanted > 0 ? file_.ReadAt(from, buffer_.data() + kept, wanted) : 0;
        // The file got shorter since it was measured: read no further than it goes.
        if (read < wanted) limit_ = from + read;
        bufferStart_ = start;
        bufferLength_ = kept + read;
        if (pos >= bufferStart_ + bufferLength_) return {};
    }
    std::size_t offset = static_cast<std::size_t>(pos - bufferStart_);
    return {buffer_.data() + offset, bufferLength_ - offset};
}

Mp3Index Mp3Reader::Read() {
    if (file_.Size() == 0) throw MediaError(L"The file is empty.");
    Mp3Index index;
    index.fileSize = file_.Size();
    index.lastWriteTime = file_.LastWriteTime();
    std::uint64_t audioStart = SkipLeadingTags(index.title);
    limit_ = AudioEndBeforeTrailingTags(file_, audioStart, limit_);
    index.audioEnd = limit_;
    IndexFrames(audioStart, index);
    // The padding comes at the end of the frames the information frame counts:
    // where more were found (files joined) or fewer (one cut short), not at the file's end.
    if (index.declaredFrames && *index.declaredFrames != index.FrameCount()) index.encoderPadding = 0;
    if (index.frameOffsets.empty()) {
        throw MediaError(L"The file holds no MPEG audio that can be played: it is not an MP3 file, or it is damaged.");
    }
    return index;
}

std::uint64_t Mp3Reader::SkipLeadingTags(std::wstring& title) {
    std::uint64_t pos = SkipPadding(0);
    for (;;) {
        auto header = At(pos, Id3v2Tag::kHeaderSize);
        std::size_t empty = EmptyTagsAt(header);
        if (empty > 0) {
            pos = SkipPadding(pos + empty);
            continue;
        }
        if (header.size() < Id3v2Tag::kHeaderSize) return pos;
        auto tag = Id3v2Tag::FromHeader(header.data());
        if (!tag) return pos;
        if (title.empty()) title = TitleOf(*tag, pos);
        pos = LeadingTagEnd(*tag, pos);
    }
}

std::wstring Mp3Reader::TitleOf(const Id3v2Tag& tag, std::uint64_t pos) {
    // The title comes early in a tag; a large picture after it need not be read.
    std::size_t wanted = static_cast<std::size_t>(std::min({tag.TotalSize(), kMaxTagBytesForTitle, limit_ - pos}));
    if (wanted <= kChunkSize - kLookBehind) {
        auto bytes = At(pos, wanted);
        return tag.Title(bytes.data(), std::min(bytes.size(), wanted));
    }
    std::vector<std::uint8_t> bytes(wanted);
    std::size_t read = file_.ReadAt(pos, bytes.data(), bytes.size());
    return tag.Title(bytes.data(), read);
}

// Where audio or the next tag begins after the tag at `pos`, its padding skipped.
// Some writers give a wrong size: a size that leads to neither is tried read as a
// plain number, and then the tag's own frames tell where its body really ends.
std::uint64_t Mp3Reader::LeadingTagEnd(const Id3v2Tag& tag, std::uint64_t pos) {
    std::uint64_t room = limit_ - pos;
    for (std::uint64_t size : {tag.TotalSize(), tag.PlainTotalSize()}) {
        if (size > room) continue;
        std::uint64_t end = SkipPadding(pos + size);
        if (AudioOrTagAt(end)) return end;
    }
    std::uint64_t framesEnd = pos + Id3v2Tag::kHeaderSize;
    for (;;) {
        auto bytes = At(framesEnd, tag.FrameHeaderSize());
        if (bytes.size() < tag.FrameHeaderSize()) break;
        auto length = tag.FrameLength(bytes.data());
        if (!length || *length > limit_ - framesEnd) break;
        framesEnd += *length;
    }
    if (tag.TotalSize() <= room) return SkipPadding(std::max(pos + tag.TotalSize(), framesEnd));
    std::uint64_t end = SkipPadding(framesEnd);
    if (!AudioOrTagAt(end))
        throw MediaError(L"The file ends inside its ID3 tag, before any audio: it has been cut short.");
    return end;
}

std::uint64_t Mp3Reader::SkipPadding(std::uint64_t pos) {
    std::uint64_t end = std::min(limit_, pos + kMaxPadding);
    while (pos < end) {
        auto bytes = At(pos, 1);
        if (bytes.empty()) break;
        auto last = bytes.begin() + static_cast<std::ptrdiff_t>(std::min<std::uint64_t>(bytes.size(), end - pos));
        auto found = std::find_if(bytes.begin(), last, [](std::uint8_t b) { return b != 0; });
        pos += static_cast<std::uint64_t>(found - bytes.begin());
        if (found != last) break;
    }
    return pos;
}

// Whether the end of the audio, an ID3 tag, or a frame whose successor (or a tag) follows it starts at `pos`.
bool Mp3Reader::AudioOrTagAt(std::uint64_t pos) {
    if (pos >= limit_) return true;
    auto bytes = At(pos, Id3v2Tag::kHeaderSize);
    if (bytes.size() >= Id3v2Tag::kHeaderSize && Id3v2Tag::FromHeader(bytes.data())) return true;
    if (bytes.size() < FrameHeader::kSize) return false;
    auto frame = FrameHeader::Parse(bytes.data());
    if (!frame || static_cast<std::uint64_t>(frame->frameSize) > limit_ - pos) return false;
    std::uint64_t next = pos + frame->frameSize;
    if (next == limit_) return true;
    auto following = At(next, Id3v2Tag::kHeaderSize);
    if (following.size() >= Id3v2Tag::kHeaderSize && Id3v2Tag::FromHeader(following.data())) return true;
    if (following.size() < FrameHeader::kSize) return false;
    auto nextFrame = FrameHeader::Parse(following.data());
    return nextFrame && nextFrame->SameStreamAs(*frame);
}

// A tag between frames (an ID3v1 tag of a file joined on as well) is skipped only where its size holds up: the tag
// stays inside the file, frames do not go on right after its header (a tag's body never starts with one), and audio,
// another tag or the end follows it. Returns where that begins.
std::optional<std::uint64_t> Mp3Reader::TagBetweenFramesEnd(std::uint64_t pos) {
    auto header = At(pos, Id3v2Tag::kHeaderSize);
    if (header.size() >= 3 && std::memcmp(header.data(), "TAG", 3) == 0) {
        // The ID3v1 tag that ended a file another one was joined to.
        if (kId3v1Size > limit_ - pos) return std::nullopt;
        std::uint64_t end = SkipPadding(pos + kId3v1Size);
        if (!AudioOrTagAt(end)) return std::nullopt;
        return end;
    }
    if (header.size() < Id3v2Tag::kHeaderSize) return std::nullopt;
    auto tag = Id3v2Tag::FromHeader(header.data());
    if (!tag || tag->TotalSize() > limit_ - pos) return std::nullopt;
    if (tag->TotalSize() > Id3v2Tag::kHeaderSize && AudioOrTagAt(pos + Id3v2Tag::kHeaderSize)) return std::nullopt;
    std::uint64_t end = SkipPadding(pos + tag->TotalSize());
    if (!AudioOrTagAt(end)) return std::nullopt;
    return end;
}

void Mp3Reader::IndexFrames(std::uint64_t pos, Mp3Index& index) {
    // Audio starts at once in an MP3 file: a large file of something else is not read to its end.
    const std::uint64_t searchEnd = std::min(limit_, pos + kMaxBytesBeforeAudio);
    std::optional<FrameHeader> stream;
    FrameHeader run;  // the last frame taken
    std::uint64_t expected = limit_;
    // Most frames repeat the header of the one before but for the padding bit:
    // those are taken on sight, without parsing the header again.
    FrameHeader repeated;
    std::uint32_t repeatedHeader = 0;
    std::size_t unpaddedSize = 0;
    while (pos + FrameHeader::kSize <= limit_) {
        if (!stream && pos >= searchEnd) break;
        auto bytes = At(pos, VbrHeader::kMarkSpan);
        if (bytes.size() < FrameHeader::kSize) break;
        std::uint32_t word = HeaderWord(bytes.data());
        if (pos == expected && (word & kRepeatMask) == repeatedHeader) {
            // Run through the frames in memory for as long as they repeat the header
            // and none is an information frame of a part joined on.
            std::size_t at = 0;
            while (at + VbrHeader::kMarkSpan <= bytes.size()) {
                std::uint32_t next = HeaderWord(bytes.data() + at);
                std::size_t size = unpaddedSize + static_cast<std::size_t>((next & kPaddingBit) != 0);
                if ((next & kRepeatMask) != repeatedHeader || pos + at + size > limit_ ||
                    VbrHeader::Marked(repeated, bytes.data() + at))
                    break;
                Take(index, pos + at, repeated.channels);
                at += size;
            }
            if (at > 0) {
                pos += at;
                expected = pos;
                continue;
            }
        }
        if (pos == expected && (bytes[0] == 'I' || bytes[0] == 'T')) {
            if (auto end = TagBetweenFramesEnd(pos)) {
                pos = *end;
                expected = pos;
                continue;
            }
        }
        auto frame = FrameHeader::Parse(bytes.data());
        bool fits = frame && static_cast<std::uint64_t>(frame->frameSize) <= limit_ - pos;
        if (fits && stream && !frame->SameRateAs(*stream) && pos == expected && Followed(*frame, word, pos, 0)) {
            // A part at another sample rate joined on: its frames are stepped over whole.
            if (!index.otherFormat) {
                index.otherFormat = frame;
                index.framesBeforeOtherFormat = index.frameOffsets.size();
            }
            pos += frame->frameSize;
            expected = pos;
            continue;
        }
        // The first frame needs the next one to agree, or, past damaged frames, two
        // more like it each within a frame's reach. Later ones are taken where the
        // one before ends, and after damage where the stream goes on after them.
        // A part with another channel count joins on where the one before ends.
        bool accepted =
            fits && (!stream ? Followed(*frame, word, pos, 2)
                             : frame->SameStreamAs(run) ? pos == expected || Continued(*frame, word, pos)
                                                        : frame->SameRateAs(run) && pos == expected &&
                                                              Followed(*frame, word, pos, 0));
        if (!accepted) {
            pos = NextSync(pos + 1, stream ? limit_ : searchEnd);
            continue;
        }
        run = *frame;
        repeated = *frame;
        repeatedHeader = word & kRepeatMask;
        unpaddedSize = static_cast<std::size_t>(frame->frameSize - (frame->padded ? 1 : 0));
        auto whole = At(pos, static_cast<std::size_t>(frame->frameSize));
        auto vbr = VbrHeader::Read(*frame, whole.data());
        if (!stream) {
            stream = frame;
            index.format = *frame;
            if (vbr) {
                index.infoFrame = pos;
                index.declaredFrames = vbr->frames;
                index.encoderDelay = vbr->encoderDelay;
                index.encoderPadding = vbr->encoderPadding;
            }
        }
        // An information frame holds no audio, the first one or one that starts a part joined on.
        if (!vbr) Take(index, pos, frame->channels);
        pos += frame->frameSize;
        expected = pos;
    }
}

// Whether the stream goes on where the frame at `pos` says it ends: the next frame
// is there (or a tag, or the end), or a frame whose header is damaged is, which
// shows in the stream going on where a frame of this stream starting there could end.
bool Mp3Reader::Continued(const FrameHeader& header, std::uint32_t word, std::uint64_t pos) {
    if (Followed(header, word, pos, 0)) return true;
    const std::uint64_t next = pos + header.frameSize;
    for (std::uint32_t bitrate = 1; bitrate < 15; ++bitrate) {
        for (std::uint32_t padding : {0u, kPaddingBit}) {
            std::uint32_t damaged = (word & ~(kBitrateMask | kPaddingBit)) | (bitrate << 12) | padding;
            const std::uint8_t bytes[] = {static_cast<std::uint8_t>(damaged >> 24),
                                          static_cast<std::uint8_t>(damaged >> 16),
                                          static_cast<std::uint8_t>(damaged >> 8), static_cast<std::uint8_t>(damaged)};
            std::uint64_t after = next + static_cast<std::uint64_t>(FrameHeader::Parse(bytes)->frameSize);
            if (after == limit_) return true;
            auto following = At(after, FrameHeader::kSize);
            if (following.size() < FrameHeader::kSize) continue;
            auto frame = FrameHeader::Parse(following.data());
            if (frame && frame->SameStreamAs(header)) return true;
        }
    }
    return false;
}

// Whether more of the stream follows the frame at `pos`: the next frame at once
// (after any tags), or, with `hops` left, past a damaged frame another one just
// like this one within a frame's reach, itself followed in the same way.
bool Mp3Reader::Followed(const FrameHeader& header, std::uint32_t word, std::uint64_t pos, int hops) {
    std::uint64_t next = pos + header.frameSize;
    while (next < limit_) {
        auto end = TagBetweenFramesEnd(next);
        if (!end) break;
        next = *end;
    }
    if (next >= limit_) return true;
    auto bytes = At(next, FrameHeader::kSize);
    if (bytes.size() < FrameHeader::kSize) return false;
    auto following = FrameHeader::Parse(bytes.data());
    if (following && following->SameStreamAs(header)) return true;
    if (hops == 0) return false;
    std::uint64_t reach = std::min<std::uint64_t>(limit_, next + FrameHeader::kMaxFrameSize);
    for (std::uint64_t at = NextSync(next + 1, reach); at < reach; at = NextSync(at + 1, reach)) {
        auto candidate = At(at, FrameHeader::kSize);
        if (candidate.size() < FrameHeader::kSize) break;
        std::uint32_t candidateWord = HeaderWord(candidate.data());
        if (((candidateWord ^ word) & kStreamMask) != 0) continue;
        auto frame = FrameHeader::Parse(candidate.data());
        if (!frame || !frame->SameStreamAs(header) || static_cast<std::uint64_t>(frame->frameSize) > limit_ - at)
            continue;
        if (hops == 1 || Followed(*frame, candidateWord, at, hops - 1)) return true;
    }
    return false;
}

std::uint64_t Mp3Reader::NextSync(std::uint64_t pos, std::uint64_t end) {
    while (pos < end) {
        auto bytes = At(pos, 1);
        if (bytes.empty()) return end;
        std::size_t length = static_cast<std::size_t>(std::min<std::uint64_t>(bytes.size(), end - pos));
        const void* found = std::memchr(bytes.data(), 0xFF, length);
        if (found) return pos + static_cast<std::size_t>(static_cast<const std::uint8_t*>(found) - bytes.data());
        pos += length;
    }
    return end;
}

std::shared_ptr<const Mp3Index> CurrentIndex(const MediaFile& file, std::shared_ptr<const Mp3Index> earlier) {
    if (earlier && earlier->fileSize == file.Size() && earlier->lastWriteTime == file.LastWriteTime()) return earlier;
    return std::make_shared<const Mp3Index>(Mp3Reader(file).Read());
}

}  // namespace media
