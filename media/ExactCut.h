#pragma once
// Makes a stream copy of a selection hold exactly the selected samples. A
// stream copy starts and ends on whole frames and leaves out the bit reservoir
// that its first frame reads from the frames before it. This rewrites the copy's
// audio from the source's own frames: from the frame whose first granule lies
// wholly before the selection, so that it primes the decoder's overlap for the
// first selected sample (after one silent frame that carries its reservoir), to
// the frame holding the selection's last sample, under an information frame
// whose LAME tag tells gapless players the delay and padding to drop. The tags
// the copy begins and ends with stay as they are. Fades and a change of level
// are made in the frames' gain fields, so the audio is never decoded.
#include <atomic>
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "media/LevelChange.h"
#include "media/PieceTags.h"

namespace media {

struct Mp3Index;

// Samples of the reader's time line (0 is the first sample of the audio itself).
struct SampleRange {
    std::uint64_t first = 0;
    std::uint64_t end = 0;  // one past the last
    bool operator==(const SampleRange&) const = default;
};

// The samples of a selection given in seconds, at `rate` samples a second:
// each time to its nearest sample, halves to even.
SampleRange SelectionSamples(double start, double length, int rate) noexcept;

// An exact cut made in two steps, so that most of it is done while the encoder
// writes its copy. Everything but the copy's tags comes from the source: the
// audio is prepared from it on a worker thread as soon as the cut is made, and
// once the encoder is done only writing it into the copy is left.
class ExactCut {
public:
    // Starts preparing the audio of `length` seconds from `start` of `source`,
    // with the fades and level of `change`. `sourceIndex`, an index made of
    // `source` earlier (a player's), spares reading the whole file again while
    // the file is as it was then.
    ExactCut(std::wstring source, double start, double length, std::shared_ptr<const Mp3Index> sourceIndex,
             const LevelChange& change = {});
    ExactCut(const ExactCut&) = delete;
    ExactCut& operator=(const ExactCut&) = delete;
    ~ExactCut();

    // Ends the preparation at once, for a save given up; returns once the
    // worker has let go of the source. Finish then leaves the copy alone.
    void Stop() noexcept;

    // Has Finish give the copy's leading tag these frames of a piece of a recording.
    void SetPieceTags(const PieceTags& tags) { pieceTags_ = tags; }

    // Rewrites `copy`, a frame-snapped stream copy of the selection, in place:
    // its leading tags, the prepared audio (the selection's end clamped to the
    // end of the audio), its trailing tags. Returns the seconds the copy then
    // plays for, or nothing, with `copy` left as it was, when the source cannot
    // be cut exactly (frames damaged or missing in the range, no sample of the
    // source selected) or the copy holds no audio. Throws MediaError with the
    // system's reason when the source or the copy cannot be read or written
    // (the copy may then be half written).
    std::optional<double> Finish(const std::wstring& copy);

    // After Finish: what the fades and level could not change.
    const GainReport& Report() const noexcept { return report_; }

private:
    void Prepare() noexcept;

    const std::wstring source_;
    const double start_;
    const double length_;
    const std::shared_ptr<const Mp3Index> sourceIndex_;
    const LevelChange change_;
    GainReport report_;
    std::atomic<bool> stop_{false};
    bool prepared_ = false;
    std::vector<std::uint8_t> audio_;  // empty where the source cannot be cut exactly
    double seconds_ = 0;               // what the audio plays for
    std::exception_ptr failure_;
    std::optional<PieceTags> pieceTags_;
    std::thread worker_;
};

// Both steps at once, for a copy that is already written; nothing on any failure.
std::optional<double> MakeCutExact(const std::wstring& source, const std::wstring& copy, double start, double length,
                                   const Mp3Index* sourceIndex = nullptr) noexcept;

}  // namespace media
