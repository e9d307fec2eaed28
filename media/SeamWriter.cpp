#include "media/SeamWriter.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <memory>
#include <span>

#include "base/Handles.h"
#include "media/CutStart.h"
#include "media/FileError.h"
#include "media/FrameGrid.h"
#include "media/GainPlan.h"
#include "media/GranuleGains.h"
#include "media/Id3v2Tag.h"
#include "media/InfoFrame.h"
#include "media/LameCrc16.h"
#include "media/MediaError.h"
#include "media/Mp3Reader.h"
#include "media/Mp3Stream.h"
#include "media/OutputFile.h"

namespace media {

namespace {

// What libmp3lame puts before the audio it is given.
constexpr std::int64_t kEncoderDelay = 576;
// Frames encoded before and after those kept, so that the kept ones start and end as in a longer run.
constexpr std::int64_t kPreRollFrames = 3;
constexpr std::int64_t kPostRollFrames = 2;
// How far a frame's audio reaches past its end and before its start: the
// transform's overlap of a granule, and the filter bank's spread.
constexpr std::int64_t kReachAfter = 576;
constexpr std::int64_t kReachBefore = 1152;
constexpr std::size_t kChunkSize = 1 << 20;
// The furthest back a frame's main data can begin.
constexpr std::uint64_t kMaxMainDataBegin = 511;
constexpr int kHighestBitrateIndex = 14;
constexpr int kHighestMpeg25Index = 8;  // 64 kbit/s
// The byte a padded frame has more.
constexpr int kPaddingByte = 1;
// How many frames either side of a seam are looked at for damage, and how far past it a seam may grow.
constexpr std::int64_t kNearSeam = 8;

// A file of ours removed when the object goes, unless it is kept.
class TemporaryFile {
public:
    explicit TemporaryFile(std::wstring path) : path_(std::move(path)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (!path_.empty()) ::DeleteFileW(path_.c_str());
    }
    const std::wstring& Path() const noexcept { return path_; }
    void Keep() noexcept { path_.clear(); }

    // Makes it anew, empty.
    void Create() const {
        base::KernelHandle file(::CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) throw FileError::Last();
    }

private:
    std::wstring path_;
};

// The parts' sources, each opened and decoded once.
class Sources {
public:
    explicit Sources(const std::atomic<bool>& stop) : stop_(stop) {}

    const MediaFile& File(const RecordingPart& part) {
        auto& file = files_[part.source];
        if (!file) {
            file = std::make_unique<MediaFile>(part.source);
            file->StopReadingWhen(stop_);
        }
        return *file;
    }

    // The samples `range` of the part's source, interleaved; silence where it does not decode.
    std::vector<std::int16_t> Samples(const RecordingPart& part, SampleRange range) {
        auto& stream = streams_[part.source];
        if (!stream) stream = std::make_unique<Mp3Stream>(part.source, part.index);
        const auto channels = static_cast<std::size_t>(stream->Channels());
        std::vector<std::int16_t> samples(static_cast<std::size_t>(range.end - range.first) * channels);
        stream->SeekKeepingCodec(range.first);
        stream->Read(samples.data(), static_cast<std::size_t>(range.end - range.first));
        return samples;
    }

private:
    const std::atomic<bool>& stop_;
    std::map<std::wstring, std::unique_ptr<MediaFile>> files_;
    std::map<std::wstring, std::unique_ptr<Mp3Stream>> streams_;
};

double MeanSquare(const std::vector<std::int16_t>& samples) {
    double sum = 0;
    for (std::int16_t sample : samples) sum += static_cast<double>(sample) * sample;
    return samples.empty() ? 0 : sum / static_cast<double>(samples.size());
}

// A part where it lands in what is written.
struct Placed {
    const RecordingPart* part = nullptr;
    FrameGrid grid{1152, 0};
    std::int64_t offset = 0;  // of its first sample, among the samples written
    std::int64_t shift = 0;   // frames from its source's frame to the written one
};

// Frames written anew, around one seam or several close together.
struct Stretch {
    std::int64_t firstNew = 0;  // written frames
    std::int64_t lastNew = 0;
    std::size_t nextPart = 0;  // the part whose frames are copied after it
    std::int64_t encoded = 0;  // the encoder's frame that becomes firstNew - kPreRollFrames
};

// Frames appended to the file, their gains changed as the level asks, with the
// sizes and checksum the information frame needs.
class AudioOut {
public:
    // `grid`: the written file's. The first `unchanged` frames are the file's own silence.
    AudioOut(OutputFile& out, int bitrateIndex, const GainPlan& gains, const FrameHeader& format, FrameGrid grid,
             std::size_t unchanged)
        : out_(out), bitrateIndex_(bitrateIndex), gains_(gains), format_(format), grid_(grid), unchanged_(unchanged) {}
    void Frames(std::uint8_t* bytes, std::size_t size) {
        if (!gains_.Change().None() && sizes.size() >= unchanged_)
            report += gains_.Apply(std::span(bytes, size), format_, grid_.FrameStart(sizes.size()));
        for (std::size_t at = 0; at < size;) {
            const auto header = FrameHeader::Parse(bytes + at);
            sizes.push_back(static_cast<std::uint32_t>(header->frameSize));
            constantBitrate = constantBitrate && (bytes[at + 2] >> 4) == bitrateIndex_;
            at += static_cast<std::size_t>(header->frameSize);
        }
        crc = LameCrc16(bytes, size, crc);
        out_.Write(bytes, size);
    }
    std::vector<std::uint32_t> sizes;
    std::uint16_t crc = 0;
    bool constantBitrate = true;
    GainReport report;

private:
    OutputFile& out_;
    int bitrateIndex_;
    const GainPlan& gains_;
    const FrameHeader& format_;
    FrameGrid grid_;
    std::size_t unchanged_;
};

MediaError Damaged(const RecordingPart& part) {
    return MediaError(L"The frames of " + FileNameOf(part.source) + L" are damaged or missing near a seam, so the recording cannot be written exactly.");
}

// Copies the source frames `first` to `last` of a part, checking each.
void CopyFrames(const MediaFile& file, const Placed& placed, std::int64_t first, std::int64_t last, AudioOut& out,
                const FrameHeader& format) {
    const auto& offsets = placed.part->index->frameOffsets;
    if (first < 0 || last >= static_cast<std::int64_t>(offsets.size())) throw Damaged(*placed.part);
    std::vector<std::uint8_t> chunk;
    for (std::int64_t frame = first; frame <= last;) {
        // Whole frames up to about a chunk.
        const std::uint64_t from = offsets[static_cast<std::size_t>(frame)];
        std::int64_t end = frame + 1;
        while (end <= last && offsets[static_cast<std::size_t>(end)] - from < kChunkSize) ++end;
        const std::uint64_t to = end <= last ? offsets[static_cast<std::size_t>(end)]
                                             : offsets[static_cast<std::size_t>(last)] + FrameHeader::kMaxFrameSize;
        chunk.resize(static_cast<std::size_t>(to - from));
        chunk.resize(file.ReadAt(from, chunk.data(), chunk.size()));
        std::size_t at = 0;
        for (std::int64_t k = frame; k < end; ++k) {
            if (offsets[static_cast<std::size_t>(k)] - from != at || at + FrameHeader::kSize > chunk.size())
                throw Damaged(*placed.part);
            const auto header = FrameHeader::Parse(chunk.data() + at);
            if (!header || !header->SameStreamAs(format) || at + static_cast<std::size_t>(header->frameSize) > chunk.size())
                throw Damaged(*placed.part);
            at += static_cast<std::size_t>(header->frameSize);
        }
        out.Frames(chunk.data(), at);
        frame = end;
    }
}

// Whether the part's source frame that becomes the written `frame` is there
// whole, of the stream, and directly followed by the next.
bool Whole(Sources& sources, const Placed& placed, std::int64_t frame, const FrameHeader& format) {
    const auto& offsets = placed.part->index->frameOffsets;
    const std::int64_t k = frame - placed.shift;
    if (k < 0 || k >= static_cast<std::int64_t>(offsets.size())) return false;
    const auto bytes = ReadSourceFrame(sources.File(*placed.part), offsets[static_cast<std::size_t>(k)]);
    return bytes && bytes->header.SameStreamAs(format) &&
           (k + 1 == static_cast<std::int64_t>(offsets.size()) ||
            offsets[static_cast<std::size_t>(k)] + bytes->header.frameSize == offsets[static_cast<std::size_t>(k + 1)]);
}

// The main data that the frames from `first` on read from before it.
std::vector<std::uint8_t> ReservoirBefore(const MediaFile& file, const Placed& placed, std::int64_t first,
                                          std::int64_t last) {
    const Mp3Index& index = *placed.part->index;
    int needed = 0;
    std::uint64_t between = 0;
    for (std::int64_t k = first; k <= last && between < kMaxMainDataBegin; ++k) {
        auto frame = ReadSourceFrame(file, index.frameOffsets[static_cast<std::size_t>(k)]);
        if (!frame) throw Damaged(*placed.part);
        needed = std::max(needed, frame->header.MainDataBegin(frame->bytes.data()) - static_cast<int>(between));
        between += static_cast<std::uint64_t>(frame->header.MainDataSize());
    }
    if (needed == 0) return {};
    auto bytes = Reservoir(file, index, static_cast<std::size_t>(first), needed);
    if (bytes.empty()) throw Damaged(*placed.part);
    return bytes;
}

// The new frame `frame` (none of whose main data lies before it) made to end in `reservoir`.
std::vector<std::uint8_t> Carrying(std::vector<std::uint8_t> frame, const std::vector<std::uint8_t>& reservoir) {
    if (reservoir.empty()) return frame;
    const FrameHeader header = *FrameHeader::Parse(frame.data());
    const int used = GranuleGains(frame.data(), header).MainDataBytes();
    const int wanted = used + static_cast<int>(reservoir.size());
    if (wanted > header.MainDataSize()) {
        // A higher bitrate makes the room; the frame decodes the same.
        const auto larger = FrameHeader::ForMainData(frame.data(), wanted);
        if (!larger || header.hasCrc)
            throw MediaError(L"A seam's new frames have no room for the audio after them, so the recording cannot be written exactly.");
        std::vector<std::uint8_t> grown(static_cast<std::size_t>(FrameHeader::Parse(larger->data())->frameSize), 0);
        std::memcpy(grown.data(), larger->data(), larger->size());
        std::memcpy(grown.data() + FrameHeader::kSize, frame.data() + FrameHeader::kSize,
                    static_cast<std::size_t>(header.SideInfoSize() + used));
        frame = std::move(grown);
    }
    std::memcpy(frame.data() + frame.size() - reservoir.size(), reservoir.data(), reservoir.size());
    return frame;
}

std::uint64_t LeadingTagsSize(const MediaFile& file) {
    std::uint64_t size = 0;
    std::uint8_t header[Id3v2Tag::kHeaderSize];
    while (file.ReadAt(size, header, sizeof header) == sizeof header) {
        auto tag = Id3v2Tag::FromHeader(header);
        if (!tag || tag->TotalSize() > file.Size() - size) break;
        size += tag->TotalSize();
    }
    return size;
}

// The highest bitrate the encoder takes for frames like the one at `model`
// (libmp3lame encodes MPEG-2.5 at 64 kbit/s at most).
int HighestBitrate(const std::uint8_t* model) {
    std::array<std::uint8_t, FrameHeader::kSize> bytes{model[0], model[1], model[2], model[3]};
    const int index = FrameHeader::Parse(model)->version == MpegVersion::Mpeg25 ? kHighestMpeg25Index : kHighestBitrateIndex;
    bytes[2] = static_cast<std::uint8_t>((bytes[2] & 0x0D) | (index << 4));
    return FrameHeader::Parse(bytes.data())->bitrate;
}

// The bitrate of a seam's last frame, for frames like the one at `model`: the
// highest that leaves room, at the highest bitrate of all, for `reservoir`
// bytes after the frame's own main data (the encoder fills its frames).
std::optional<int> SeamBitrate(const std::uint8_t* model, int reservoir) {
    const int highest = HighestBitrate(model);
    std::array<std::uint8_t, FrameHeader::kSize> bytes{model[0], model[1], model[2], model[3]};
    auto at = [&bytes](int index) {
        bytes[2] = static_cast<std::uint8_t>((bytes[2] & 0x0D) | (index << 4));
        return *FrameHeader::Parse(bytes.data());
    };
    const int room = at(kHighestBitrateIndex).MainDataSize();
    for (int index = kHighestBitrateIndex; index >= 1; --index)
        if (at(index).bitrate <= highest && at(index).MainDataSize() + kPaddingByte + reservoir <= room)
            return at(index).bitrate;
    return std::nullopt;
}

void WriteAll(const std::wstring& path, const std::vector<std::int16_t>& samples) {
    OutputFile out(path, 0);
    out.Write(reinterpret_cast<const std::uint8_t*>(samples.data()), samples.size() * sizeof(std::int16_t));
}

std::int64_t FloorDiv(std::int64_t value, std::int64_t by) { return value >= 0 ? value / by : -((-value + by - 1) / by); }

// What the encoder wrote.
struct EncodedFrames {
    EncodedFrames(const std::wstring& path, const FrameHeader& format) : file(path), index(Mp3Reader(file).Read()) {
        if (!index.format.SameStreamAs(format) || (index.infoFrame && index.encoderDelay != kEncoderDelay))
            throw MediaError(L"The encoder wrote the seams in another format than the recording's.");
    }
    MediaFile file;
    Mp3Index index;
};

// The first part's frames up to the written `last`, begun as an exact cut begins.
void WriteOpening(const MediaFile& file, const Placed& opening, std::size_t first, const CutStart& trial,
                  std::int64_t last, AudioOut& audio, const FrameHeader& format) {
    const RecordingPart& part = *opening.part;
    const std::int64_t openingLast = last - opening.shift;
    const auto& offsets = part.index->frameOffsets;
    if (openingLast >= static_cast<std::int64_t>(offsets.size())) throw Damaged(part);
    const std::uint64_t lastOffset = offsets[static_cast<std::size_t>(openingLast)];
    const auto lastFrame = ReadSourceFrame(file, lastOffset);
    if (!lastFrame) throw Damaged(part);
    const auto start = PlanCutStart(file, *part.index, first, static_cast<std::size_t>(openingLast),
                                    lastOffset + lastFrame->header.frameSize);
    if (!start || start->silentFrame != trial.silentFrame) throw Damaged(part);
    std::vector<std::uint8_t> head = start->head;
    audio.Frames(head.data(), head.size());
    if (static_cast<std::int64_t>(start->copied) <= openingLast)
        CopyFrames(file, opening, static_cast<std::int64_t>(start->copied), openingLast, audio, format);
}

// Damaged or missing frames near a seam are encoded again from what the decoder
// makes of them, with the seam's new frames, rather than copied: the stretch
// grows over them, and over a frame whose main data is not in the file.
void Widen(Stretch& s, Sources& sources, const Placed& before, const Placed& after, const FrameHeader& format) {
    const std::int64_t firstNew = s.firstNew, lastNew = s.lastNew;
    // Only the parts' own frames: those beyond them are not written.
    const std::int64_t beforeStart = static_cast<std::int64_t>(before.grid.PrimingFrame(before.part->samples.first)) + before.shift;
    const std::int64_t afterEnd = static_cast<std::int64_t>(after.grid.DecodedIn(after.part->samples.end - 1)) + after.shift;
    for (std::int64_t frame = std::max(s.firstNew - kNearSeam, beforeStart); frame < s.firstNew; ++frame)
        if (!Whole(sources, before, frame, format)) s.firstNew = frame;
    auto readsMissingData = [&](std::int64_t frame) {
        const std::int64_t k = frame - after.shift;
        const auto count = static_cast<std::int64_t>(after.part->index->FrameCount());
        if (frame > afterEnd || k < 0 || k >= count) return false;
        try {
            ReservoirBefore(sources.File(*after.part), after, k, std::min(k + kNearSeam, count - 1));
            return false;
        } catch (const MediaError&) {
            return true;
        }
    };
    for (bool grown = true; grown && s.lastNew - lastNew <= kNearSeam && firstNew - s.firstNew <= kNearSeam;) {
        grown = false;
        for (std::int64_t frame = std::min(s.lastNew + kNearSeam, afterEnd); frame > s.lastNew && !grown; --frame) {
            if (!Whole(sources, after, frame, format)) {
                s.lastNew = frame;
                grown = true;
            }
        }
        if (!grown && readsMissingData(s.lastNew + 1)) {
            ++s.lastNew;
            grown = true;
        }
    }
}

WrittenRecording Write(const Recording& recording, const std::wstring& path, SeamEncoder& encoder,
                       const LevelChange& level, const std::atomic<bool>& stop) {
    Sources sources(stop);
    const SeamPlan plan = PlanSeams(recording, [&sources](const RecordingPart& part, SampleRange range) {
        return MeanSquare(sources.Samples(part, range));
    });
    const FrameHeader& format = recording.Format();
    const auto spf = static_cast<std::int64_t>(format.SamplesPerFrame());
    const auto channels = static_cast<std::size_t>(format.channels);

    // The first part begins as an exact cut does.
    const RecordingPart& opening = plan.parts.front();
    const MediaFile& openingFile = sources.File(opening);
    const FrameGrid openingGrid = FrameGrid::Of(*opening.index);
    const auto first = static_cast<std::size_t>(openingGrid.PrimingFrame(opening.samples.first));
    if (opening.Length() == 0 || first >= opening.index->FrameCount()) throw Damaged(opening);
    const auto openingFrame = ReadSourceFrame(openingFile, opening.index->frameOffsets[first]);
    if (!openingFrame || !openingFrame->header.SameStreamAs(format)) throw Damaged(opening);
    auto trial = PlanCutStart(openingFile, *opening.index, first, first,
                              opening.index->frameOffsets[first] + openingFrame->header.frameSize);
    if (!trial) throw Damaged(opening);
    const std::int64_t delay = static_cast<std::int64_t>(opening.samples.first) - openingGrid.FrameStart(first) +
                               (trial->silentFrame ? spf : 0);

    std::vector<Placed> placed;
    std::int64_t written = 0;
    for (const RecordingPart& part : plan.parts) {
        Placed p{&part, FrameGrid::Of(*part.index), written, 0};
        // Where the part's samples are written less where its source has them: whole frames, as the plan made it.
        const std::int64_t shift = delay + written + p.grid.FrameStart(0) - static_cast<std::int64_t>(part.samples.first);
        if (shift % spf != 0) throw MediaError(L"A seam does not fall on the frames' grid.");
        p.shift = shift / spf;
        placed.push_back(p);
        written += static_cast<std::int64_t>(part.Length());
    }
    const std::int64_t length = written;

    // The frames each seam needs anew; seams too close for a frame to be copied between them share them.
    std::vector<Stretch> stretches;
    for (std::size_t k = 1; k < placed.size(); ++k) {
        const std::int64_t at = delay + placed[k].offset;
        Stretch s{FloorDiv(at - kReachAfter, spf), FloorDiv(at + kReachBefore + spf - 1, spf) - 1, k, 0};
        Widen(s, sources, placed[k - 1], placed[k], format);
        if (!stretches.empty() && s.firstNew <= stretches.back().lastNew + 1) {
            stretches.back().lastNew = std::max(stretches.back().lastNew, s.lastNew);
            stretches.back().nextPart = k;
        } else {
            stretches.push_back(s);
        }
    }
    const Placed& closing = placed.back();
    const auto closingLast = static_cast<std::int64_t>(closing.grid.DecodedIn(closing.part->samples.end - 1));
    const std::int64_t headFrames = trial->silentFrame ? 1 : 0;
    const std::int64_t firstCopied = static_cast<std::int64_t>(first) + placed.front().shift;
    const std::int64_t totalFrames = closingLast + closing.shift + 1;
    // A seam that leaves no frame of the first part to copy before it is encoded
    // from the file's first frame on (the audio before the recording is silence);
    // one that leaves none after it, to the file's last frame.
    const bool newFromStart = !stretches.empty() && stretches.front().firstNew <= firstCopied;
    if (newFromStart) stretches.front().firstNew = 0;
    if (!stretches.empty()) stretches.back().lastNew = std::min(stretches.back().lastNew, totalFrames - 1);

    // The frames copied after each stretch, and the main data they read from before it.
    struct Copy {
        std::int64_t first = 0;
        std::int64_t last = 0;
        std::vector<std::uint8_t> reservoir;
    };
    std::vector<Copy> copies;
    std::size_t mostReservoir = 0;
    for (std::size_t k = 0; k < stretches.size(); ++k) {
        const Placed& next = placed[stretches[k].nextPart];
        Copy copy;
        copy.first = stretches[k].lastNew + 1 - next.shift;
        copy.last = (k + 1 < stretches.size() ? stretches[k + 1].firstNew : totalFrames) - 1 - next.shift;
        copy.reservoir = ReservoirBefore(sources.File(*next.part), next, copy.first, copy.last);
        mostReservoir = std::max(mostReservoir, copy.reservoir.size());
        copies.push_back(std::move(copy));
    }

    // The audio around the seams, as the parts decode, one stretch after another on the encoder's grid.
    const TemporaryFile pcm(path + L".seams.pcm");
    // Two encodings in the run: the seams' frames at the highest bitrate, and
    // one lower for the last frame of each seam, which carries the reservoir.
    const TemporaryFile best(path + L".seams.mp3");
    const TemporaryFile carrier(path + L".carrier.mp3");
    std::uint64_t encodedFrames = 0;
    if (!stretches.empty()) {
        std::vector<std::int16_t> audio(static_cast<std::size_t>((spf - kEncoderDelay % spf) % spf) * channels, 0);
        for (Stretch& s : stretches) {
            s.encoded = (static_cast<std::int64_t>(audio.size() / channels) + kEncoderDelay) / spf;
            const std::int64_t from = (s.firstNew - kPreRollFrames) * spf - delay;
            const std::int64_t to = (s.lastNew + 1 + kPostRollFrames) * spf - delay;
            const std::size_t base = audio.size();
            audio.resize(base + static_cast<std::size_t>(to - from) * channels, 0);
            for (const Placed& p : placed) {
                const std::int64_t a = std::max(from, p.offset);
                const std::int64_t b = std::min(to, p.offset + static_cast<std::int64_t>(p.part->Length()));
                if (a >= b) continue;
                const std::uint64_t source = p.part->samples.first + static_cast<std::uint64_t>(a - p.offset);
                const auto samples = sources.Samples(*p.part, {source, source + static_cast<std::uint64_t>(b - a)});
                std::copy(samples.begin(), samples.end(), audio.begin() + static_cast<std::ptrdiff_t>(base + static_cast<std::size_t>(a - from) * channels));
            }
            if (stop) return {};
        }
        pcm.Create();
        WriteAll(pcm.Path(), audio);
        const auto bitrate = SeamBitrate(openingFrame->bytes.data(), static_cast<int>(mostReservoir));
        if (!bitrate) throw MediaError(L"A seam's new frames have no room for the audio after them, so the recording cannot be written exactly.");
        encoder.Encode(pcm.Path(), format, {{HighestBitrate(openingFrame->bytes.data()), best.Path()}, {*bitrate, carrier.Path()}});
        if (stop) return {};
    }
    std::optional<EncodedFrames> bestFrames, carrierFrames;
    if (!stretches.empty()) {
        bestFrames.emplace(best.Path(), format);
        carrierFrames.emplace(carrier.Path(), format);
    }
    auto newFrame = [&](const Stretch& s, std::int64_t frame) {
        const EncodedFrames& from = frame == s.lastNew ? *carrierFrames : *bestFrames;
        const std::int64_t k = s.encoded + frame - (s.firstNew - kPreRollFrames);
        if (k < 0 || k >= static_cast<std::int64_t>(from.index.FrameCount()))
            throw MediaError(L"The encoder wrote fewer frames than it was given audio for.");
        auto bytes = ReadSourceFrame(from.file, from.index.frameOffsets[static_cast<std::size_t>(k)]);
        if (!bytes || !bytes->header.SameStreamAs(format) || bytes->header.MainDataBegin(bytes->bytes.data()) != 0)
            throw MediaError(L"The encoder's frames read from a bit reservoir, so the seams cannot be written exactly.");
        return std::move(bytes->bytes);
    };

    // The file: the first source's tags, the information frame, then the frames.
    TemporaryFile output(path + L".writing");
    output.Create();
    const std::uint64_t tagsSize = LeadingTagsSize(openingFile);
    std::vector<std::uint8_t> tags(static_cast<std::size_t>(tagsSize));
    if (openingFile.ReadAt(0, tags.data(), tags.size()) < tags.size()) throw Damaged(opening);
    const auto infoHeader = FrameHeader::ForMainData(openingFrame->bytes.data(), InfoFrame::kContentSize);
    if (!infoHeader) throw Damaged(opening);
    const auto infoSize = static_cast<std::size_t>(FrameHeader::Parse(infoHeader->data())->frameSize);
    std::vector<std::uint8_t> infoBytes;
    GainReport gainReport;
    {
        OutputFile out(output.Path(), 0);
        out.Write(tags.data(), tags.size());
        const std::vector<std::uint8_t> placeholder(infoSize, 0);
        out.Write(placeholder.data(), placeholder.size());
        const GainPlan gains(level, {0, static_cast<std::uint64_t>(length)}, format.sampleRate);
        AudioOut audio(out, (*infoHeader)[2] >> 4, gains, format, FrameGrid(static_cast<int>(spf), static_cast<int>(delay)),
                       static_cast<std::size_t>(headFrames));

        if (!newFromStart)
            WriteOpening(openingFile, placed.front(), first, *trial,
                         (stretches.empty() ? totalFrames : stretches.front().firstNew) - 1, audio, format);
        for (std::size_t k = 0; k < stretches.size(); ++k) {
            const Stretch& s = stretches[k];
            const Placed& next = placed[s.nextPart];
            for (std::int64_t frame = s.firstNew; frame <= s.lastNew; ++frame) {
                auto bytes = newFrame(s, frame);
                if (frame == s.lastNew) bytes = Carrying(std::move(bytes), copies[k].reservoir);
                audio.Frames(bytes.data(), bytes.size());
            }
            encodedFrames += static_cast<std::uint64_t>(s.lastNew - s.firstNew + 1);
            CopyFrames(sources.File(*next.part), next, copies[k].first, copies[k].last, audio, format);
            if (stop) return {};
        }

        const std::int64_t padding = totalFrames * spf - delay - length;
        if (delay > InfoFrame::kMaxCount || padding < 0 || padding > InfoFrame::kMaxCount)
            throw MediaError(L"The recording's start or end cannot be given exactly in its LAME tag.");
        InfoFrame info;
        info.header = *infoHeader;
        info.constantBitrate = audio.constantBitrate;
        info.frames = static_cast<std::uint32_t>(audio.sizes.size());
        std::uint64_t bytes = infoSize;
        for (std::uint32_t size : audio.sizes) bytes += size;
        info.bytes = static_cast<std::uint32_t>(std::min<std::uint64_t>(bytes, 0xFFFFFFFFu));
        info.seekTable = InfoFrame::SeekTable(audio.sizes, static_cast<std::uint32_t>(infoSize));
        info.delay = static_cast<int>(delay);
        info.padding = static_cast<int>(padding);
        info.musicCrc = audio.crc;
        infoBytes = info.Bytes();
        gainReport = audio.report;
    }
    OutputFile(output.Path(), tagsSize).Write(infoBytes.data(), infoBytes.size());
    bestFrames.reset();
    carrierFrames.reset();
    if (!::MoveFileExW(output.Path().c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) throw FileError::Last();
    output.Keep();
    WrittenRecording result{{}, plan.parts, static_cast<std::uint64_t>(length), encodedFrames, gainReport};
    for (std::size_t k = 0; k < plan.seams.size(); ++k) {
        const Stretch& s = *std::find_if(stretches.begin(), stretches.end(), [k](const Stretch& t) { return t.nextPart >= k + 1; });
        auto at = [&](std::int64_t frame) {
            return static_cast<std::uint64_t>(std::clamp<std::int64_t>(frame * spf - FrameHeader::kDecoderDelay - delay, 0, length));
        };
        result.seams.push_back({plan.seams[k], {at(s.firstNew), at(s.lastNew + 1)}});
    }
    return result;
}

}  // namespace

std::optional<WrittenRecording> WriteRecording(const Recording& recording, const std::wstring& path,
                                               SeamEncoder& encoder, const LevelChange& level,
                                               const std::atomic<bool>& stop) {
    try {
        WrittenRecording written = Write(recording, path, encoder, level, stop);
        if (stop) return std::nullopt;
        return written;
    } catch (const MediaError&) {
        if (stop) return std::nullopt;
        throw;
    }
}

}  // namespace media
