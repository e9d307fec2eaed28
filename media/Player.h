#pragma once
// Plays one MP3 stream at a time on a worker thread: the calls below come from
// the user-interface thread, return at once and may be made at any time.
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "base/Handles.h"
#include "media/AudioSink.h"
#include "media/Mp3Stream.h"

namespace media {

// The values media players have long used for these states. (Their "ready", 10,
// never occurs here: loading a file starts playing it.)
enum class PlayState : int {
    Undefined = 0,
    Stopped = 1,
    Paused = 2,
    Playing = 3,  // only while sound is really going out
    MediaEnded = 8,
    Transitioning = 9,  // opening the device or decoding the first buffers
};

class Player {
public:
    enum class Output { Device, Silent };
    // Opens where the sound of a stream of this format goes; null where there is nowhere.
    using SinkOpener = std::function<std::unique_ptr<AudioSink>(int sampleRate, int channels)>;

    // With Output::Device the default sound device plays, or the silent clock when there is none.
    explicit Player(Output output = Output::Device);
    // Plays on what `open` gives, or on the silent clock where it gives nothing. A
    // sink that refuses sound hands the rest of the playback to the silent clock.
    explicit Player(SinkOpener open);
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;
    ~Player();

    // Takes over an opened stream in place of the current one and starts playing it from the start.
    void Load(std::unique_ptr<Mp3Stream> stream);
    // Opens the file and loads it; throws MediaError with the reason, keeping the current one, if it cannot.
    // Reading a large file takes a while: this one may be called from another thread.
    void Open(const std::wstring& path);

    void Play();
    void Pause();
    // Back to the start, not playing.
    void Stop();
    // Moves the playhead; playback goes on from there if it was going.
    void Seek(double seconds);
    // Plays from `from` and pauses exactly at `until` (seconds), where the playhead
    // stays; with `gains`, the frames' gains changed as a cut saved with them plays.
    // The next command plays the frames as they are again.
    void PlayRange(double from, double until, std::shared_ptr<const GainPlan> gains = nullptr);

    PlayState State() const;
    double Position() const;     // seconds
    double Duration() const;     // seconds; 0 with no media
    std::wstring Title() const;  // the ID3v2 title; empty with no media or none in the file
    // The loaded file's frame index, null with no media; it stays valid after another file is loaded.
    std::shared_ptr<const Mp3Index> Index() const;

    int Volume() const;
    void SetVolume(int volume);  // 0 to 100

    // Whether the current playback goes to a sound device (or the opener's sink) rather than the silent clock.
    bool PlaysOnDevice() const;

private:
    using Clock = std::chrono::steady_clock;

    // Every command starts over from `sample`, and ends at the file's end unless it pauses at `pause`.
    void Restart(std::uint64_t sample, bool playing, PlayState state,
                 std::optional<std::uint64_t> pause = std::nullopt);  // mutex held
    std::uint64_t SampleAt(double seconds) const;                      // mutex held
    std::uint64_t PlayheadSample() const;                               // mutex held
    void Run();
    std::unique_ptr<AudioSink> OpenSink(const Mp3Stream& stream);

    const SinkOpener open_;
    mutable std::mutex mutex_;
    base::KernelHandle wake_;

    // Guarded by mutex_. `generation` counts the commands that make the worker start over.
    std::shared_ptr<Mp3Stream> stream_;
    std::shared_ptr<const GainPlan> gains_;  // for the range playing
    std::uint64_t generation_ = 0;
    bool quit_ = false;
    bool playing_ = false;  // the worker should be playing
    PlayState state_ = PlayState::Undefined;
    std::uint64_t startSample_ = 0;
    std::optional<std::uint64_t> pauseSample_;  // where playback pauses by itself, also at the file's end
    std::uint64_t finishedSamples_ = 0;  // played since the start sample
    std::uint64_t queuedSamples_ = 0;
    Clock::time_point lastFinish_{};
    int sampleRate_ = 0;
    std::uint64_t length_ = 0;
    double duration_ = 0;
    int volume_ = 50;
    bool onDevice_ = false;

    std::thread worker_;
};

}  // namespace media
