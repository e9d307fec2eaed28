#include "media/Recording.h"

#include <algorithm>

#include "media/MediaError.h"

namespace media {

std::wstring FileNameOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring FormatName(const FrameHeader& format) {
    const wchar_t* version = format.version == MpegVersion::Mpeg1   ? L"MPEG-1"
                             : format.version == MpegVersion::Mpeg2 ? L"MPEG-2"
                                                                    : L"MPEG-2.5";
    return std::wstring(version) + L", " + std::to_wstring(format.sampleRate) + L" Hz, " +
           (format.channels == 1 ? L"mono" : L"stereo");
}

Recording::Recording(const std::wstring& source, std::shared_ptr<const Mp3Index> index) {
    const SampleRange all{0, index->PlayableSampleCount()};
    parts_.push_back({source, std::move(index), all});
}

std::uint64_t Recording::Length() const noexcept {
    std::uint64_t length = 0;
    for (const RecordingPart& part : parts_) length += part.Length();
    return length;
}

void Recording::Join(const std::wstring& source, std::shared_ptr<const Mp3Index> index) {
    // A file joined from parts of other formats would need its frames encoded again throughout.
    if (!index->format.SameStreamAs(Format()) || index->otherFormat || !index->channelChanges.empty())
        throw MediaError(FileNameOf(source) + L" is " + FormatName(index->format) + L", but the recording is " +
                         FormatName(Format()) +
                         L". Only files of the same MPEG version, sample rate and channel count can be joined.");
    const SampleRange all{0, index->PlayableSampleCount()};
    if (all.first < all.end) parts_.push_back({source, std::move(index), all});
}

Recording Recording::Slice(SampleRange range) const {
    Recording slice;
    std::uint64_t at = 0;
    for (const RecordingPart& part : parts_) {
        const std::uint64_t first = std::max(range.first, at);
        const std::uint64_t end = std::min(range.end, at + part.Length());
        if (first < end) {
            RecordingPart kept = part;
            kept.samples = {part.samples.first + (first - at), part.samples.first + (end - at)};
            slice.parts_.push_back(std::move(kept));
        }
        at += part.Length();
    }
    // An empty slice keeps the format, as a part of no samples.
    if (slice.parts_.empty()) slice.parts_.push_back({parts_.front().source, parts_.front().index, {0, 0}});
    return slice;
}

void Recording::Remove(SampleRange range) {
    const std::uint64_t length = Length();
    range.end = std::min(range.end, length);
    if (range.first >= range.end) return;
    std::vector<RecordingPart> parts;
    for (const SampleRange kept : {SampleRange{0, range.first}, SampleRange{range.end, length}})
        for (const RecordingPart& part : Slice(kept).parts_)
            if (part.Length() > 0) parts.push_back(part);
    if (parts.empty()) parts.push_back({parts_.front().source, parts_.front().index, {0, 0}});
    parts_ = std::move(parts);
}

}  // namespace media
