#include "app/components/MediaPlayer.h"

#include <cstdio>
#include <exception>
#include <functional>
#include <iterator>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include "base/Handles.h"
#include "base/MessageLoop.h"
#include "base/SystemErrorText.h"

namespace app {

namespace {

std::wstring FileNameWithoutExtension(const std::wstring& path) {
    std::size_t folder = path.find_last_of(L"\\/");
    std::wstring name = folder == std::wstring::npos ? path : path.substr(folder + 1);
    std::size_t dot = name.find_last_of(L'.');
    return dot == std::wstring::npos || dot == 0 ? name : name.substr(0, dot);
}

// The thread's windows take no input while they are disabled, as under a modal
// dialog, but go on painting; those that were enabled are enabled again after.
class ThreadWindowsDisabled {
public:
    ThreadWindowsDisabled() {
        ::EnumThreadWindows(::GetCurrentThreadId(), &ThreadWindowsDisabled::Disable, reinterpret_cast<LPARAM>(this));
    }
    ThreadWindowsDisabled(const ThreadWindowsDisabled&) = delete;
    ThreadWindowsDisabled& operator=(const ThreadWindowsDisabled&) = delete;
    ~ThreadWindowsDisabled() {
        for (HWND window : disabled_) ::EnableWindow(window, TRUE);
    }

private:
    static BOOL CALLBACK Disable(HWND window, LPARAM self) {
        if (::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
            ::EnableWindow(window, FALSE);
            reinterpret_cast<ThreadWindowsDisabled*>(self)->disabled_.push_back(window);
        }
        return TRUE;
    }

    std::vector<HWND> disabled_;
};

// Reading a large file takes seconds: `work` runs on a thread of its own while
// this one dispatches its messages, so the windows keep painting and the timers
// ticking. What `work` throws is thrown here. The thread is joined on every
// path, also when a message dispatched meanwhile throws.
void RunWhileDispatching(const std::function<void()>& work) {
    base::KernelHandle done(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!done) throw media::MediaError(base::SystemErrorText(::GetLastError()));
    std::exception_ptr failure;
    std::jthread worker;
    try {
        worker = std::jthread([&] {
            try {
                work();
            } catch (...) {
                failure = std::current_exception();
            }
            ::SetEvent(done.Get());
        });
    } catch (const std::system_error&) {
        throw media::MediaError(L"The file cannot be opened now: the system has no room for another thread.");
    }
    {
        ThreadWindowsDisabled disabled;
        HANDLE handle = done.Get();
        while (::MsgWaitForMultipleObjectsEx(1, &handle, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE) != WAIT_OBJECT_0)
            base::DoEvents();
    }
    worker.join();
    if (failure) std::rethrow_exception(failure);
}

std::wstring RateName(const media::FrameHeader& format) { return std::to_wstring(format.sampleRate) + L" Hz"; }

// The player plays at one sample rate from start to end: a part joined on at another
// is left out, and said so. (A part with another channel count plays.)
std::wstring OtherFormatNotice(const media::Mp3Index& index) {
    if (!index.otherFormat) return {};
    const std::uint64_t frameStart = index.framesBeforeOtherFormat * index.format.SamplesPerFrame();
    const std::uint64_t lead = static_cast<std::uint64_t>(index.encoderDelay) + media::FrameHeader::kDecoderDelay;
    wchar_t at[32];
    std::swprintf(at, std::size(at), L"%.1f",
                  static_cast<double>(frameStart > lead ? frameStart - lead : 0) / index.format.sampleRate);
    return L"From " + std::wstring(at) + L" s on, this file goes on at another sample rate (" +
           RateName(*index.otherFormat) + L") than it starts at (" + RateName(index.format) +
           L"). Snipmill cannot change the sample rate while it plays: it leaves the parts at the other rate out.";
}

}  // namespace

MediaPlayer::MediaPlayer() = default;
MediaPlayer::~MediaPlayer() = default;

bool MediaPlayer::SetURL(const std::wstring& path) {
    try {
        std::wstring url = path;
        RunWhileDispatching([&] { player_.Open(path); });
        std::wstring title = player_.Title();
        media_ = {title.empty() ? FileNameWithoutExtension(path) : std::move(title), player_.Duration()};
        url_ = std::move(url);
        errorText_.clear();
        notice_ = OtherFormatNotice(*player_.Index());
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

void MediaPlayer::PlayRange(double from, double until, std::shared_ptr<const media::GainPlan> gains) {
    player_.PlayRange(from, until, std::move(gains));
}

int MediaPlayer::Volume() const { return player_.Volume(); }

void MediaPlayer::SetVolume(int volume) { player_.SetVolume(volume); }

}  // namespace app
