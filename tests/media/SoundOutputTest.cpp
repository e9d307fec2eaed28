// Proof that sound comes out: while the player plays a 440 Hz tone, the sound
// server's recorder captures the null sink's monitor, and the captured tone must
// be at 440 Hz. The recorder is a program of the host, which Wine starts like
// any other.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>
#include <vector>

#include "MediaFixtures.h"
#include "media/Player.h"

using media::Mp3Stream;
using media::Player;
using media::PlayState;
using media_test::Fixture;
using media_test::ReadBytes;
using namespace std::chrono_literals;

namespace {

using DosFileName = wchar_t*(__cdecl*)(const char*);

// Wine's own conversion from a host path to one Windows programs can open; null elsewhere.
DosFileName WineDosFileName() {
    HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    if (!kernel) return nullptr;
    auto function = reinterpret_cast<void (*)()>(::GetProcAddress(kernel, "wine_get_dos_file_name"));
    return reinterpret_cast<DosFileName>(function);
}

std::wstring DosPath(DosFileName convert, const std::string& hostPath) {
    wchar_t* converted = convert(hostPath.c_str());
    if (!converted) return {};
    std::wstring path(converted);
    ::HeapFree(::GetProcessHeap(), 0, converted);
    return path;
}

// The tone's frequency from the spacing of its upward zero crossings, counted
// only between crossings with no silence between them: a starved sound server
// plays silence, and a cycle across such a gap would count as a slower one.
struct Pitch {
    double hertz = 0;
    double seconds = 0;  // of sound measured
};

Pitch MeasurePitch(const std::vector<double>& samples, double rate) {
    // Silence is zeros; a 440 Hz tone is never this long this near zero.
    const double quiet = 2;
    const std::size_t gap = 16;
    const std::size_t side = 3;
    auto loud = [&](std::size_t from, std::size_t to, double sign) {
        for (std::size_t i = from; i < to && i < samples.size(); ++i)
            if (sign * samples[i] > quiet) return true;
        return false;
    };
    double cycles = 0, span = 0, previous = -1;
    std::size_t quietRun = 0;
    for (std::size_t i = side; i + side < samples.size(); ++i) {
        quietRun = std::abs(samples[i]) <= quiet ? quietRun + 1 : 0;
        if (quietRun >= gap) previous = -1;
        // Tone on both sides, not the edge of a gap.
        if (samples[i - 1] < 0 && samples[i] >= 0 && loud(i - side, i, -1) && loud(i, i + side, 1)) {
            double at = static_cast<double>(i - 1) + samples[i - 1] / (samples[i - 1] - samples[i]);
            if (previous >= 0) {
                cycles += 1;
                span += at - previous;
            }
            previous = at;
        }
    }
    if (span <= 0) return {};
    return {cycles / span * rate, span / rate};
}

}  // namespace

TEST(SoundOutput, APlayed440HzToneComesOutOfTheSoundServerAt440Hz) {
    const char* server = std::getenv("PULSE_SERVER");
    if (!server || !*server) GTEST_SKIP() << "no sound server (PULSE_SERVER) to record from";
    DosFileName convert = WineDosFileName();
    if (!convert) GTEST_SKIP() << "recording the sound server's monitor needs Wine";

    std::wstring recorder = DosPath(convert, "/usr/bin/parec");
    ASSERT_NE(::GetFileAttributesW(recorder.c_str()), INVALID_FILE_ATTRIBUTES) << "parec (pulseaudio-utils) is missing";
    std::string capture = "/tmp/snipmill-capture-" + std::to_string(::GetCurrentProcessId()) + ".raw";
    std::wstring capturePath = DosPath(convert, capture);
    ::DeleteFileW(capturePath.c_str());

    Player player(Player::Output::Device);
    player.Load(std::make_unique<Mp3Stream>(Fixture(L"tone440.mp3")));
    ASSERT_TRUE([&] {
        for (int i = 0; i < 1000 && player.State() != PlayState::Playing; ++i) std::this_thread::sleep_for(5ms);
        return player.State() == PlayState::Playing;
    }());
    ASSERT_TRUE(player.PlaysOnDevice());

    // Mono at the sink's rate; the recorder ends itself after four seconds.
    std::wstring command =
        L"/usr/bin/timeout 4 /usr/bin/parec -d snipmill_null.monitor --raw --format=s16le "
        L"--rate=44100 --channels=1 " +
        std::wstring(capture.begin(), capture.end());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(::CreateProcessW(DosPath(convert, "/usr/bin/timeout").c_str(), command.data(), nullptr, nullptr, FALSE,
                                 0, nullptr, nullptr, &startup, &process));
    // A host program has no Windows handles to wait on: its file tells when it is done.
    if (process.hThread) ::CloseHandle(process.hThread);
    if (process.hProcess) ::CloseHandle(process.hProcess);
    std::this_thread::sleep_for(4000ms);
    auto size = [&] {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        return ::GetFileAttributesExW(capturePath.c_str(), GetFileExInfoStandard, &data) ? data.nFileSizeLow : 0;
    };
    for (int i = 0; i < 40; ++i) {
        DWORD before = size();
        std::this_thread::sleep_for(250ms);
        if (before > 0 && size() == before) break;
    }

    std::vector<std::uint8_t> bytes = ReadBytes(capturePath);
    ::DeleteFileW(capturePath.c_str());
    std::vector<double> samples;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        samples.push_back(static_cast<std::int16_t>(bytes[i] | (bytes[i + 1] << 8)));
    Pitch pitch = MeasurePitch(samples, 44100);
    ASSERT_GT(pitch.seconds, 0.5) << "the recording holds " << samples.size() << " samples, too little sound";
    EXPECT_NEAR(pitch.hertz, 440, 4);
}
