#pragma once
// Decodes MP3 frames to 16-bit PCM with the system's MP3 codec through the
// Audio Compression Manager.
#include <windows.h>
#include <mmreg.h>
#include <mmsystem.h>
#include <msacm.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/FrameHeader.h"

namespace media {

class AcmDecoder {
public:
    // Samples per channel that the codec's output lags behind the frames it is fed.
    static constexpr int kDecoderDelay = FrameHeader::kDecoderDelay;

    // Opens a stream for frames like `format`; throws MediaError when the system has no MP3 codec.
    explicit AcmDecoder(const FrameHeader& format);
    AcmDecoder(const AcmDecoder&) = delete;
    AcmDecoder& operator=(const AcmDecoder&) = delete;
    ~AcmDecoder();

    // Decodes whole frames laid end to end and appends all PCM the codec gives
    // for them (interleaved samples) to `pcm`. Returns false if the codec failed.
    bool Decode(const std::uint8_t* frames, std::size_t size, std::vector<std::int16_t>& pcm);

    // Forgets the frames fed so far, as if the stream were new. False if the
    // codec could not be opened again (then every Decode fails).
    bool Restart() noexcept;

private:
    bool Convert(const std::uint8_t* source, std::size_t size, std::size_t& used, std::vector<std::int16_t>& pcm);
    MMRESULT Open() noexcept;
    void Close() noexcept;

    MPEGLAYER3WAVEFORMAT source_{};
    WAVEFORMATEX pcm_{};
    HACMSTREAM stream_ = nullptr;
    bool fed_ = false;  // a new stream need not be reopened
    std::vector<std::uint8_t> output_;
};

}  // namespace media
