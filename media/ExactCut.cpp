#include "media/ExactCut.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <exception>
#include <optional>
#include <vector>

#include "media/LameCrc16.h"
#include "media/Id3v2Tag.h"
#include "media/InfoFrame.h"
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

    // `count` bytes at `offset` (never before the last offset asked for), or null past the end of the file.
    const std::uint8_t* At(std::uint64_t offset, std::size_t count) {
        if (offset < start_ || offset + count > start_ + length_) {
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
    return {ReadBytes(file, 0, audio), ReadBytes(file, AudioEndBeforeTrailingTags(file, audio, file.Size()), file.Size())};
}

// The source's LAME tag, when it has one that gapless players take for one.
std::optional<std::array<std::uint8_t, InfoFrame::kLameTagSize>> SourceLameTag(const MediaFile& file,
                                                                                  const Mp3Index& index) {
    if (!index.infoFrame) return std::nullopt;
    auto frame = ReadFrame(file, *index.infoFrame);
    if (!frame) return std::nullopt;
    auto vbr = VbrHeader::Read(frame->header, frame->bytes.data());
    if (!vbr || vbr->lameTag == 0 || vbr->lameTag + InfoFrame::kLameTagSize > frame->header.frameSize) return std::nullopt;
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
    // The main data the first frame reads from before it, carried by a silent frame
    // ahead of it (empty: none, or the source does not have it).
    std::vector<std::uint8_t> reservoir;
    std::array<std::uint8_t, FrameHeader::kSize> silentHeader{};
    std::array<std::uint8_t, FrameHeader::kSize> infoHeader{};
    std::uint64_t frames = 0;  // audio frames written
    std::uint64_t delay = 0;
    std::uint64_t padding = 0;
};

std::optional<Plan> PlanCut(const MediaFile& source, const Mp3Index& index, SampleRange range) {
    const std::uint64_t spf = static_cast<std::uint64_t>(index.format.SamplesPerFrame());
    // Where the selection starts among the samples the frames decode to.
    const std::uint64_t lead = range.first + static_cast<std::uint64_t>(index.encoderDelay);
    Plan plan;
    plan.first = static_cast<std::size_t>(lead >= kGranule ? (lead - kGranule) / spf : 0);
    plan.last = static_cast<std::size_t>((range.end - 1 + index.encoderDelay + FrameHeader::kDecoderDelay) / spf);
    if (plan.last >= index.frameOffsets.size()) return std::nullopt;

    auto opening = ReadFrame(source, index.frameOffsets[plan.first]);
    if (!opening || !opening->header.SameStreamAs(index.format)) return std::nullopt;
    const int needed = opening->header.MainDataBegin(opening->bytes.data());
    if (needed > 0) plan.reservoir = Reservoir(source, index, plan.first, needed);
    const bool silentFrame = !plan.reservoir.empty();
    auto silentHeader = FrameHeader::ForMainData(opening->bytes.data(), needed);
    auto infoHeader = FrameHeader::ForMainData(opening->bytes.data(), InfoFrame::kContentSize);
    if ((silentFrame && !silentHeader) || !infoHeader) return std::nullopt;
    if (silentHeader) plan.silentHeader = *silentHeader;
    plan.infoHeader = *infoHeader;

    plan.frames = (silentFrame ? 1 : 0) + plan.last - plan.first + 1;
    plan.delay = lead + (silentFrame ? spf : 0) - plan.first * spf;
    plan.padding = plan.frames * spf - plan.delay - (range.end - range.first);
    if (plan.delay > InfoFrame::kMaxCount || plan.padding > InfoFrame::kMaxCount) return std::nullopt;
    return plan;
}

// Writes the copy's tags around an information frame, the silent frame and the
// source's frames; false, with nothing replaced, where the frames are damaged.
bool WriteCut(const MediaFile& source, const Mp3Index& index, const Plan& plan, const std::wstring& copy) {
    const Tags tags = ReadTags(copy);
    OutputFile out(copy + L".exact");
    out.Write(tags.leading.data(), tags.leading.size());
    const std::uint64_t infoAt = out.Position();
    const auto infoSize = static_cast<std::uint32_t>(FrameHeader::Parse(plan.infoHeader.data())->frameSize);
    out.Write(std::vector<std::uint8_t>(infoSize).data(), infoSize);  // written once the music is known

    InfoFrame info;
    info.header = plan.infoHeader;
    info.constantBitrate = true;
    std::vector<std::uint32_t> sizes;
    sizes.reserve(static_cast<std::size_t>(plan.frames));
    auto add = [&](const std::uint8_t* frame, std::size_t size) {
        out.Write(frame, size);
        sizes.push_back(static_cast<std::uint32_t>(size));
        info.musicCrc = LameCrc16(frame, size, info.musicCrc);
        info.constantBitrate = info.constantBitrate && BitrateIndex(frame) == BitrateIndex(plan.infoHeader.data());
    };

    // Main data before the next frame's own that holds what the source has there.
    std::uint64_t genuine = 0;
    if (!plan.reservoir.empty()) {
        std::vector<std::uint8_t> silent(static_cast<std::size_t>(FrameHeader::Parse(plan.silentHeader.data())->frameSize));
        std::memcpy(silent.data(), plan.silentHeader.data(), plan.silentHeader.size());
        std::memcpy(silent.data() + silent.size() - plan.reservoir.size(), plan.reservoir.data(), plan.reservoir.size());
        add(silent.data(), silent.size());
        genuine = plan.reservoir.size();
    }

    const auto& offsets = index.frameOffsets;
    FrameRun run(source);
    std::vector<std::uint8_t> silenced;
    for (std::size_t k = plan.first; k <= plan.last; ++k) {
        const std::uint8_t* bytes = run.At(offsets[k], FrameHeader::kSize);
        auto header = bytes ? FrameHeader::Parse(bytes) : std::nullopt;
        if (!header || !header->SameStreamAs(index.format)) return false;
        const std::uint64_t next = offsets[k] + header->frameSize;
        if (k < plan.last ? next != offsets[k + 1] : next > index.audioEnd) return false;  // damaged or foreign data between
        bytes = run.At(offsets[k], static_cast<std::size_t>(header->frameSize));
        if (!bytes) return false;
        if (static_cast<std::uint64_t>(header->MainDataBegin(bytes)) > genuine) {
            // Its audio begins in main data this file does not hold: silence beats noise.
            // (The checksum of a protected frame would no longer hold.)
            if (header->hasCrc) return false;
            silenced.assign(bytes, bytes + header->frameSize);
            std::memset(silenced.data() + FrameHeader::kSize, 0, static_cast<std::size_t>(header->SideInfoSize()));
            bytes = silenced.data();
        }
        add(bytes, static_cast<std::size_t>(header->frameSize));
        genuine += static_cast<std::uint64_t>(header->MainDataSize());
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

bool MakeCutExact(const std::wstring& source, const std::wstring& copy, double start, double length) noexcept {
    try {
        MediaFile input(source);
        const Mp3Index index = Mp3Reader(input).Read();
        SampleRange range = SelectionSamples(start, length, index.format.sampleRate);
        range.end = std::min(range.end, index.PlayableSampleCount());
        if (range.first >= range.end) return false;
        const auto plan = PlanCut(input, index, range);
        return plan && WriteCut(input, index, *plan, copy);
    } catch (const std::exception&) {  // a file that cannot be read or written, or no memory: the copy stays
        return false;
    }
}

}  // namespace media
