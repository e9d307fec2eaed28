#include "media/Mp3Reader.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "media/Id3v2Tag.h"
#include "media/MediaError.h"
#include "media/TrailingTags.h"
#include "media/VbrHeader.h"

namespace media {

namespace {

// Reads this large cost little more than the copying; a larger buffer costs
// more in fresh memory than it saves in calls.
constexpr std::size_t kChunkSize = 256 << 10;

constexpr std::uint64_t kMaxTagBytesForTitle = 1 << 20;

// Damaged or foreign bytes tolerated before the first frame.
constexpr std::uint64_t kMaxBytesBeforeAudio = 1 << 20;

// The header bits that decide a frame's size and stream, all but the padding bit:
// sync, version, layer, CRC, bitrate, sample rate, channel mode and emphasis.
constexpr std::uint32_t kRepeatMask = 0xFFFFFCC3;
constexpr std::uint32_t kPaddingBit = 0x200;

std::uint32_t HeaderWord(const std::uint8_t* b) noexcept {
    return (std::uint32_t{b[0]} << 24) | (std::uint32_t{b[1]} << 16) | (std::uint32_t{b[2]} << 8) | b[3];
}

}  // namespace

Mp3Reader::Mp3Reader(const MediaFile& file) : file_(file), limit_(file.Size()) {}

std::span<const std::uint8_t> Mp3Reader::At(std::uint64_t pos, std::size_t count) {
    if (pos >= limit_) return {};
    std::uint64_t bufferEnd = bufferStart_ + bufferLength_;
    bool inBuffer = pos >= bufferStart_ && pos < bufferEnd;
    if (!inBuffer || (pos + count > bufferEnd && bufferEnd < limit_)) {
        if (buffer_.empty()) buffer_.resize(kChunkSize);
        std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(buffer_.size(), limit_ - pos));
        bufferStart_ = pos;
        bufferLength_ = file_.ReadAt(pos, buffer_.data(), wanted);
        // The file got shorter since it was measured: read no further than it goes.
        if (bufferLength_ < wanted) limit_ = pos + bufferLength_;
        if (bufferLength_ == 0) return {};
    }
    return {buffer_.data() + (pos - bufferStart_), bufferLength_ - static_cast<std::size_t>(pos - bufferStart_)};
}

Mp3Index Mp3Reader::Read() {
    if (file_.Size() == 0) throw MediaError(L"The file is empty.");
    Mp3Index index;
    std::uint64_t audioStart = SkipLeadingTags(index.title);
    limit_ = AudioEndBeforeTrailingTags(file_, audioStart, limit_);
    index.audioEnd = limit_;
    IndexFrames(audioStart, index);
    if (index.frameOffsets.empty()) {
        throw MediaError(
            L"The file holds no MPEG audio that can be played: it is not an MP3 file, or it is damaged.");
    }
    return index;
}

std::uint64_t Mp3Reader::SkipLeadingTags(std::wstring& title) {
    std::uint64_t pos = 0;
    for (;;) {
        std::uint8_t header[Id3v2Tag::kHeaderSize];
        if (file_.ReadAt(pos, header, sizeof header) < sizeof header) return pos;
        auto tag = Id3v2Tag::FromHeader(header);
        if (!tag) return pos;
        std::uint64_t size = tag->TotalSize();
        if (size > limit_ - pos) throw MediaError(L"The file ends inside its ID3 tag, before any audio: it has been cut short.");
        if (title.empty()) {
            // The title comes early in a tag; a large picture after it need not be read.
            std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::min(size, kMaxTagBytesForTitle)));
            std::size_t read = file_.ReadAt(pos, bytes.data(), bytes.size());
            title = tag->Title(bytes.data(), read);
        }
        pos += size;
    }
}

void Mp3Reader::IndexFrames(std::uint64_t pos, Mp3Index& index) {
    const std::uint64_t audioStart = pos;
    std::optional<FrameHeader> stream;
    std::uint64_t expected = limit_;
    // Most frames repeat the header of the one before but for the padding bit:
    // those are taken on sight, without parsing the header again.
    std::uint32_t repeatedHeader = 0;
    std::size_t unpaddedSize = 0;
    while (pos + FrameHeader::kSize <= limit_) {
        // Audio starts at once in an MP3 file: a large file of something else is not read to its end.
        if (!stream && pos - audioStart > kMaxBytesBeforeAudio) break;
        auto bytes = At(pos, FrameHeader::kSize);
        if (bytes.size() < FrameHeader::kSize) break;
        std::uint32_t word = HeaderWord(bytes.data());
        if (pos == expected && (word & kRepeatMask) == repeatedHeader) {
            // Run through the frames in memory for as long as they repeat the header.
            std::size_t at = 0;
            while (at + FrameHeader::kSize <= bytes.size()) {
                std::uint32_t next = HeaderWord(bytes.data() + at);
                std::size_t size = unpaddedSize + static_cast<std::size_t>((next & kPaddingBit) != 0);
                if ((next & kRepeatMask) != repeatedHeader || pos + at + size > limit_) break;
                index.frameOffsets.push_back(pos + at);
                at += size;
            }
            if (at > 0) {
                pos += at;
                expected = pos;
                continue;
            }
        }
        if (pos == expected && bytes[0] == 'I') {
            auto header = At(pos, Id3v2Tag::kHeaderSize);
            if (header.size() >= Id3v2Tag::kHeaderSize) {
                if (auto tag = Id3v2Tag::FromHeader(header.data())) {
                    pos += tag->TotalSize();
                    expected = pos;
                    continue;
                }
            }
        }
        auto frame = FrameHeader::Parse(bytes.data());
        bool fits = frame && pos + frame->frameSize <= limit_ && (!stream || frame->SameStreamAs(*stream));
        bool accepted = fits && ((stream && pos == expected) || NextHeaderAgrees(*frame, pos));
        if (!accepted) {
            pos = NextSync(pos + 1);
            continue;
        }
        repeatedHeader = word & kRepeatMask;
        unpaddedSize = static_cast<std::size_t>(frame->frameSize - (frame->padded ? 1 : 0));
        if (!stream) {
            stream = frame;
            index.format = *frame;
            index.frameOffsets.reserve(static_cast<std::size_t>((limit_ - pos) / frame->frameSize + 16));
            auto whole = At(pos, static_cast<std::size_t>(frame->frameSize));
            if (auto vbr = VbrHeader::Read(*frame, whole.data())) {
                index.infoFrame = pos;
                index.declaredFrames = vbr->frames;
                index.encoderDelay = vbr->encoderDelay;
                index.encoderPadding = vbr->encoderPadding;
                pos += frame->frameSize;
                expected = pos;
                continue;
            }
        }
        index.frameOffsets.push_back(pos);
        pos += frame->frameSize;
        expected = pos;
    }
}

bool Mp3Reader::NextHeaderAgrees(const FrameHeader& header, std::uint64_t pos) {
    std::uint64_t next = pos + header.frameSize;
    if (next == limit_) return true;
    auto bytes = At(next, FrameHeader::kSize);
    if (bytes.size() < FrameHeader::kSize) return false;
    auto following = FrameHeader::Parse(bytes.data());
    return following && following->SameStreamAs(header);
}

std::uint64_t Mp3Reader::NextSync(std::uint64_t pos) {
    for (;;) {
        auto bytes = At(pos, FrameHeader::kSize);
        if (bytes.empty()) return limit_;
        const void* found = std::memchr(bytes.data(), 0xFF, bytes.size());
        if (found) return pos + static_cast<std::size_t>(static_cast<const std::uint8_t*>(found) - bytes.data());
        pos += bytes.size();
    }
}

}  // namespace media
