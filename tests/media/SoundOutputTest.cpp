// Proof that sound comes out: while the player plays a 440 Hz tone, the sound
// server's recorder captures the null sink's monitor, and the captured audio's
// strongest frequency must be 440 Hz. The recorder is a program of the host,
// which Wine starts like any other.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <thread>

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

double Magnitude(const std::vector<double>& samples, double frequency, double rate) {
    // Goertzel's single-bin transform.
    double coefficient = 2 * std::cos(2 * std::numbers::pi * frequency / rate);
    double previous = 0, beforePrevious = 0;
    for (double x : samples) {
        double current = x + coefficient * previous - beforePrevious;
        beforePrevious = previous;
        previous = current;
    }
    return previous * previous + beforePrevious * beforePrevious - coefficient * previous * beforePrevious;
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
    // Keep only where the tone sounds.
    std::vector<double> tone;
    for (double s : samples) {
        if (std::abs(s) > 100 || !tone.empty()) tone.push_back(s);
    }
    ASSERT_GT(tone.size(), 44100u / 2) << "the recording holds " << samples.size() << " samples, too little sound";
    tone.resize(std::min<std::size_t>(tone.size(), 44100));

    double strongest = 0, strongestMagnitude = 0;
    for (double frequency = 50; frequency <= 4000; frequency += 2) {
        double magnitude = Magnitude(tone, frequency, 44100);
        if (magnitude > strongestMagnitude) {
            strongestMagnitude = magnitude;
            strongest = frequency;
        }
    }
    EXPECT_NEAR(strongest, 440, 4);
}
