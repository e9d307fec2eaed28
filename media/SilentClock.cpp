#include "media/SilentClock.h"

#include <algorithm>

namespace media {

SilentClock::SilentClock(int sampleRate) : sampleRate_(sampleRate) {}

bool SilentClock::Queue(const std::int16_t*, std::size_t count) {
    Clock::time_point start = queue_.empty() ? Clock::now() : queue_.back().end;
    auto length = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(static_cast<double>(count) / sampleRate_));
    queue_.push_back({start + length, count});
    return true;
}

std::uint64_t SilentClock::TakeFinished() {
    std::uint64_t finished = 0;
    Clock::time_point now = Clock::now();
    while (!queue_.empty() && queue_.front().end <= now) {
        finished += queue_.front().samples;
        queue_.pop_front();
    }
    return finished;
}

DWORD SilentClock::MaxWaitMilliseconds() const noexcept {
    if (queue_.empty()) return INFINITE;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(queue_.front().end - Clock::now()).count();
    return static_cast<DWORD>(std::max<long long>(left + 1, 1));
}

}  // namespace media
