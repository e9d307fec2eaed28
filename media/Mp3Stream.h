#pragma once
// The decoded audio of an indexed MP3 file as one run of PCM samples that can be
// read from any sample on. Sample 0 is the first sample of the audio itself: the
// codec's delay and, where the LAME tag gives it, the encoder's delay are left out.
// All of it comes in the channel count the file starts with: a mono part of a
// joined file plays on both channels, a stereo part after a mono start mixed to one.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/AcmDecoder.h"
#include "media/GainPlan.h"
#include "media/MediaFile.h"
#include "media/Mp3Index.h"

namespace media {

class Mp3Stream {
public:
    // Opens, indexes and prepares to decode the file; throws MediaError with the reason if it cannot.
    explicit Mp3Stream(const std::wstring& path);
    // Prepares to decode the file as an earlier reading of it indexed it, without
    // reading it again while the file is as it was then.
    Mp3Stream(const std::wstring& path, std::shared_ptr<const Mp3Index> index);
    Mp3Stream(const Mp3Stream&) = delete;
    Mp3Stream& operator=(const Mp3Stream&) = delete;

    const Mp3Index& Index() const noexcept { return index_; }
    std::shared_ptr<const Mp3Index> SharedIndex() const noexcept { return sharedIndex_; }
    int SampleRate() const noexcept { return index_.format.sampleRate; }
    int Channels() const noexcept { return index_.format.channels; }
    // Samples per channel in the whole stream. The codec keeps its delay's worth
    // of samples at the very end to itself, which the encoder's padding usually covers.
    std::uint64_t Length() const noexcept;
    // The sample the next Read starts with.
    std::uint64_t Position() const noexcept { return position_; }

    // Moves to `sample` (at most Length()); the next Read gives exactly that sample first.
    void Seek(std::uint64_t sample);
    // The same, and the samples read from there on are exactly those that reading
    // from the start gives. The codec carries a rounding state through the stream
    // that repeats only every 131,072 samples of all channels, so decoding starts
    // on a frame where it stands as it does at the start: up to StateFrames(format)
    // frames earlier than Seek's.
    void SeekAsFromStart(std::uint64_t sample);
    // Seek's, without starting the codec afresh (which costs milliseconds): what it
    // still holds goes only into the frames decoded ahead of the sample and dropped.
    // For many short reads in one file.
    void SeekKeepingCodec(std::uint64_t sample);
    // Frames between two such starts.
    static std::size_t StateFrames(const FrameHeader& format) noexcept;

    // Decodes the frames with their gains changed as `plan` says (none: as they
    // are), as a cut saved with it plays; from the next Seek on.
    void SetGainPlan(std::shared_ptr<const GainPlan> plan) noexcept { gains_ = std::move(plan); }

    // Writes up to `count` samples per channel, interleaved, to `out` and returns how many;
    // fewer only at the end of the stream (or where the file can no longer be read).
    std::size_t Read(std::int16_t* out, std::size_t count);

private:
    void SeekFrom(std::uint64_t sample, std::size_t alignment, bool restart = true);
    std::size_t PrimingStart(std::size_t frame);
    // The codec for frames of this many channels, started afresh where the frames fed it last had the other count.
    AcmDecoder* DecoderFor(int channels);
    bool DecodeMore();

    MediaFile file_;
    std::shared_ptr<const Mp3Index> sharedIndex_;
    const Mp3Index& index_;
    AcmDecoder decoder_;
    std::unique_ptr<AcmDecoder> otherDecoder_;  // for a part with the other channel count
    int decodingChannels_ = 0;                  // of the frames fed last
    std::vector<std::int16_t> otherPcm_;
    std::size_t nextFrame_ = 0;
    std::uint64_t skip_ = 0;  // samples per channel of the decoder's output still to drop
    bool fedRunEnd_ = false;  // the codec was last given a run's end and the copy of its header
    std::uint64_t position_ = 0;
    std::vector<std::int16_t> pcm_;
    std::size_t pcmRead_ = 0;
    std::vector<std::uint8_t> raw_;
    std::vector<std::uint8_t> frames_;
    std::shared_ptr<const GainPlan> gains_;
};

}  // namespace media
