#include "media/Player.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "media/SilentClock.h"
#include "media/WaveOutput.h"

namespace media {

namespace {

// Volume 0 to 100 as a gain in 1/32768ths, squared so that the steps sound even.
int GainFor(int volume) noexcept { return volume * volume * 32768 / 10000; }

void ApplyGain(std::int16_t* samples, std::size_t count, int gain) noexcept {
    if (gain == 32768) return;
    for (std::size_t i = 0; i < count; ++i) samples[i] = static_cast<std::int16_t>((samples[i] * gain) >> 15);
}

}  // namespace

Player::Player(Output output)
    : Player(output == Output::Device ? SinkOpener([](int rate, int channels) -> std::unique_ptr<AudioSink> {
          return WaveOutput::Open(rate, channels);
      })
                                      : SinkOpener()) {}

Player::Player(SinkOpener open) : open_(std::move(open)), wake_(::CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
    worker_ = std::thread([this] { Run(); });
}

Player::~Player() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    ::SetEvent(wake_.Get());
    worker_.join();
}

void Player::Load(std::unique_ptr<Mp3Stream> stream) {
    std::shared_ptr<Mp3Stream> shared = std::move(stream);  // the one step that may fail
    std::lock_guard lock(mutex_);
    sampleRate_ = shared->SampleRate();
    length_ = shared->Length();
    duration_ = static_cast<double>(length_) / sampleRate_;
    stream_ = std::move(shared);
    Restart(0, true, PlayState::Transitioning);
}

void Player::Open(const std::wstring& path) { Load(std::make_unique<Mp3Stream>(path)); }

void Player::Restart(std::uint64_t sample, bool playing, PlayState state, std::optional<std::uint64_t> pause) {
    startSample_ = std::min(sample, length_);
    pauseSample_ = pause;
    playing_ = playing;
    state_ = state;
    gains_ = nullptr;
    finishedSamples_ = 0;
    queuedSamples_ = 0;
    ++generation_;
    ::SetEvent(wake_.Get());
}

void Player::Play() {
    std::lock_guard lock(mutex_);
    if (!stream_ || playing_) return;
    Restart(state_ == PlayState::MediaEnded ? 0 : startSample_, true, PlayState::Transitioning);
}

void Player::Pause() {
    std::lock_guard lock(mutex_);
    if (!stream_ || !playing_) return;
    Restart(PlayheadSample(), false, PlayState::Paused);
}

void Player::Stop() {
    std::lock_guard lock(mutex_);
    if (!stream_) return;
    Restart(0, false, PlayState::Stopped);
}

std::uint64_t Player::SampleAt(double seconds) const {
    return static_cast<std::uint64_t>(std::llround(std::clamp(seconds, 0.0, duration_) * sampleRate_));
}

void Player::Seek(double seconds) {
    std::lock_guard lock(mutex_);
    if (!stream_) return;
    std::uint64_t target = SampleAt(seconds);
    if (playing_) {
        Restart(target, true, PlayState::Transitioning);
    } else {
        // After the end a seek leaves a stopped player that plays on from the new place.
        Restart(target, false, state_ == PlayState::MediaEnded ? PlayState::Stopped : state_);
    }
}

void Player::PlayRange(double from, double until, std::shared_ptr<const GainPlan> gains) {
    std::lock_guard lock(mutex_);
    if (!stream_) return;
    std::uint64_t pause = SampleAt(until);
    Restart(std::min(SampleAt(from), pause), true, PlayState::Transitioning, pause);
    gains_ = std::move(gains);
}

PlayState Player::State() const {
    std::lock_guard lock(mutex_);
    return state_;
}

std::uint64_t Player::PlayheadSample() const {
    std::uint64_t sample = startSample_ + finishedSamples_;
    // Between two finished buffers the one playing is partly heard.
    if (state_ == PlayState::Playing && queuedSamples_ > finishedSamples_) {
        double elapsed = std::chrono::duration<double>(Clock::now() - lastFinish_).count();
        auto heard = static_cast<std::uint64_t>(std::max(0.0, elapsed) * sampleRate_);
        sample += std::min({heard, queuedSamples_ - finishedSamples_,
                            static_cast<std::uint64_t>(AudioSink::BufferSamples(sampleRate_))});
    }
    return std::min(sample, length_);
}

double Player::Position() const {
    std::lock_guard lock(mutex_);
    if (!stream_) return 0;
    if (state_ == PlayState::MediaEnded) return duration_;
    return static_cast<double>(PlayheadSample()) / sampleRate_;
}

double Player::Duration() const {
    std::lock_guard lock(mutex_);
    return stream_ ? duration_ : 0;
}

std::wstring Player::Title() const {
    std::lock_guard lock(mutex_);
    return stream_ ? stream_->Index().title : std::wstring();
}

std::shared_ptr<const Mp3Index> Player::Index() const {
    std::lock_guard lock(mutex_);
    if (!stream_) return nullptr;
    return stream_->SharedIndex();
}

int Player::Volume() const {
    std::lock_guard lock(mutex_);
    return volume_;
}

void Player::SetVolume(int volume) {
    std::lock_guard lock(mutex_);
    volume_ = std::clamp(volume, 0, 100);
}

bool Player::PlaysOnDevice() const {
    std::lock_guard lock(mutex_);
    return onDevice_;
}

std::unique_ptr<AudioSink> Player::OpenSink(const Mp3Stream& stream) {
    std::unique_ptr<AudioSink> sink;
    if (open_) sink = open_(stream.SampleRate(), stream.Channels());
    bool onDevice = sink != nullptr;
    if (!sink) sink = std::make_unique<SilentClock>(stream.SampleRate());
    std::lock_guard lock(mutex_);
    onDevice_ = onDevice;
    return sink;
}

void Player::Run() {
    std::shared_ptr<Mp3Stream> stream;
    std::unique_ptr<AudioSink> sink;
    int sinkRate = 0;
    int sinkChannels = 0;
    bool sinkOnDevice = false;
    // Room for the longest buffer: 100 ms of stereo at 48 kHz.
    std::vector<std::int16_t> block(AudioSink::BufferSamples(48000) * 2);
    std::uint64_t seen = 0;
    bool ended = false;
    std::uint64_t queued = 0;
    for (;;) {
        std::uint64_t generation = 0;
        bool playing = false;
        std::uint64_t start = 0;
        std::uint64_t pause = 0;
        int volume = 0;
        bool newStream = false;
        std::shared_ptr<const GainPlan> gains;
        {
            std::lock_guard lock(mutex_);
            if (quit_) break;
            generation = generation_;
            playing = playing_;
            start = startSample_;
            pause = pauseSample_.value_or(length_);
            volume = volume_;
            gains = gains_;
            if (generation != seen) {
                newStream = stream != stream_;
                stream = stream_;
            }
        }
        if (generation != seen) {
            seen = generation;
            if (sink) sink->Reset();
            ended = false;
            queued = 0;
            if (playing && stream) {
                // Out of memory here ends the playback, not the program.
                try {
                    // A new file tries the device again after it refused the last one.
                    if (!sink || sinkRate != stream->SampleRate() || sinkChannels != stream->Channels() ||
                        (newStream && !sinkOnDevice)) {
                        sink.reset();
                        sink = OpenSink(*stream);
                        sinkRate = stream->SampleRate();
                        sinkChannels = stream->Channels();
                        sinkOnDevice = PlaysOnDevice();
                    }
                    stream->SetGainPlan(std::move(gains));
                    stream->Seek(start);
                } catch (const std::exception&) {
                    ended = true;
                }
            }
        }

        HANDLE handles[2] = {wake_.Get(), nullptr};
        DWORD count = 1;
        DWORD wait = INFINITE;
        if (playing && stream) {
            std::uint64_t finished = sink ? sink->TakeFinished() : 0;
            std::size_t bufferSamples = AudioSink::BufferSamples(stream->SampleRate());
            bool refused = false;
            try {
                while (!ended && sink && sink->HasFreeBuffer()) {
                    std::uint64_t left = pause > stream->Position() ? pause - stream->Position() : 0;
                    std::size_t n = stream->Read(block.data(), static_cast<std::size_t>(std::min<std::uint64_t>(
                                                                   bufferSamples, left)));
                    if (n == 0) {
                        ended = true;
                        break;
                    }
                    ApplyGain(block.data(), n * stream->Channels(), GainFor(volume));
                    if (!sink->Queue(block.data(), n)) {
                        refused = true;
                        break;
                    }
                    queued += n;
                }
            } catch (const std::exception&) {
                ended = true;
            }
            if (refused) {
                // The rest plays on the silent clock, from what has been heard.
                sink = std::make_unique<SilentClock>(stream->SampleRate());
                sinkOnDevice = false;
                std::lock_guard lock(mutex_);
                onDevice_ = false;
                if (generation_ == seen) {
                    finishedSamples_ += finished;
                    // The range keeps its end and its gains.
                    auto gains = gains_;
                    Restart(PlayheadSample(), true, PlayState::Transitioning, pauseSample_);
                    gains_ = std::move(gains);
                }
                continue;
            }
            bool done = !sink || (ended && sink->Idle());
            {
                std::lock_guard lock(mutex_);
                if (generation_ == seen) {
                    Clock::time_point now = Clock::now();
                    if (finished > 0) {
                        finishedSamples_ += finished;
                        lastFinish_ = now;
                    }
                    if (state_ == PlayState::Transitioning && queued > 0) {
                        state_ = PlayState::Playing;
                        lastFinish_ = now;
                    }
                    queuedSamples_ = queued;
                    if (done && pauseSample_) {
                        // A range played to its end pauses exactly there, also at the file's end.
                        state_ = PlayState::Paused;
                        playing_ = false;
                        startSample_ = *pauseSample_;
                        finishedSamples_ = 0;
                        queuedSamples_ = 0;
                    } else if (done) {
                        state_ = PlayState::MediaEnded;
                        playing_ = false;
                        startSample_ = 0;
                    }
                }
            }
            if (!done) {
                handles[1] = sink->FinishedEvent();
                if (handles[1]) count = 2;
                wait = sink->MaxWaitMilliseconds();
            }
        }
        ::WaitForMultipleObjects(count, handles, FALSE, wait);
    }
}

}  // namespace media
