#include "media/ExactCut.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <exception>
#include <optional>
#include <vector>

#include "media/Id3v2Tag.h"
#include "media/InfoFrame.h"
#include "media/LameCrc16.h"
#include "media/MediaError.h"
#include "media/MediaFile.h"
#include "media/Mp3Reader.h"
#include "media/OutputFile.h"
#include "media/TrailingTags.h"
#include "media/VbrHeader.h"

namespace media {

namespace {

// A frame's first granule decodes wrongly when the frame before it is not
// decoded first (the transform's overlap is missing), so it lies before the selection.
constexpr std::uint64_t kGranule = 576;
// Reads this large cost the system little more than the copying.
constexpr std::size_t kChunkSize = 1 << 20;
// The furthest back a frame's main data can begin (MPEG-1; MPEG-2 reaches half as far).
constexpr std::uint64_t kMaxMainDataBegin = 511;

struct Frame {
    FrameHeader header;
    std::vector<std::uint8_t> bytes;
};

std::optional<Frame> ReadFrame(const MediaFile& file, std::uint64_t offset) {
    std::uint8_t start[FrameHeader::kSize];
    if (file.ReadAt(offset, start, sizeof start) < sizeof start) return std::nullopt;
    auto header = FrameHeader::Parse(start);
    if (!header) return std::nullopt;
    Frame frame{*header, std::vector<std::uint8_t>(static_cast<std::size_t>(header->frameSize))};
    if (file.ReadAt(offset, frame.bytes.data(), frame.bytes.size()) < frame.bytes.size()) return std::nullopt;
    return frame;
}

// The last `needed` bytes of main data before frame `first`, from the frames
// that lie unbroken before it; fewer when the file does not have them.
std::vector<std::uint8_t> Reservoir(const MediaFile& file, const Mp3Index& index, std::size_t first, int needed) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t frame = first; frame > 0 && static_cast<int>(bytes.size()) < needed; --frame) {
        auto before = ReadFrame(file, index.frameOffsets[frame - 1]);
        if (!before || index.frameOffsets[frame - 1] + before->header.frameSize != index.frameOffsets[frame]) break;
        bytes.insert(bytes.begin(), before->bytes.begin() + before->header.MainDataOffset(), before->bytes.end());
    }
    if (static_cast<int>(bytes.size()) < needed) return {};
    bytes.erase(bytes.begin(), bytes.end() - needed);
    return bytes;
}

// Frames that follow one another in the file, read through one large buffer.
class FrameRun {
public:
    explicit FrameRun(const MediaFile& file) : file_(file), buffer_(kChunkSize + FrameHeader::kMaxFrameSize) {}

    bool Holds(std::uint64_t offset, std::size_t count) const noexcept {
        return offset >= start_ && offset + count <= start_ + length_;
    }

    // `count` bytes at `offset`, or null where the file ends before them.
    const std::uint8_t* At(std::uint64_t offset, std::size_t count) {
        if (!Holds(offset, count)) {
            start_ = offset;
            length_ = file_.ReadAt(offset, buffer_.data(), buffer_.size());
            if (count > length_) return nullptr;
        }
        return buffer_.data() + (offset - start_);
    }

private:
    const MediaFile& file_;
    std::vector<std::uint8_t> buffer_;
    std::uint64_t start_ = 0;
    std::size_t length_ = 0;
};

std::vector<std::uint8_t> ReadBytes(const MediaFile& file, std::uint64_t begin, std::uint64_t end) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(end - begin));
    if (file.ReadAt(begin, bytes.data(), bytes.size()) < bytes.size()) throw MediaError(L"The file ended early.");
    return bytes;
}

// The tags before and after the audio of the encoder's copy.
struct Tags {
    std::vector<std::uint8_t> leading;
    std::vector<std::uint8_t> trailing;
};

Tags ReadTags(const std::wstring& path) {
    MediaFile file(path);
    std::uint64_t audio = 0;
    std::uint8_t header[Id3v2Tag::kHeaderSize];
    while (file.ReadAt(audio, header, sizeof header) == sizeof header) {
        auto tag = Id3v2Tag::FromHeader(header);
        if (!tag || tag->TotalSize() > file.Size() - audio) break;
        audio += tag->TotalSize();
    }
    // A copy that holds no audio is no stream copy to finish.
    if (!ReadFrame(file, audio)) throw MediaError(L"The encoder wrote no audio.");
    return {ReadBytes(file, 0, audio),
            ReadBytes(file, AudioEndBeforeTrailingTags(file, audio, file.Size()), file.Size())};
}

// The source's LAME tag, when it has one that gapless players take for one.
std::optional<std::array<std::uint8_t, InfoFrame::kLameTagSize>> SourceLameTag(const MediaFile& file,
                                                                               const Mp3Index& index) {
    if (!index.infoFrame) return std::nullopt;
    auto frame = ReadFrame(file, *index.infoFrame);
    if (!frame) return std::nullopt;
    auto vbr = VbrHeader::Read(frame->header, frame->bytes.data());
    if (!vbr || vbr->lameTag == 0 || vbr->lameTag + InfoFrame::kLameTagSize > frame->header.frameSize)
        return std::nullopt;
    const std::uint8_t* tag = frame->bytes.data() + vbr->lameTag;
    if (std::memcmp(tag, "LAME", 4) != 0 && std::memcmp(tag, "Lavf", 4) != 0 && std::memcmp(tag, "Lavc", 4) != 0)
        return std::nullopt;
    std::array<std::uint8_t, InfoFrame::kLameTagSize> bytes{};
    std::memcpy(bytes.data(), tag, bytes.size());
    return bytes;
}

int BitrateIndex(const std::uint8_t* frame) noexcept { return frame[2] >> 4; }

// What a cut writes, settled before anything is written.
struct Plan {
    std::size_t first = 0;  // the source's first and last frame to copy
    std::size_t last = 0;
    // The frames written ahead of those copied as they are: a silent frame that
    // carries the main data the first frame reads from before it, then frames up
    // to where no frame can reach before the cut any more, those that would read
    // main data the file does not hold made silent.
    std::vector<std::uint8_t> head;
    std::size_t copied = 0;      // the first frame copied as it is
    std::uint64_t musicEnd = 0;  // where the last frame ends in the source
    std::array<std::uint8_t, FrameHeader::kSize> infoHeader{};
    std::uint64_t frames = 0;  // audio frames written
    std::uint64_t delay = 0;
    std::uint64_t padding = 0;
};

std::optional<Plan> PlanCut(const MediaFile& source, const Mp3Index& index, SampleRange range) {
    const auto& offsets = index.frameOffsets;
    const std::uint64_t spf = static_cast<std::uint64_t>(index.format.SamplesPerFrame());
    // Where the selection starts among the samples the frames decode to.
    const std::uint64_t lead = range.first + static_cast<std::uint64_t>(index.encoderDelay);
    Plan plan;
    plan.first = static_cast<std::size_t>(lead >= kGranule ? (lead - kGranule) / spf : 0);
    plan.last = static_cast<std::size_t>((range.end - 1 + index.encoderDelay + FrameHeader::kDecoderDelay) / spf);
    if (plan.last >= offsets.size()) return std::nullopt;
    auto closing = ReadFrame(source, offsets[plan.last]);
    if (!closing) return std::nullopt;
    plan.musicEnd = offsets[plan.last] + closing->header.frameSize;

    auto opening = ReadFrame(source, offsets[plan.first]);
    if (!opening || !opening->header.SameStreamAs(index.format)) return std::nullopt;
    auto infoHeader = FrameHeader::ForMainData(opening->bytes.data(), InfoFrame::kContentSize);
    if (!infoHeader) return std::nullopt;
    plan.infoHeader = *infoHeader;

    // Main data before the next frame's own that holds what the source has there.
    std::uint64_t genuine = 0;
    const int needed = opening->header.MainDataBegin(opening->bytes.data());
    const std::vector<std::uint8_t> reservoir =
        needed > 0 ? Reservoir(source, index, plan.first, needed) : std::vector<std::uint8_t>{};
    if (!reservoir.empty()) {
        auto header = FrameHeader::ForMainData(opening->bytes.data(), needed);
        if (!header) return std::nullopt;
        plan.head.resize(static_cast<std::size_t>(FrameHeader::Parse(header->data())->frameSize));
        std::memcpy(plan.head.data(), header->data(), header->size());
        std::memcpy(plan.head.data() + plan.head.size() - reservoir.size(), reservoir.data(), reservoir.size());
        genuine = reservoir.size();
    }
    plan.copied = plan.first;
    for (; plan.copied <= plan.last && genuine < kMaxMainDataBegin; ++plan.copied) {
        auto frame = ReadFrame(source, offsets[plan.copied]);
        if (!frame || !frame->header.SameStreamAs(index.format)) return std::nullopt;
        const std::uint64_t next = offsets[plan.copied] + frame->header.frameSize;
        if (next != (plan.copied < plan.last ? offsets[plan.copied + 1] : plan.musicEnd)) return std::nullopt;
        if (static_cast<std::uint64_t>(frame->header.MainDataBegin(frame->bytes.data())) > genuine) {
            // Its audio begins in main data this file does not hold: silence beats noise.
            // (The checksum of a protected frame would no longer hold.)
            if (frame->header.hasCrc) return std::nullopt;
            std::memset(frame->bytes.data() + FrameHeader::kSize, 0,
                        static_cast<std::size_t>(frame->header.SideInfoSize()));
        }
        plan.head.insert(plan.head.end(), frame->bytes.begin(), frame->bytes.end());
        genuine += static_cast<std::uint64_t>(frame->header.MainDataSize());
    }

    const bool silentFrame = !reservoir.empty();
    plan.frames = (silentFrame ? 1 : 0) + plan.last - plan.first + 1;
    plan.delay = lead + (silentFrame ? spf : 0) - plan.first * spf;
    plan.padding = plan.frames * spf - plan.delay - (range.end - range.first);
    if (plan.delay > InfoFrame::kMaxCount || plan.padding > InfoFrame::kMaxCount) return std::nullopt;
    return plan;
}

// Writes the copy's tags around an information frame, the plan's head and the
// source's frames; false, with nothing replaced, where the frames are damaged.
bool WriteCut(const MediaFile& source, const Mp3Index& index, const Plan& plan, const std::wstring& copy) {
    const auto& offsets = index.frameOffsets;
    const std::uint64_t bulk = plan.copied <= plan.last ? offsets[plan.copied] : plan.musicEnd;
    const Tags tags = ReadTags(copy);
    OutputFile out(copy + L".exact");
    out.Write(tags.leading.data(), tags.leading.size());
    const std::uint64_t infoAt = out.Position();
    const auto infoSize = static_cast<std::uint32_t>(FrameHeader::Parse(plan.infoHeader.data())->frameSize);
    out.Write(std::vector<std::uint8_t>(infoSize).data(), infoSize);  // written once the music is known

    InfoFrame info;
    info.header = plan.infoHeader;
    info.constantBitrate = true;
    auto music = [&](const std::uint8_t* bytes, std::size_t size) {
        out.Write(bytes, size);
        info.musicCrc = LameCrc16(bytes, size, info.musicCrc);
    };
    std::vector<std::uint32_t> sizes;
    sizes.reserve(static_cast<std::size_t>(plan.frames));
    auto count = [&](const std::uint8_t* frame, int size) {
        sizes.push_back(static_cast<std::uint32_t>(size));
        info.constantBitrate = info.constantBitrate && BitrateIndex(frame) == BitrateIndex(plan.infoHeader.data());
    };
    music(plan.head.data(), plan.head.size());
    for (std::size_t at = 0; at < plan.head.size(); at += sizes.back())
        count(plan.head.data() + at, FrameHeader::Parse(plan.head.data() + at)->frameSize);

    // The frames go out as they came in, a buffer at a time, each checked on its way.
    FrameRun run(source);
    std::uint64_t unwritten = bulk;
    for (std::size_t k = plan.copied; k <= plan.last; ++k) {
        if (!run.Holds(offsets[k], FrameHeader::kMaxFrameSize) && unwritten < offsets[k]) {
            const auto size = static_cast<std::size_t>(offsets[k] - unwritten);
            const std::uint8_t* checked = run.At(unwritten, size);
            if (!checked) return false;
            music(checked, size);
            unwritten = offsets[k];
        }
        const std::uint8_t* bytes = run.At(offsets[k], FrameHeader::kSize);
        auto header = bytes ? FrameHeader::Parse(bytes) : std::nullopt;
        if (!header || !header->SameStreamAs(index.format)) return false;
        const std::uint64_t next = offsets[k] + header->frameSize;
        if (next != (k < plan.last ? offsets[k + 1] : plan.musicEnd)) return false;  // damaged or foreign data between
        count(bytes, header->frameSize);
    }
    if (unwritten < plan.musicEnd) {
        const auto size = static_cast<std::size_t>(plan.musicEnd - unwritten);
        const std::uint8_t* bytes = run.At(unwritten, size);
        if (!bytes) return false;
        music(bytes, size);
    }
    out.Write(tags.trailing.data(), tags.trailing.size());

    info.frames = static_cast<std::uint32_t>(plan.frames);
    std::uint64_t bytes = infoSize;
    for (std::uint32_t size : sizes) bytes += size;
    info.bytes = static_cast<std::uint32_t>(std::min<std::uint64_t>(bytes, 0xFFFFFFFFu));
    info.seekTable = InfoFrame::SeekTable(sizes, infoSize);
    if (auto tag = SourceLameTag(source, index)) info.lameTag = *tag;
    info.delay = static_cast<int>(plan.delay);
    info.padding = static_cast<int>(plan.padding);
    out.WriteAt(infoAt, info.Bytes());
    out.Replace(copy);
    return true;
}

}  // namespace

SampleRange SelectionSamples(double start, double length, int rate) noexcept {
    // nearbyint rounds halves to even in the default rounding mode.
    auto samples = [rate](double seconds) {
        return seconds > 0 ? static_cast<std::uint64_t>(std::nearbyint(seconds * rate)) : std::uint64_t{0};
    };
    const std::uint64_t first = samples(start);
    return {first, first + samples(length)};
}

std::optional<double> MakeCutExact(const std::wstring& source, const std::wstring& copy, double start, double length,
                                   const Mp3Index* sourceIndex) noexcept {
    try {
        MediaFile input(source);
        // A tag rewritten in place leaves the frames where they were; whatever else
        // moved them fails the checks every frame copied goes through.
        std::optional<Mp3Index> read;
        const Mp3Index& index =
            sourceIndex && sourceIndex->fileSize == input.Size() ? *sourceIndex : read.emplace(Mp3Reader(input).Read());
        SampleRange range = SelectionSamples(start, length, index.format.sampleRate);
        range.end = std::min(range.end, index.PlayableSampleCount());
        if (range.first >= range.end) return std::nullopt;
        const auto plan = PlanCut(input, index, range);
        if (!plan || !WriteCut(input, index, *plan, copy)) return std::nullopt;
        // What a reader of the copy finds: its LAME tag drops the delay and padding around the range.
        return static_cast<double>(range.end - range.first) / index.format.sampleRate;
    } catch (const std::exception&) {  // a file that cannot be read or written, or no memory: the copy stays
        return std::nullopt;
    }
}

}  // namespace media
