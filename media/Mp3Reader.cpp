#include "media/Mp3Reader.h"

#include <cstring>

#include "media/Id3v2Tag.h"
#include "media/MediaError.h"
#include "media/TrailingTags.h"
#include "media/VbrHeader.h"

namespace media {

namespace {

// Large reads keep the scan as fast as reading the file; the slack lets a frame
// and the next header be looked at without a refill in between.
constexpr std::size_t kChunkSize = 1 << 20;
constexpr std::size_t kSlack = 2 * FrameHeader::kMaxFrameSize + 2 * FrameHeader::kSize;

}  // namespace

Mp3Reader::Mp3Reader(const MediaFile& file) : file_(file), limit_(file.Size()), buffer_(kChunkSize + kSlack) {}

std::span<const std::uint8_t> Mp3Reader::At(std::uint64_t pos, std::size_t count) {
    if (pos >= limit_) return {};
    bool buffered = pos >= bufferStart_ && pos + count <= bufferStart_ + bufferLength_;
    bool atEnd = pos >= bufferStart_ && bufferStart_ + bufferLength_ == limit_;
    if (!buffered && !atEnd) {
        std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(buffer_.size(), limit_ - pos));
        bufferStart_ = pos;
        bufferLength_ = file_.ReadAt(pos, buffer_.data(), wanted);
        // The file got shorter since it was measured: read no further than it goes.
        if (bufferLength_ < wanted) limit_ = pos + bufferLength_;
    }
    std::size_t offset = static_cast<std::size_t>(pos - bufferStart_);
    if (offset >= bufferLength_) return {};
    return {buffer_.data() + offset, bufferLength_ - offset};
}

Mp3Index Mp3Reader::Read() {
    if (file_.Size() == 0) throw MediaError(L"The file is empty.");
    Mp3Index index;
    std::uint64_t audioStart = SkipLeadingTags(index.title);
    limit_ = AudioEndBeforeTrailingTags(file_, audioStart, limit_);
    bufferLength_ = 0;
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
        auto header = At(pos, Id3v2Tag::kHeaderSize);
        if (header.size() < Id3v2Tag::kHeaderSize) return pos;
        auto tag = Id3v2Tag::FromHeader(header.data());
        if (!tag) return pos;
        std::uint64_t size = tag->TotalSize();
        if (size > limit_ - pos) throw MediaError(L"The file ends inside its ID3 tag, before any audio: it has been cut short.");
        if (title.empty()) {
            std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
            std::size_t read = file_.ReadAt(pos, bytes.data(), bytes.size());
            title = tag->Title(bytes.data(), read);
        }
        pos += size;
    }
}

void Mp3Reader::IndexFrames(std::uint64_t pos, Mp3Index& index) {
    std::optional<FrameHeader> stream;
    std::uint64_t expected = limit_;
    while (pos + FrameHeader::kSize <= limit_) {
        auto bytes = At(pos, FrameHeader::kSize);
        if (bytes.size() < FrameHeader::kSize) break;
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
        if (!stream) {
            stream = frame;
            index.format = *frame;
            auto whole = At(pos, static_cast<std::size_t>(frame->frameSize));
            if (auto vbr = VbrHeader::Read(*frame, whole.data())) {
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
