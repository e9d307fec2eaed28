// The player and the sound output where things go wrong: a device that refuses
// buffers, a file cut short while it plays, commands in rapid succession; and the
// volume, measured on the samples that go out.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include "MediaFixtures.h"
#include "base/Handles.h"
#include "media/GainPlan.h"
#include "media/Player.h"
#include "media/WaveOutput.h"

using media::AudioSink;
using media::Mp3Stream;
using media::Player;
using media::PlayState;
using media::WaveOutput;
using media_test::Fixture;
using media_test::ReadBytes;
using media_test::ScratchFile;
using namespace std::chrono_literals;

namespace {

using Clock = std::chrono::steady_clock;

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit = 5000ms) {
    auto end = Clock::now() + limit;
    while (Clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(2ms);
    }
    return condition();
}

std::vector<std::int16_t> DecodeAll(const std::wstring& path) {
    Mp3Stream stream(path);
    std::vector<std::int16_t> pcm(stream.Length() * stream.Channels());
    pcm.resize(stream.Read(pcm.data(), stream.Length()) * stream.Channels());
    return pcm;
}

// A waveOut device played by the test: it holds the buffers written to it until
// the test finishes them, refuses every third write, and notes when a buffer it
// still holds is handed to it again.
struct FakeDevice {
    HANDLE finished = nullptr;
    std::vector<WAVEHDR*> held;
    int writes = 0;
    int refused = 0;
    int reusedWhileHeld = 0;

    bool Holds(const WAVEHDR* header) const { return std::find(held.begin(), held.end(), header) != held.end(); }
    void FinishOldest() {
        held.front()->dwFlags = (held.front()->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
        held.erase(held.begin());
        ::SetEvent(finished);
    }
};
FakeDevice* fake = nullptr;

MMRESULT WINAPI FakeOpen(LPHWAVEOUT device, UINT, LPCWAVEFORMATEX, DWORD_PTR callback, DWORD_PTR, DWORD) {
    fake->finished = reinterpret_cast<HANDLE>(callback);
    *device = reinterpret_cast<HWAVEOUT>(fake);
    return MMSYSERR_NOERROR;
}
MMRESULT WINAPI FakePrepare(HWAVEOUT, LPWAVEHDR header, UINT) {
    if (fake->Holds(header)) ++fake->reusedWhileHeld;
    header->dwFlags |= WHDR_PREPARED;
    return MMSYSERR_NOERROR;
}
MMRESULT WINAPI FakeWrite(HWAVEOUT, LPWAVEHDR header, UINT) {
    if (++fake->writes % 3 == 0) {
        ++fake->refused;
        return MMSYSERR_NOMEM;
    }
    header->dwFlags |= WHDR_INQUEUE;
    fake->held.push_back(header);
    return MMSYSERR_NOERROR;
}
MMRESULT WINAPI FakeUnprepare(HWAVEOUT, LPWAVEHDR header, UINT) {
    if (fake->Holds(header)) return WAVERR_STILLPLAYING;
    header->dwFlags &= ~WHDR_PREPARED;
    return MMSYSERR_NOERROR;
}
MMRESULT WINAPI FakeReset(HWAVEOUT) {
    while (!fake->held.empty()) fake->FinishOldest();
    return MMSYSERR_NOERROR;
}
MMRESULT WINAPI FakeClose(HWAVEOUT) { return MMSYSERR_NOERROR; }

// A sink that keeps every sample queued to it and plays each buffer at once, or
// refuses buffers after the first `accepted`.
class TestSink : public AudioSink {
public:
    struct Record {
        std::mutex mutex;
        std::vector<std::int16_t> samples;  // since the last Reset
        int channels = 0;
        std::size_t accepted = SIZE_MAX;
    };

    TestSink(std::shared_ptr<Record> record, int channels) : record_(std::move(record)) {
        std::lock_guard lock(record_->mutex);
        record_->channels = channels;
        record_->samples.clear();
    }

    bool HasFreeBuffer() const noexcept override { return queued_ < kBufferCount; }
    bool Queue(const std::int16_t* pcm, std::size_t count) override {
        std::lock_guard lock(record_->mutex);
        if (record_->accepted == 0) return false;
        --record_->accepted;
        record_->samples.insert(record_->samples.end(), pcm, pcm + count * record_->channels);
        ++queued_;
        finished_ += count;
        return true;
    }
    std::uint64_t TakeFinished() override {
        queued_ = 0;
        return std::exchange(finished_, 0);
    }
    bool Idle() const noexcept override { return queued_ == 0; }
    void Reset() override {
        std::lock_guard lock(record_->mutex);
        record_->samples.clear();
        queued_ = 0;
        finished_ = 0;
    }
    HANDLE FinishedEvent() const noexcept override { return nullptr; }
    DWORD MaxWaitMilliseconds() const noexcept override { return 1; }

private:
    std::shared_ptr<Record> record_;
    int queued_ = 0;
    std::uint64_t finished_ = 0;
};

Player::SinkOpener OpenTestSink(const std::shared_ptr<TestSink::Record>& record) {
    return [record](int, int channels) { return std::make_unique<TestSink>(record, channels); };
}

std::vector<std::int16_t> Recorded(TestSink::Record& record) {
    std::lock_guard lock(record.mutex);
    return record.samples;
}

}  // namespace

TEST(WaveOutput, ABufferTheDeviceRefusedNeverTakesTheTurnOfOneItStillHolds) {
    FakeDevice device;
    fake = &device;
    media::WaveOutCalls calls{FakeOpen, FakePrepare, FakeWrite, FakeUnprepare, FakeReset, FakeClose};
    auto output = WaveOutput::Open(44100, 2, calls);
    ASSERT_TRUE(output);
    std::vector<std::int16_t> pcm(AudioSink::BufferSamples(44100) * 2, 1000);

    std::uint64_t taken = 0, finished = 0;
    for (int round = 0; round < 40; ++round) {
        while (output->HasFreeBuffer()) {
            if (output->Queue(pcm.data(), AudioSink::BufferSamples(44100))) taken += AudioSink::BufferSamples(44100);
        }
        EXPECT_EQ(device.held.size(), static_cast<std::size_t>(AudioSink::kBufferCount));
        device.FinishOldest();
        finished += output->TakeFinished();
    }
    EXPECT_GT(device.refused, 10);
    EXPECT_EQ(device.reusedWhileHeld, 0);
    // What the device took is what finished and what it still holds.
    EXPECT_EQ(taken, finished + device.held.size() * AudioSink::BufferSamples(44100));
    output->Reset();
    EXPECT_TRUE(output->Idle());
    EXPECT_TRUE(device.held.empty());
    output.reset();
    fake = nullptr;
}

TEST(Player, PlaysOnTheSilentClockWhenTheDeviceRefusesSound) {
    auto record = std::make_shared<TestSink::Record>();
    record->accepted = 3;
    Player player(OpenTestSink(record));
    const auto loaded = Clock::now();
    player.Load(std::make_unique<Mp3Stream>(Fixture(L"tone440.mp3")));
    ASSERT_TRUE(WaitFor([&] { return !player.PlaysOnDevice() && player.State() == PlayState::Playing; }));
    double from = player.Position();
    // Playback goes on at its pace (on the clock the player keeps) instead of racing to the end of the file.
    EXPECT_TRUE(WaitFor([&] { return player.Position() > from + 0.3; }));
    EXPECT_EQ(player.State(), PlayState::Playing);
    // The sink played its three buffers at once; the rest cannot have gone faster than time.
    const double taken = 3.0 * AudioSink::BufferSamples(44100) / 44100;
    EXPECT_LE(player.Position(), taken + std::chrono::duration<double>(Clock::now() - loaded).count());
}

TEST(Player, ARangeKeepsItsEndWhenTheDeviceRefusesSoundPartWay) {
    auto record = std::make_shared<TestSink::Record>();
    Player player(OpenTestSink(record));
    player.Load(std::make_unique<Mp3Stream>(Fixture(L"tone440.mp3")));
    ASSERT_TRUE(WaitFor([&] { return player.State() == PlayState::Playing; }));
    player.Pause();
    {
        std::lock_guard lock(record->mutex);
        record->accepted = 2;
    }
    player.PlayRange(1.0, 1.6);
    ASSERT_TRUE(WaitFor([&] { return !player.PlaysOnDevice(); }));
    ASSERT_TRUE(WaitFor([&] { return player.State() == PlayState::Paused; }));
    EXPECT_DOUBLE_EQ(player.Position(), 1.6);
}

TEST(Player, TheVolumeScalesTheSamplesByItsSquare) {
    std::vector<std::int16_t> decoded = DecodeAll(Fixture(L"cbr128_info.mp3"));
    for (int volume : {100, 50, 20, 0}) {
        SCOPED_TRACE(volume);
        auto record = std::make_shared<TestSink::Record>();
        Player player(OpenTestSink(record));
        player.SetVolume(volume);
        player.Load(std::make_unique<Mp3Stream>(Fixture(L"cbr128_info.mp3")));
        ASSERT_TRUE(WaitFor([&] { return player.State() == PlayState::MediaEnded; }));
        std::vector<std::int16_t> played = Recorded(*record);
        ASSERT_EQ(played.size(), decoded.size());
        double gain = volume * volume / 10000.0;
        double largest = 0;
        for (std::size_t i = 0; i < played.size(); ++i)
            largest = std::max(largest, std::abs(played[i] - decoded[i] * gain));
        // Rounding down, and the gain held in 1/32768ths.
        EXPECT_LE(largest, 2.0);
    }
}

TEST(Player, AfterRapidCommandsPlaysFromWhereTheLastOneSaid) {
    const std::wstring names[] = {L"tone440_12s.mp3", L"cbr192_48k.mp3", L"mpeg2_22k_mono.mp3"};
    std::vector<std::unique_ptr<Mp3Stream>> streams;
    for (int i = 0; i < 30; ++i) streams.push_back(std::make_unique<Mp3Stream>(Fixture(names[i % 3])));

    auto record = std::make_shared<TestSink::Record>();
    Player player(OpenTestSink(record));
    std::mt19937 random(7);
    std::size_t loaded = 0;
    for (int i = 0; i < 3000; ++i) {
        switch (random() % 6) {
        case 0:
            if (loaded < streams.size()) player.Load(std::move(streams[loaded++]));
            break;
        case 1:
            player.Play();
            break;
        case 2:
            player.Pause();
            break;
        case 3:
            player.Stop();
            break;
        default: {
            bool paused = player.State() == PlayState::Paused;
            double seconds = (random() % 1400) / 100.0 - 1.0;
            player.Seek(seconds);
            if (paused) {
                ASSERT_EQ(player.State(), PlayState::Paused);
                if (seconds < 2) {
                    ASSERT_NEAR(player.Position(), std::max(seconds, 0.0), 1e-4);
                }
            }
            break;
        }
        }
        double position = player.Position();
        ASSERT_GE(position, 0.0);
        ASSERT_LE(position, player.Duration());
        if (i % 100 == 0) std::this_thread::sleep_for(1ms);
    }

    player.SetVolume(100);
    player.Load(std::make_unique<Mp3Stream>(Fixture(L"tone440_12s.mp3")));
    player.Pause();
    player.Seek(5.0);
    player.Play();
    ASSERT_TRUE(WaitFor([&] { return player.State() == PlayState::MediaEnded; }));
    std::vector<std::int16_t> played = Recorded(*record);
    std::vector<std::int16_t> decoded = DecodeAll(Fixture(L"tone440_12s.mp3"));
    std::size_t from = 5 * 44100 * 2;
    ASSERT_EQ(played.size(), decoded.size() - from);
    // A decode that starts elsewhere differs in the codec's dither only.
    int largest = 0;
    for (std::size_t i = 0; i < 3000 * 2; ++i) largest = std::max(largest, std::abs(played[i] - decoded[from + i]));
    EXPECT_LE(largest, 8);
}

TEST(Player, AFileCutShortWhilePlayingEndsWhereItNowEnds) {
    ScratchFile file(L"cut.mp3", ReadBytes(Fixture(L"tone440_12s.mp3")));
    Player player(Player::Output::Silent);
    player.Load(std::make_unique<Mp3Stream>(file.Path()));
    ASSERT_TRUE(WaitFor([&] { return player.State() == PlayState::Playing; }));
    {
        base::KernelHandle writer(::CreateFileW(file.Path().c_str(), GENERIC_WRITE,
                                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(writer);
        LARGE_INTEGER at{};
        at.QuadPart = 60000;  // about 3.7 seconds of the 12
        ASSERT_TRUE(::SetFilePointerEx(writer.Get(), at, nullptr, FILE_BEGIN));
        ASSERT_TRUE(::SetEndOfFile(writer.Get()));
    }
    for (double seconds : {3.0, 8.0}) {
        SCOPED_TRACE(seconds);
        player.Seek(seconds);
        player.Play();
        EXPECT_TRUE(WaitFor([&] { return player.State() == PlayState::MediaEnded; }, 3000ms));
    }
    // And it stays usable: playing again starts over from the start.
    const auto replayed = Clock::now();
    player.Play();
    EXPECT_TRUE(WaitFor([&] { return player.State() == PlayState::Playing; }));
    EXPECT_LE(player.Position(), std::chrono::duration<double>(Clock::now() - replayed).count());
}

// A range played with a gain plan sounds as the cut saved with it: silent before
// a fade in, half the samples after it at -6 dB; the next command plays the frames as they are.
TEST(Player, PlaysARangeWithItsGainsAndTheNextCommandWithout) {
    const std::wstring file = Fixture(L"cbr128_info.mp3");
    const std::vector<std::int16_t> decoded = DecodeAll(file);
    auto record = std::make_shared<TestSink::Record>();
    Player player(OpenTestSink(record));
    player.SetVolume(100);
    player.Load(std::make_unique<Mp3Stream>(file));
    ASSERT_TRUE(WaitFor([&] { return player.State() == PlayState::MediaEnded; }));
    // Fading in over 0.1 s from 0.5 s, played from 0.25 s; the granules reach 1152 samples around them.
    const auto plan = std::make_shared<const media::GainPlan>(media::LevelChange{0.1, 0, -4},
                                                              media::SampleRange{22050, 44100}, 44100);
    for (const bool withGains : {true, false}) {
        player.PlayRange(0.25, 1.0, withGains ? plan : nullptr);
        ASSERT_TRUE(WaitFor([&] { return player.State() == PlayState::Paused; }));
        const std::vector<std::int16_t> played = Recorded(*record);
        ASSERT_EQ(played.size(), (44100 - 11025) * 2u);
        for (std::size_t i = 0; i < played.size(); ++i) {
            const std::size_t sample = 11025 + i / 2;
            const double expected = decoded[11025 * 2 + i] * (withGains ? 0.5 : 1.0);
            // Silence leaves the codec's rounding; elsewhere that after a seek, and the half's own.
            const bool silent = withGains && sample < 22050 - 1152;
            const bool level = !withGains || sample >= 22050 + 4410 + 1152;
            ASSERT_TRUE(!silent || std::abs(played[i]) <= 2) << i;
            ASSERT_TRUE(!level || std::abs(played[i] - expected) <= 4.0) << i;
        }
    }
}
