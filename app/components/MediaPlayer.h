#pragma once
// The main window's view of the media player: the interface the window's
// commands use. Opening and playing files is not built yet: with nothing
// loaded the player reports position 0 and play state 0 (undefined).
#include <string>

namespace app {

class MediaPlayer {
public:
    // Play states the window compares with.
    static constexpr int kUndefined = 0;
    static constexpr int kPlaying = 3;

    int PlayState() const noexcept { return playState_; }
    double CurrentPosition() const noexcept { return position_; }
    void SetCurrentPosition(double seconds) noexcept { position_ = seconds < 0 ? 0 : seconds; }

    // With no media there is nothing to start, hold or stop.
    void Play() noexcept {}
    void Pause() noexcept {}
    void Stop() noexcept {}

private:
    int playState_ = kUndefined;
    double position_ = 0;
};

}  // namespace app
