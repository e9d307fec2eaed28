// Figures of the MP3 player on a two-hour file: how long opening takes next to
// reading the file once, how fast decoding runs, and what playing costs in CPU
// and memory; then opening extreme files made for the purpose: many tags, a huge
// file without audio, a huge hole between frames. Run with `scripts/benchmark player`.
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>
#include <winioctl.h>

#include <algorithm>
#include <chrono>
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
    while (::ReadFile(file.Get(), block.data(), static_cast<DWORD>(block.size()), &read, nullptr) && read > 0)
        total += read;
    return total;
}

// Writes `head`, then zeros (stored sparse) up to `size` bytes, then `tail`.
bool WriteFileOf(const std::wstring& path, const std::vector<char>& head, std::uint64_t size,
                 const std::vector<char>& tail) {
    base::KernelHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file) return false;
    DWORD ignored = 0;
    ::DeviceIoControl(file.Get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
    DWORD written = 0;
    bool ok = ::WriteFile(file.Get(), head.data(), static_cast<DWORD>(head.size()), &written, nullptr);
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(size - tail.size());
    ok = ok && ::SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN);
    if (!tail.empty())
        ok = ok && ::WriteFile(file.Get(), tail.data(), static_cast<DWORD>(tail.size()), &written, nullptr);
    return ok && ::SetEndOfFile(file.Get());
}

// Writes `block` `times` over, end to end.
bool WriteRepeated(const std::wstring& path, const std::vector<char>& block, int times) {
    base::KernelHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file) return false;
    for (int i = 0; i < times; ++i) {
        DWORD written = 0;
        if (!::WriteFile(file.Get(), block.data(), static_cast<DWORD>(block.size()), &written, nullptr)) return false;
    }
    return true;
}

std::vector<char> ReadAll(const std::wstring& path) {
    base::KernelHandle file(
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.Get(), &size)) return {};
    std::vector<char> bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    ::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    return bytes;
}

double PeakPrivateMegabytes() {
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
    return memory.PeakPagefileUsage / 1048576.0;
}

// Opens the file as the player does until its length is known; the time taken and
// the frames found, or -1 where it was refused.
std::pair<double, long long> TimedOpen(const std::wstring& path) {
    auto start = Clock::now();
    long long frames = -1;
    try {
        media::MediaFile file(path);
        frames = static_cast<long long>(media::Mp3Reader(file).Read().FrameCount());
    } catch (const media::MediaError&) {
    }
    return {Seconds(Clock::now() - start), frames};
}

void ExtremeFiles(const std::wstring& fixtures) {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    std::wstring path = std::wstring(temp) + L"snipmill-extreme.mp3";
    std::vector<char> audio = ReadAll(fixtures + L"\\media\\cbr128_noinfo.mp3");

    // 6.7 million empty ID3 headers (64 MB) before the audio.
    std::vector<char> tags;
    for (int i = 0; i < 6700000; ++i) tags.insert(tags.end(), {'I', 'D', '3', 3, 0, 0, 0, 0, 0, 0});
    tags.insert(tags.end(), audio.begin(), audio.end());
    if (WriteFileOf(path, tags, tags.size(), {})) {
        ReadWholeFile(path);
        double readTime = 1e9, openTime = 1e9;
        long long frames = 0;
        for (int round = 0; round < 3; ++round) {
            auto start = Clock::now();
            ReadWholeFile(path);
            readTime = std::min(readTime, Seconds(Clock::now() - start));
            auto [seconds, found] = TimedOpen(path);
            openTime = std::min(openTime, seconds);
            frames = found;
        }
        std::printf(
            "6.7 million empty ID3 headers, then audio (%.0f MB): open %.0f ms, reading once %.0f ms (%.2f x; goal 1.5 "
            "x), %lld frames\n",
            tags.size() / 1e6, openTime * 1e3, readTime * 1e3, openTime / readTime, frames);
    }
    tags = {};

    // 8 GiB of zeros: no audio where it must begin.
    if (WriteFileOf(path, {}, 8ull << 30, {})) {
        auto [seconds, found] = TimedOpen(path);
        std::printf("8 GiB without audio: refused in %.1f ms (%s)\n", seconds * 1e3,
                    found < 0 ? "refused" : "not refused");
    }

    // Two of the smallest frames, a 1 GiB hole that must be read through, two more frames.
    std::vector<char> frame(24, 0);
    frame[0] = static_cast<char>(0xFF);
    frame[1] = static_cast<char>(0xF3);
    frame[2] = 0x14;
    frame[3] = static_cast<char>(0xC0);
    std::vector<char> two = frame;
    two.insert(two.end(), frame.begin(), frame.end());
    if (WriteFileOf(path, two, 1ull << 30, two)) {
        double peakBefore = PeakPrivateMegabytes();
        auto start = Clock::now();
        ReadWholeFile(path);
        double readTime = Seconds(Clock::now() - start);
        auto [seconds, found] = TimedOpen(path);
        std::printf(
            "1 GiB hole between tiny frames: open %.2f s, reading once %.2f s (%.2f x), %lld frames, "
            "peak private memory %.1f MB before, %.1f MB after\n",
            seconds, readTime, seconds / readTime, found, peakBefore, PeakPrivateMegabytes());
    }

    // 1 GiB of nothing but the smallest frames (44.7 million): what the index commits.
    std::vector<char> frames;
    for (int i = 0; i < 43690; ++i) frames.insert(frames.end(), frame.begin(), frame.end());
    if (WriteRepeated(path, frames, 1024)) {
        const double peakBefore = PeakPrivateMegabytes();
        const auto start = Clock::now();
        media::MediaFile file(path);
        const media::Mp3Index index = media::Mp3Reader(file).Read();
        const double seconds = Seconds(Clock::now() - start);
        // What the index commits; Wine's peak counts only the pages written.
        std::printf(
            "1 GiB of tiny frames: open %.2f s, %llu frames (%.1f MB at 8 bytes each), the index's offsets commit "
            "%.1f MB, peak private memory %.1f MB more\n",
            seconds, static_cast<unsigned long long>(index.FrameCount()), index.FrameCount() * 8 / 1e6,
            index.frameOffsets.Bytes() / 1e6, (PeakPrivateMegabytes() - peakBefore) * 1048576 / 1e6);
    }
    ::DeleteFileW(path.c_str());
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
        std::printf(
            "open until the duration is known: %.1f ms; reading the file once: %.1f ms (%.2f x; goal 1.5 x; best of "
            "5)\n",
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
        ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                               sizeof memory);
        std::printf("memory while playing: peak working set %.1f MB, peak private %.1f MB (goal under 40 MB)\n",
                    memory.PeakWorkingSetSize / 1048576.0, memory.PeakPagefileUsage / 1048576.0);
        player.reset();
        ExtremeFiles(FixtureFolder());
    } catch (const media::MediaError& error) {
        std::fwprintf(stderr, L"%ls: %ls\n", path.c_str(), error.Reason().c_str());
        return 1;
    }
    return 0;
}
