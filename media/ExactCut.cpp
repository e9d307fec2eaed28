#include "media/ExactCut.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <exception>
#include <new>
#include <optional>
#include <system_error>
#include <vector>

#include "base/SystemErrorText.h"
#include "media/CutStart.h"
#include "media/FileError.h"
#include "media/FrameGrid.h"
#include "media/GainPlan.h"
#include "media/Id3v2Tag.h"
#include "media/InfoFrame.h"
#include "media/LameCrc16.h"
#include "media/MediaError.h"
#include "media/MediaFile.h"
#include "media/Mp3Reader.h"
#include "media/OutputFile.h"
#include "media/Pieces.h"
#include "media/TrailingTags.h"
#include "media/VbrHeader.h"

namespace media {

namespace {

// Reads this large cost the system little more than the copying.
constexpr std::size_t kChunkSize = 1 << 20;

// The tags before and after the audio of the encoder's copy, or nothing where it holds no audio.
struct Tags {
    std::uint64_t leadingSize = 0;
    std::vector<std::uint8_t> trailing;
};

std::optional<Tags> ReadTags(const std::wstring& path) {
    MediaFile file(path);
    Tags tags;
    std::uint8_t header[Id3v2Tag::kHeaderSize];
    while (file.ReadAt(tags.leadingSize, header, sizeof header) == sizeof header) {
        auto tag = Id3v2Tag::FromHeader(header);
        if (!tag || tag->TotalSize() > file.Size() - tags.leadingSize) break;
        tags.leadingSize += tag->TotalSize();
    }
    // A copy that holds no audio is no stream copy to finish.
    if (!ReadSourceFrame(file, tags.leadingSize)) return std::nullopt;
    const std::uint64_t trailing = AudioEndBeforeTrailingTags(file, tags.leadingSize, file.Size());
    tags.trailing.resize(static_cast<std::size_t>(file.Size() - trailing));
    if (file.ReadAt(trailing, tags.trailing.data(), tags.trailing.size()) < tags.trailing.size()) return std::nullopt;
    return tags;
}

// The source's LAME tag, when it has one that gapless players take for one.
std::optional<std::array<std::uint8_t, InfoFrame::kLameTagSize>> SourceLameTag(const MediaFile& file,
                                                                               const Mp3Index& index) {
    if (!index.infoFrame) return std::nullopt;
    auto frame = ReadSourceFrame(file, *index.infoFrame);
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
    std::vector<std::uint8_t> head;  // as CutStart
    std::size_t copied = 0;      // the first frame copied as it is
    std::uint64_t musicEnd = 0;  // where the last frame ends in the source
    std::array<std::uint8_t, FrameHeader::kSize> infoHeader{};
    std::uint64_t frames = 0;  // audio frames written
    std::uint64_t delay = 0;
    std::uint64_t padding = 0;
};

std::optional<Plan> PlanCut(const MediaFile& source, const Mp3Index& index, SampleRange range) {
    const auto& offsets = index.frameOffsets;
    const FrameGrid grid = FrameGrid::Of(index);
    const std::uint64_t spf = static_cast<std::uint64_t>(grid.SamplesPerFrame());
    Plan plan;
    plan.first = static_cast<std::size_t>(grid.PrimingFrame(range.first));
    plan.last = static_cast<std::size_t>(grid.DecodedIn(range.end - 1));
    if (plan.last >= offsets.size()) return std::nullopt;
    auto closing = ReadSourceFrame(source, offsets[plan.last]);
    if (!closing) return std::nullopt;
    plan.musicEnd = offsets[plan.last] + closing->header.frameSize;

    // The cut is in the format of the part it starts in (a joined file's parts may differ in channel count).
    auto opening = ReadSourceFrame(source, offsets[plan.first]);
    if (!opening || !opening->header.SameRateAs(index.format)) return std::nullopt;
    auto infoHeader = FrameHeader::ForMainData(opening->bytes.data(), InfoFrame::kContentSize);
    if (!infoHeader) return std::nullopt;
    plan.infoHeader = *infoHeader;

    auto start = PlanCutStart(source, index, plan.first, plan.last, plan.musicEnd);
    if (!start) return std::nullopt;
    plan.head = std::move(start->head);
    plan.copied = start->copied;

    const bool silentFrame = start->silentFrame;
    plan.frames = (silentFrame ? 1 : 0) + plan.last - plan.first + 1;
    plan.delay = static_cast<std::uint64_t>(static_cast<std::int64_t>(range.first) - grid.FrameStart(plan.first)) +
                 (silentFrame ? spf : 0);
    plan.padding = plan.frames * spf - plan.delay - (range.end - range.first);
    if (plan.delay > InfoFrame::kMaxCount || plan.padding > InfoFrame::kMaxCount) return std::nullopt;
    return plan;
}

// The cut's audio: an information frame, the plan's head and the source's
// frames, each checked, their gains changed as `gains` plans; nothing where the
// frames are damaged or the file ends early.
std::vector<std::uint8_t> ReadAudio(const MediaFile& source, const Mp3Index& index, const Plan& plan,
                                    const GainPlan& gains, GainReport& report) {
    const auto& offsets = index.frameOffsets;
    const std::uint64_t bulk = plan.copied <= plan.last ? offsets[plan.copied] : plan.musicEnd;
    const FrameHeader stream = *FrameHeader::Parse(plan.infoHeader.data());
    const auto infoSize = static_cast<std::size_t>(stream.frameSize);
    std::vector<std::uint8_t> audio(infoSize + plan.head.size() + static_cast<std::size_t>(plan.musicEnd - bulk));
    std::uint8_t* const head = audio.data() + infoSize;
    std::uint8_t* const frames = head + plan.head.size();
    std::memcpy(head, plan.head.data(), plan.head.size());

    InfoFrame info;
    info.header = plan.infoHeader;
    // A chunk at a time, so that a stop is heard at once.
    for (std::uint64_t at = bulk; at < plan.musicEnd; at += kChunkSize) {
        const auto size = static_cast<std::size_t>(std::min<std::uint64_t>(kChunkSize, plan.musicEnd - at));
        if (source.ReadAt(at, frames + (at - bulk), size) < size) return {};
    }

    std::vector<std::uint32_t> sizes;
    sizes.reserve(static_cast<std::size_t>(plan.frames));
    info.constantBitrate = true;
    auto count = [&](const std::uint8_t* frame, int size) {
        sizes.push_back(static_cast<std::uint32_t>(size));
        info.constantBitrate = info.constantBitrate && BitrateIndex(frame) == BitrateIndex(plan.infoHeader.data());
    };
    for (std::size_t at = 0; at < plan.head.size(); at += sizes.back())
        count(head + at, FrameHeader::Parse(head + at)->frameSize);
    for (std::size_t k = plan.copied; k <= plan.last; ++k) {
        const std::uint8_t* bytes = frames + (offsets[k] - bulk);
        auto header = FrameHeader::Parse(bytes);
        if (!header || !header->SameStreamAs(stream)) return {};
        const std::uint64_t next = offsets[k] + header->frameSize;
        if (next != (k < plan.last ? offsets[k + 1] : plan.musicEnd)) return {};  // damaged or foreign data between
        count(bytes, header->frameSize);
    }

    // The silent frame that carries the reservoir is the cut's own and before the selection.
    const std::size_t silent = plan.frames > plan.last - plan.first + 1 ? sizes.front() : 0;
    if (!gains.Change().None())
        report = gains.Apply(std::span(head + silent, audio.data() + audio.size()), stream,
                             FrameGrid::Of(index).FrameStart(plan.first));
    info.musicCrc = LameCrc16(head, static_cast<std::size_t>(audio.data() + audio.size() - head));
    info.frames = static_cast<std::uint32_t>(plan.frames);
    info.bytes = static_cast<std::uint32_t>(std::min<std::uint64_t>(audio.size(), 0xFFFFFFFFu));
    info.seekTable = InfoFrame::SeekTable(sizes, static_cast<std::uint32_t>(infoSize));
    if (auto tag = SourceLameTag(source, index)) info.lameTag = *tag;
    info.delay = static_cast<int>(plan.delay);
    info.padding = static_cast<int>(plan.padding);
    const std::vector<std::uint8_t> frame = info.Bytes();
    std::memcpy(audio.data(), frame.data(), infoSize);
    return audio;
}

MediaError OutOfMemory() { return MediaError(base::SystemErrorText(ERROR_NOT_ENOUGH_MEMORY)); }

}  // namespace

SampleRange SelectionSamples(double start, double length, int rate) noexcept {
    // nearbyint rounds halves to even in the default rounding mode.
    auto samples = [rate](double seconds) {
        return seconds > 0 ? static_cast<std::uint64_t>(std::nearbyint(seconds * rate)) : std::uint64_t{0};
    };
    const std::uint64_t first = samples(start);
    return {first, first + samples(length)};
}

ExactCut::ExactCut(std::wstring source, double start, double length, std::shared_ptr<const Mp3Index> sourceIndex,
                   const LevelChange& change)
    : source_(std::move(source)),
      start_(start),
      length_(length),
      sourceIndex_(std::move(sourceIndex)),
      change_(change) {
    try {
        worker_ = std::thread([this] { Prepare(); });
    } catch (const std::system_error&) {  // no thread to be had: Finish prepares first
    }
}

ExactCut::~ExactCut() { Stop(); }

void ExactCut::Stop() noexcept {
    stop_ = true;
    if (worker_.joinable()) worker_.join();
}

void ExactCut::Prepare() noexcept {
    prepared_ = true;
    try {
        MediaFile input(source_);
        input.StopReadingWhen(stop_);
        const std::shared_ptr<const Mp3Index> current = CurrentIndex(input, sourceIndex_);
        const Mp3Index& index = *current;
        SampleRange range = SelectionSamples(start_, length_, index.format.sampleRate);
        range.end = std::min(range.end, index.PlayableSampleCount());
        if (range.first >= range.end) return;
        const auto plan = PlanCut(input, index, range);
        if (!plan) return;
        audio_ = ReadAudio(input, index, *plan, GainPlan(change_, range, index.format.sampleRate), report_);
        // What a reader of the copy finds: its LAME tag drops the delay and padding around the range.
        seconds_ = static_cast<double>(range.end - range.first) / index.format.sampleRate;
    } catch (const FileError&) {
        failure_ = std::current_exception();
    } catch (const MediaError&) {  // no playable audio in the source, or stopped: no exact cut
    } catch (const std::bad_alloc&) {
        failure_ = std::make_exception_ptr(OutOfMemory());
    }
}

std::optional<double> ExactCut::Finish(const std::wstring& copy) {
    if (worker_.joinable())
        worker_.join();
    else if (!prepared_)
        Prepare();
    if (stop_) return std::nullopt;
    if (failure_) std::rethrow_exception(failure_);
    if (audio_.empty()) return std::nullopt;
    try {
        const std::optional<Tags> tags = ReadTags(copy);
        if (!tags) return std::nullopt;
        std::vector<std::uint8_t> leading;
        if (pieceTags_) {
            MediaFile file(copy);
            leading.resize(static_cast<std::size_t>(tags->leadingSize));
            if (file.ReadAt(0, leading.data(), leading.size()) < leading.size()) return std::nullopt;
            leading = TagWithPiece(leading, *pieceTags_);
        }
        // The leading tags stay as they are unless a piece's replace them.
        OutputFile out(copy, pieceTags_ ? 0 : tags->leadingSize);
        out.Write(leading.data(), leading.size());
        out.Write(audio_.data(), audio_.size());
        out.Write(tags->trailing.data(), tags->trailing.size());
        out.End();
        return seconds_;
    } catch (const std::bad_alloc&) {
        throw OutOfMemory();
    }
}

std::optional<double> MakeCutExact(const std::wstring& source, const std::wstring& copy, double start, double length,
                                   const Mp3Index* sourceIndex) noexcept {
    try {
        // Only lent: the cut ends before this call does.
        ExactCut cut(source, start, length, std::shared_ptr<const Mp3Index>(std::shared_ptr<void>(), sourceIndex));
        return cut.Finish(copy);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace media
