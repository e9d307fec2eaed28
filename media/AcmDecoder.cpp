#include "media/AcmDecoder.h"

#include <algorithm>
#include <cstring>

#include "media/MediaError.h"

namespace media {

namespace {

// Room for the PCM of a batch of frames, so that one call rarely leaves any in the codec.
constexpr std::size_t kOutputBytes = 64 * 1152 * 2 * sizeof(std::int16_t);
// Calls without new input that still give PCM; the codec holds back at most a few frames.
constexpr int kDrainCalls = 64;

}  // namespace

AcmDecoder::AcmDecoder(const FrameHeader& format) : output_(kOutputBytes) {
    source_.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
    source_.wfx.nChannels = static_cast<WORD>(format.channels);
    source_.wfx.nSamplesPerSec = static_cast<DWORD>(format.sampleRate);
    // A zero byte rate opens, but breaks the codec's size estimates later.
    source_.wfx.nAvgBytesPerSec = static_cast<DWORD>(format.bitrate / 8);
    source_.wfx.nBlockAlign = 1;
    source_.wfx.wBitsPerSample = 0;
    source_.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
    source_.wID = MPEGLAYER3_ID_MPEG;
    source_.fdwFlags = MPEGLAYER3_FLAG_PADDING_OFF;
    int coefficient = format.version == MpegVersion::Mpeg1 ? 144 : 72;
    source_.nBlockSize = static_cast<WORD>(coefficient * format.bitrate / format.sampleRate);
    source_.nFramesPerBlock = 1;
    source_.nCodecDelay = 1393;

    pcm_.wFormatTag = WAVE_FORMAT_PCM;
    pcm_.nChannels = static_cast<WORD>(format.channels);
    pcm_.nSamplesPerSec = static_cast<DWORD>(format.sampleRate);
    pcm_.wBitsPerSample = 16;
    pcm_.nBlockAlign = static_cast<WORD>(format.channels * 2);
    pcm_.nAvgBytesPerSec = pcm_.nSamplesPerSec * pcm_.nBlockAlign;
    Open();
}

AcmDecoder::~AcmDecoder() { Close(); }

void AcmDecoder::Open() {
    MMRESULT result = ::acmStreamOpen(&stream_, nullptr, &source_.wfx, &pcm_, nullptr, 0, 0, 0);
    if (result != MMSYSERR_NOERROR) {
        stream_ = nullptr;
        throw MediaError(L"The system has no MP3 decoder for this file's format (error " + std::to_wstring(result) +
                         L" from the Audio Compression Manager).");
    }
}

void AcmDecoder::Close() noexcept {
    if (stream_) ::acmStreamClose(stream_, 0);
    stream_ = nullptr;
}

void AcmDecoder::Restart() {
    Close();
    Open();
}

bool AcmDecoder::Convert(const std::uint8_t* source, std::size_t size, std::size_t& used,
                         std::vector<std::int16_t>& pcm) {
    ACMSTREAMHEADER header{};
    header.cbStruct = sizeof header;
    // The codec never writes to its input; the header just has no const.
    header.pbSrc = const_cast<std::uint8_t*>(source);
    header.cbSrcLength = static_cast<DWORD>(size);
    header.pbDst = output_.data();
    header.cbDstLength = static_cast<DWORD>(output_.size());
    if (::acmStreamPrepareHeader(stream_, &header, 0) != MMSYSERR_NOERROR) return false;
    MMRESULT result = ::acmStreamConvert(stream_, &header, ACM_STREAMCONVERTF_BLOCKALIGN);
    // The header was prepared with the lengths it had then.
    header.cbSrcLength = static_cast<DWORD>(size);
    header.cbDstLength = static_cast<DWORD>(output_.size());
    ::acmStreamUnprepareHeader(stream_, &header, 0);
    if (result != MMSYSERR_NOERROR) return false;
    used = header.cbSrcLengthUsed;
    std::size_t samples = header.cbDstLengthUsed / sizeof(std::int16_t);
    std::size_t old = pcm.size();
    pcm.resize(old + samples);
    std::memcpy(pcm.data() + old, output_.data(), samples * sizeof(std::int16_t));
    return true;
}

bool AcmDecoder::Decode(const std::uint8_t* frames, std::size_t size, std::vector<std::int16_t>& pcm) {
    if (!stream_) return false;
    while (size > 0) {
        std::size_t used = 0;
        std::size_t before = pcm.size();
        if (!Convert(frames, size, used, pcm)) return false;
        if (used == 0 && pcm.size() == before) break;
        frames += used;
        size -= used;
    }
    // PCM that did not fit stays in the codec until asked for.
    for (int i = 0; i < kDrainCalls; ++i) {
        std::size_t used = 0;
        std::size_t before = pcm.size();
        if (!Convert(frames, 0, used, pcm)) return false;
        if (pcm.size() == before) break;
    }
    return true;
}

}  // namespace media
