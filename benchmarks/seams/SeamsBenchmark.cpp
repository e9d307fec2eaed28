// How long writing the two-hour fixture with parts taken out takes, next to a
// plain copy of its bytes and one start of the encoder beside the program, and
// what one seam costs.
//
//   scripts/benchmark seams
//
// Goal: ten parts taken out within 1.5 x one byte copy plus one encoder start.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/Files.h"
#include "app/ProgramEncoder.h"
#include "benchmarks/support/Runs.h"
#include "media/Media.h"
#include "media/MediaError.h"
#include "media/MediaFile.h"
#include "media/Mp3Reader.h"
#include "media/SeamWriter.h"
#include "runner/CommandLine.h"

namespace {

using benchmarks::Median;
using benchmarks::Now;

constexpr int kRuns = 5;

// Seconds to write the file with `removals` parts of five seconds taken out, spread over it.
double WriteWithRemovals(const std::wstring& input, const std::shared_ptr<const media::Mp3Index>& index, int removals,
                         const std::wstring& output) {
    media::Recording recording(input, index);
    const int rate = index->format.sampleRate;
    // From the end backwards, so that the earlier positions stay as they were.
    for (int k = removals; k >= 1; --k) {
        const std::uint64_t start = recording.Length() * static_cast<std::uint64_t>(k) / static_cast<std::uint64_t>(removals + 1) + 123 * static_cast<std::uint64_t>(k);
        recording.Remove({start, start + 5 * static_cast<std::uint64_t>(rate) + 77});
    }
    std::atomic<bool> stop{false};
    app::ProgramEncoder encoder(stop);
    const double start = Now();
    try {
        if (!media::WriteRecording(recording, output, encoder, {}, stop)) std::exit(1);
    } catch (const media::MediaError& error) {
        std::fwprintf(stderr, L"the write failed: %ls\n", error.Reason().c_str());
        std::exit(1);
    }
    return Now() - start;
}

}  // namespace

int main() {
    const std::wstring input = benchmarks::FixturesFolder(L"media") + L"\\long_2h.mp3";
    media::MediaFile file(input);
    const auto index = std::make_shared<const media::Mp3Index>(media::Mp3Reader(file).Read());
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring work = std::wstring(temp) + L"snipmill-bench-seams";
    ::CreateDirectoryW(work.c_str(), nullptr);
    const std::wstring output = work + L"\\written.mp3";

    // One encoder start: a second of silence encoded.
    const std::wstring encoderStart = runner::QuoteArgument(app::ProgramFolder() + L"\\ffmpeg.exe") +
                                      L" -nostdin -y -v error -f lavfi -i anullsrc=r=44100:cl=stereo -t 1 -c:a libmp3lame " +
                                      runner::QuoteArgument(work + L"\\start.mp3");
    std::vector<double> copies, starts, none, one, ten;
    for (int run = 0; run < kRuns; ++run) {
        copies.push_back(benchmarks::ByteCopy(input, work + L"\\bytes.mp3", 0, 1));
        starts.push_back(benchmarks::Bare(encoderStart));
        none.push_back(WriteWithRemovals(input, index, 0, output));
        one.push_back(WriteWithRemovals(input, index, 1, output));
        ten.push_back(WriteWithRemovals(input, index, 10, output));
    }
    const double copy = Median(copies), start = Median(starts), tenSeams = Median(ten);
    std::wprintf(L"two hours, 128 kbit/s (median of %d runs)\n", kRuns);
    std::wprintf(L"  plain copy of the file's bytes              %8.3f s\n", copy);
    std::wprintf(L"  one start of the encoder                    %8.3f s\n", start);
    std::wprintf(L"  written whole, no seam                      %8.3f s\n", Median(none));
    std::wprintf(L"  one part taken out                          %8.3f s\n", Median(one));
    std::wprintf(L"  ten parts taken out                         %8.3f s  (%.2f x copy + start; goal 1.5 x)\n", tenSeams,
                 tenSeams / (copy + start));
    std::wprintf(L"  one seam more                               %8.3f s\n", (tenSeams - Median(one)) / 9);
    ::DeleteFileW((work + L"\\bytes.mp3").c_str());
    ::DeleteFileW((work + L"\\start.mp3").c_str());
    ::DeleteFileW(output.c_str());
    ::RemoveDirectoryW(work.c_str());
    return 0;
}
