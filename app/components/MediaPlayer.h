#pragma once
// The main window's view of the media player: the interface the window's
// commands use. Opening and playing files is not built yet: every file is
// refused with a message saying so, and with nothing loaded the player reports
// position 0 and play state 0 (undefined).
#include <string>

namespace app {

class MediaPlayer {
public:
    static constexpr int kUndefined = 0, kStopped = 1, kPaused = 2, kPlaying = 3, kMediaEnded = 8,
                         kTransitioning = 9, kReady = 10;
    struct Media {
        std::wstring name;
        double duration = 0;
    };

    bool SetURL(const std::wstring&) {
        errorText_ = L"This version of Snipmill cannot play MP3 files yet.";
        return false;
    }
    const std::wstring& URL() const noexcept { return url_; }
    const std::wstring& ErrorText() const noexcept { return errorText_; }
    int PlayState() const noexcept { return kUndefined; }
    const Media& CurrentMedia() const noexcept { return media_; }
    double CurrentPosition() const noexcept { return position_; }
    void SetCurrentPosition(double seconds) noexcept { position_ = seconds < 0 ? 0 : seconds; }

    // With no media there is nothing to start, hold or stop.
    void Play() noexcept {}
    void Pause() noexcept {}
    void Stop() noexcept {}

private:
    std::wstring url_;
    std::wstring errorText_;
    Media media_;
    double position_ = 0;
};

}  // namespace app
