#pragma once
// What reading an MP3 file found: the stream's format, where every audio frame
// starts, and the encoder's delay and padding.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "media/FrameHeader.h"
#include "media/FrameOffsets.h"

namespace media {

struct Mp3Index {
    FrameHeader format;                           // the first audio frame's header
    FrameOffsets frameOffsets;                    // file offset of every audio frame, in order
    std::uint64_t audioEnd = 0;                   // where the audio stops (trailing tags left out)
    std::uint64_t fileSize = 0;                   // the file's size when it was read
    std::uint64_t lastWriteTime = 0;              // and when it had last been written
    std::optional<std::uint32_t> declaredFrames;  // the frame count an information frame gave
    std::optional<std::uint64_t> infoFrame;       // file offset of the information frame, if there is one
    int encoderDelay = 0;                         // from the LAME tag; 0 where there is none
    int encoderPadding = 0;
    std::wstring title;  // the ID3v2 title, or empty
    // A part at another sample rate (a file joined from others) is left out: the
    // first frame of the first such part, and how many audio frames come before it.
    std::optional<FrameHeader> otherFormat;
    std::uint64_t framesBeforeOtherFormat = 0;
    // A part with another channel count plays: the audio frames where the count
    // changes from the one before, in order.
    std::vector<std::uint64_t> channelChanges;

    std::uint64_t FrameCount() const noexcept { return frameOffsets.size(); }
    // The channel count of an audio frame, and the first and one past the last
    // frame of the run of frames with that count that holds it.
    int ChannelsOf(std::uint64_t frame) const noexcept {
        const auto changes = std::upper_bound(channelChanges.begin(), channelChanges.end(), frame) - channelChanges.begin();
        return changes % 2 == 0 ? format.channels : 3 - format.channels;
    }
    // The stream an audio frame belongs to: the first frame's, with the frame's own channel count.
    FrameHeader FormatOf(std::uint64_t frame) const noexcept {
        FrameHeader stream = format;
        stream.channels = ChannelsOf(frame);
        return stream;
    }
    std::uint64_t RunStart(std::uint64_t frame) const noexcept {
        const auto next = std::upper_bound(channelChanges.begin(), channelChanges.end(), frame);
        return next == channelChanges.begin() ? 0 : *(next - 1);
    }
    std::uint64_t RunEnd(std::uint64_t frame) const noexcept {
        const auto next = std::upper_bound(channelChanges.begin(), channelChanges.end(), frame);
        return next == channelChanges.end() ? FrameCount() : *next;
    }
    std::uint64_t SampleCount() const noexcept { return FrameCount() * format.SamplesPerFrame(); }
    double Duration() const noexcept { return static_cast<double>(SampleCount()) / format.sampleRate; }
    // The samples of the audio itself: the encoder's delay and padding left out.
    std::uint64_t AudioSampleCount() const noexcept {
        std::uint64_t trimmed = static_cast<std::uint64_t>(encoderDelay) + encoderPadding;
        return trimmed < SampleCount() ? SampleCount() - trimmed : SampleCount();
    }
    // The samples a player gives: the audio itself, less what the decoder keeps to
    // itself at the very end where the encoder's padding does not cover its delay.
    std::uint64_t PlayableSampleCount() const noexcept {
        std::uint64_t held = static_cast<std::uint64_t>(encoderDelay) + FrameHeader::kDecoderDelay;
        std::uint64_t decodable = SampleCount() > held ? SampleCount() - held : 0;
        return std::min(AudioSampleCount(), decodable);
    }
};

}  // namespace media
