// Figures of splitting the two-hour file: the whole envelope on both cores and the
// pause search, against the engine's plain decode of the file, and the memory the
// levels take. Part of `scripts/benchmark split`.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "benchmarks/support/Measure.h"
#include "media/Mp3Reader.h"
#include "media/MediaFile.h"
#include "media/Mp3Stream.h"
#include "media/Media.h"
#include "support/WindowTesting.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Seconds of processor time the process has used.
double ProcessorSeconds() {
    FILETIME created, exited, kernel, user;
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](FILETIME t) { return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e7; };
    return seconds(kernel) + seconds(user);
}

struct Timing {
    double wall = 1e9;
    double processor = 0;
};

// The better of `rounds` runs of the work.
template <typename Work>
Timing Best(int rounds, Work work) {
    Timing best;
    for (int i = 0; i < rounds; ++i) {
        const double cpu = ProcessorSeconds();
        const auto start = Clock::now();
        work();
        const double wall = Seconds(Clock::now() - start);
        if (wall < best.wall) best = {wall, ProcessorSeconds() - cpu};
    }
    return best;
}

}  // namespace

int LevelFigures() {
    const std::wstring path = testing_support::FixturePath(L"media\\long_2h.mp3");
    std::shared_ptr<const media::Mp3Index> index;
    try {
        index = std::make_shared<const media::Mp3Index>(media::Mp3Reader(media::MediaFile(path)).Read());
    } catch (const media::MediaError& e) {
        std::fwprintf(stderr, L"%ls: %ls\n", path.c_str(), e.Reason().c_str());
        return 1;
    }

    const Timing decode = Best(2, [&] {
        media::Mp3Stream stream(path, index);
        std::vector<std::int16_t> block(8192 * static_cast<std::size_t>(stream.Channels()));
        while (stream.Read(block.data(), 8192) > 0) {
        }
    });
    std::unique_ptr<media::Waveform> waveform;
    const Timing envelope = Best(2, [&] {
        waveform.reset();
        waveform = std::make_unique<media::Waveform>(path, index);
        waveform->Wait();
    });
    std::printf("the engine's plain decode of %.0f min: %.2f s (processor %.2f s)\n", index->Duration() / 60,
                decode.wall, decode.processor);
    std::printf("whole envelope on both cores: %.2f s (processor %.2f s): %.2f x the decode (goal 0.6 x)\n",
                envelope.wall, envelope.processor, envelope.wall / decode.wall);
    // The pause search with its own envelope to compute, and with the envelope there.
    const Timing searchAlone = Best(2, [&] {
        media::Waveform levels(path, index);
        media::FindPauses(levels, {});
    });
    std::size_t found = 0;
    const Timing searchReady = Best(3, [&] { found = media::FindPauses(*waveform, {}).size(); });
    std::printf("Find Pauses without an envelope: %.2f s: %.2f x the decode (goal 1.1 x)\n", searchAlone.wall,
                searchAlone.wall / decode.wall);
    std::printf("Find Pauses with the envelope there: %.1f ms, %zu pauses (goal 100 ms)\n", searchReady.wall * 1e3, found);
    std::printf("memory for the levels: %.1f MB (goal 16 MB)\n", waveform->PeakBytes() / 1048576.0);
    return 0;
}
