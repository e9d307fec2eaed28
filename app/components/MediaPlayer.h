#pragma once
// The main window's media player: opens an MP3 file and starts playing it as
// soon as it is assigned, at volume 50. Positions and durations are seconds.
#include <memory>
#include <string>

#include "media/Media.h"

namespace app {

class MediaPlayer {
public:
    static constexpr int kUndefined = 0, kStopped = 1, kPaused = 2, kPlaying = 3, kMediaEnded = 8, kTransitioning = 9,
                         kReady = 10;

    struct Media {
        std::wstring name;  // the ID3 title, or the file's name without folder and extension
        double duration = 0;
    };

    MediaPlayer();
    MediaPlayer(const MediaPlayer&) = delete;
    MediaPlayer& operator=(const MediaPlayer&) = delete;
    ~MediaPlayer();

    // Opens the file (its length is known on return) and starts playing it. While
    // the file is read the thread's windows go on painting but take no input. On
    // failure returns false and keeps the previous media, position and state;
    // ErrorText() then says why.
    bool SetURL(const std::wstring& path);
    const std::wstring& URL() const { return url_; }
    const std::wstring& ErrorText() const { return errorText_; }
    // What the user should know of the file opened last that it does not show by
    // itself (a part of it that does not play); empty when there is nothing.
    const std::wstring& Notice() const { return notice_; }
    // The frame index the player made of the file at URL(), null with none.
    std::shared_ptr<const media::Mp3Index> Index() const { return player_.Index(); }

    int PlayState() const;
    const Media& CurrentMedia() const { return media_; }
    double CurrentPosition() const;
    void SetCurrentPosition(double seconds);

    void Play();
    void Pause();
    void Stop();
    // Plays from `from` and pauses exactly at `until` (seconds); with `gains`, as a cut saved with them plays.
    void PlayRange(double from, double until, std::shared_ptr<const media::GainPlan> gains = nullptr);

    int Volume() const;
    void SetVolume(int volume);

private:
    media::Player player_;
    std::wstring url_;
    std::wstring errorText_;
    std::wstring notice_;
    Media media_;
};

}  // namespace app
