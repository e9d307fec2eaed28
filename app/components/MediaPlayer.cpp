#include "app/components/MediaPlayer.h"

#include <new>

namespace app {

namespace {

std::wstring FileNameWithoutExtension(const std::wstring& path) {
    std::size_t folder = path.find_last_of(L"\\/");
    std::wstring name = folder == std::wstring::npos ? path : path.substr(folder + 1);
    std::size_t dot = name.find_last_of(L'.');
    return dot == std::wstring::npos || dot == 0 ? name : name.substr(0, dot);
}

}  // namespace

MediaPlayer::MediaPlayer() = default;
MediaPlayer::~MediaPlayer() = default;

bool MediaPlayer::SetURL(const std::wstring& path) {
    try {
        std::wstring url = path;
        player_.Open(path);
        std::wstring title = player_.Title();
        media_ = {title.empty() ? FileNameWithoutExtension(path) : std::move(title), player_.Duration()};
        url_ = std::move(url);
        errorText_.clear();
        return true;
    } catch (const media::MediaError& error) {
        errorText_ = error.Reason();
    } catch (const std::bad_alloc&) {
        errorText_ = L"There is not enough memory to open the file.";
    }
    return false;
}

int MediaPlayer::PlayState() const { return static_cast<int>(player_.State()); }

double MediaPlayer::CurrentPosition() const { return player_.Position(); }

void MediaPlayer::SetCurrentPosition(double seconds) { player_.Seek(seconds); }

void MediaPlayer::Play() { player_.Play(); }

void MediaPlayer::Pause() { player_.Pause(); }

void MediaPlayer::Stop() { player_.Stop(); }

int MediaPlayer::Volume() const { return player_.Volume(); }

void MediaPlayer::SetVolume(int volume) { player_.SetVolume(volume); }

}  // namespace app
