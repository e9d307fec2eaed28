// Figures of the MP3 player on a two-hour file: how long opening takes next to
// reading the file once, how fast decoding runs, and what playing costs in CPU
// and memory. Run with `scripts/benchmark player`.
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>

#include <chrono>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/Handles.h"
#include "media/MediaError.h"
#include "media/MediaFile.h"
#include "media/Mp3Reader.h"
#include "media/Player.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// The folder named on the command line (read wide, so that any name works), or the build's.
std::wstring FixtureFolder() {
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    std::wstring named = argv && argc > 1 ? argv[1] : L"";
    ::LocalFree(argv);
    if (!named.empty()) return named;
    wchar_t exe[MAX_PATH];
    std::wstring folder(exe, ::GetModuleFileNameW(nullptr, exe, MAX_PATH));
    return folder.substr(0, folder.find_last_of(L'\\')) + L"\\..\\fixtures";
}

// Reads every byte of the file once, in large blocks; returns the bytes read.
std::uint64_t ReadWholeFile(const std::wstring& path) {
    base::KernelHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                           FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return 0;
    std::vector<char> block(1 << 20);
    std::uint64_t total = 0;
    DWORD read = 0;
    while (::ReadFile(file.Get(), block.data(), static_cast<DWORD>(block.size()), &read, nullptr) && read > 0) total += read;
    return total;
}

double ProcessCpuSeconds() {
    FILETIME created, exited, kernel, user;
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto value = [](FILETIME t) { return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return static_cast<double>(value(kernel) + value(user)) / 1e7;
}

}  // namespace

int main() {
    std::wstring path = FixtureFolder() + L"\\media\\long_2h.mp3";
    try {
        // The best of a few rounds, taking turns, so that neither finds the other's leftovers alone.
        ReadWholeFile(path);  // into the system's cache, as any later read finds it
        double readTime = 1e9;
        double openTime = 1e9;
        double readyTime = 1e9;
        std::uint64_t bytes = 0;
        std::unique_ptr<media::Mp3Stream> stream;
        for (int round = 0; round < 5; ++round) {
            auto start = Clock::now();
            bytes = ReadWholeFile(path);
            readTime = std::min(readTime, Seconds(Clock::now() - start));
            start = Clock::now();
            {
                media::MediaFile file(path);
                media::Mp3Reader(file).Read().Duration();
            }
            openTime = std::min(openTime, Seconds(Clock::now() - start));
            // What the player does when a file is chosen: the same, and the decoder opened.
            stream.reset();
            start = Clock::now();
            stream = std::make_unique<media::Mp3Stream>(path);
            readyTime = std::min(readyTime, Seconds(Clock::now() - start));
        }
        double duration = stream->Index().Duration();
        std::printf("file: %.1f MB, %.1f s of audio, %llu frames\n", bytes / 1e6, duration,
                    static_cast<unsigned long long>(stream->Index().FrameCount()));
        std::printf("open until the duration is known: %.1f ms; reading the file once: %.1f ms (%.2f x; goal 1.5 x; best of 5)\n",
                    openTime * 1e3, readTime * 1e3, openTime / readTime);
        std::printf("open with the decoder ready to play: %.1f ms\n", readyTime * 1e3);

        // Decoding: the first half hour, straight through.
        const std::size_t decodeSamples = static_cast<std::size_t>(stream->SampleRate()) * 1800;
        std::vector<std::int16_t> block(8192 * stream->Channels());
        std::size_t decoded = 0;
        auto start = Clock::now();
        while (decoded < decodeSamples) {
            std::size_t n = stream->Read(block.data(), 8192);
            if (n == 0) break;
            decoded += n;
        }
        double decodeTime = Seconds(Clock::now() - start);
        double audioSeconds = static_cast<double>(decoded) / stream->SampleRate();
        std::printf("decoding: %.0f s of audio in %.2f s = %.0f x real time (goal 500 x)\n", audioSeconds, decodeTime,
                    audioSeconds / decodeTime);

        // Playing costs the player's own work and that of the system's sound stack;
        // the silent clock shows the first alone.
        std::unique_ptr<media::Player> player;
        for (auto output : {media::Player::Output::Silent, media::Player::Output::Device}) {
            player.reset();
            player = std::make_unique<media::Player>(output);
            player->Load(output == media::Player::Output::Device ? std::move(stream)
                                                                 : std::make_unique<media::Mp3Stream>(path));
            for (int i = 0; i < 1000 && player->State() != media::PlayState::Playing; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            std::this_thread::sleep_for(std::chrono::seconds(1));
            double cpuBefore = ProcessCpuSeconds();
            start = Clock::now();
            std::this_thread::sleep_for(std::chrono::seconds(10));
            double cpu = ProcessCpuSeconds() - cpuBefore;
            double wall = Seconds(Clock::now() - start);
            std::printf("playing on %s: CPU %.2f %% of one core over %.1f s (goal under 2 %%), position %.1f s\n",
                        player->PlaysOnDevice() ? "the sound device" : "the silent clock", 100 * cpu / wall, wall,
                        player->Position());
        }

        PROCESS_MEMORY_COUNTERS_EX memory{};
        memory.cb = sizeof memory;
        ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
        std::printf("memory while playing: peak working set %.1f MB, peak private %.1f MB (goal under 40 MB)\n",
                    memory.PeakWorkingSetSize / 1048576.0, memory.PeakPagefileUsage / 1048576.0);
    } catch (const media::MediaError& error) {
        std::fwprintf(stderr, L"%ls: %ls\n", path.c_str(), error.Reason().c_str());
        return 1;
    }
    return 0;
}
