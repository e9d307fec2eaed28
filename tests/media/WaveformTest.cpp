// The waveform's peaks against the engine's own decode of files with known
// content, the quiet-spot search, and a range played to a pause.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

#include "MediaFixtures.h"
#include "media/Media.h"

using namespace std::chrono_literals;

namespace {

constexpr double kRate = 44100;

std::wstring WaveformFixture(const std::wstring& name) { return media_test::Fixture(L"..\\waveform\\" + name); }

std::shared_ptr<const media::Mp3Index> IndexOf(const std::wstring& path) {
    media::Player player(media::Player::Output::Silent);
    player.Open(path);
    return player.Index();
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = 30s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition() && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(5ms);
    return condition();
}

std::uint64_t At(double seconds) { return static_cast<std::uint64_t>(seconds * kRate); }

}  // namespace

TEST(Waveform, PeaksShowTheTonesAndSilencesOfBothChannels) {
    media::Waveform waveform(WaveformFixture(L"tones.mp3"), IndexOf(WaveformFixture(L"tones.mp3")));
    ASSERT_TRUE(WaitUntil([&] { return waveform.Finished(); }));
    ASSERT_EQ(waveform.ReadyLength(), waveform.Length());
    EXPECT_NEAR(waveform.Length() / kRate, 5.0, 0.01);

    struct Stretch {
        double from, to, amplitude;  // the left tone, silence, the right tone
    };
    for (const Stretch& s : {Stretch{0.1, 0.9, 0}, Stretch{1.1, 1.9, 0.5}, Stretch{2.1, 2.9, 0},
                             Stretch{3.1, 3.9, 0.25}, Stretch{4.1, 4.9, 0}}) {
        const media::Peak peak = waveform.PeakOf(At(s.from), At(s.to));
        const double expected = s.amplitude * 32767;
        const double tolerance = s.amplitude == 0 ? 33 : expected * 0.03;
        EXPECT_NEAR(peak.high, expected, tolerance) << s.from;
        EXPECT_NEAR(-peak.low, expected, tolerance) << s.from;
    }

    // Stored peaks are exactly the extremes of the decoded samples they cover.
    constexpr std::uint64_t kBlock = media::Waveform::kBlockSamples;
    for (std::uint64_t first : {0ull, 344 * kBlock, 345 * kBlock + 0, 1000 * kBlock, waveform.Length() / kBlock * kBlock}) {
        const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(40 * kBlock, waveform.Length() - first));
        const std::vector<std::int16_t> samples = waveform.Samples(first, count);
        ASSERT_EQ(samples.size(), count * 2) << first;
        const auto [low, high] = std::minmax_element(samples.begin(), samples.end());
        const media::Peak peak = waveform.PeakOf(first, first + count);
        EXPECT_EQ(peak.low, *low) << first;
        EXPECT_EQ(peak.high, *high) << first;
    }
}

TEST(Waveform, FilesThatEndEarlyOrHoldOneFrame) {
    // One frame: the samples a player gives of it are all there.
    media::Waveform one(WaveformFixture(L"one_frame.mp3"), IndexOf(WaveformFixture(L"one_frame.mp3")));
    ASSERT_TRUE(WaitUntil([&] { return one.Finished(); }));
    EXPECT_GT(one.Length(), 0u);
    EXPECT_EQ(one.ReadyLength(), one.Length());
    EXPECT_FALSE(one.PeakOf(0, one.Length()).Empty());

    // A file cut short after it was indexed stops decoding part-way: the peaks end there.
    const std::vector<std::uint8_t> whole = media_test::ReadBytes(WaveformFixture(L"tones.mp3"));
    media_test::ScratchFile file(L"shortened.mp3", whole);
    const auto index = IndexOf(file.Path());
    {
        base::KernelHandle handle(::CreateFileW(file.Path().c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                                OPEN_EXISTING, 0, nullptr));
        LARGE_INTEGER half{};
        half.QuadPart = static_cast<LONGLONG>(whole.size() / 2);
        ASSERT_TRUE(::SetFilePointerEx(handle.Get(), half, nullptr, FILE_BEGIN) && ::SetEndOfFile(handle.Get()));
    }
    media::Waveform shortened(file.Path(), index);
    ASSERT_TRUE(WaitUntil([&] { return shortened.Finished(); }));
    EXPECT_GT(shortened.ReadyLength(), shortened.Length() / 3);
    EXPECT_LT(shortened.ReadyLength(), shortened.Length() * 2 / 3);
    EXPECT_TRUE(shortened.PeakOf(shortened.ReadyLength(), shortened.Length()).Empty());
}

TEST(QuietSpot, TheQuietestStretchNearestThePreferredPlace) {
    // Mono, loud but for two gaps: a silent one at 20-29, and one at 60-67 with a click at 63.
    std::vector<std::int16_t> samples(100, 1000);
    std::fill(samples.begin() + 20, samples.begin() + 30, 0);
    std::fill(samples.begin() + 60, samples.begin() + 68, 0);
    samples[63] = 5;
    struct Case {
        std::size_t first, last, preferred;
        std::optional<std::size_t> middle;
    } cases[] = {
        {0, 99, 50, 27},            // the silent gap wins over the nearer one with the click
        {0, 99, 0, 22},             // of its runs, the one nearest the preferred place
        {40, 99, 50, 62},           // only the gap with the click in reach
        {40, 50, 45, 45},           // all equally loud: the preferred place itself
        {98, 99, 98, std::nullopt}, // no run of five around there lies wholly in the samples
    };
    for (const Case& c : cases) {
        auto middle = media::QuietestMiddle(samples, 1, 5, c.first, c.last, c.preferred);
        EXPECT_EQ(middle, c.middle) << c.first << ".." << c.last << " near " << c.preferred;
    }
}

TEST(PlayRange, PausesExactlyAtItsEnd) {
    media::Player player(media::Player::Output::Silent);
    player.Open(WaveformFixture(L"tones.mp3"));
    player.PlayRange(1.0, 1.3);
    ASSERT_TRUE(WaitUntil([&] { return player.State() == media::PlayState::Paused; }, 10s));
    EXPECT_DOUBLE_EQ(player.Position(), 1.3);
    // Played on from there, it plays on past the range's end.
    player.Play();
    ASSERT_TRUE(WaitUntil([&] { return player.State() == media::PlayState::Playing; }, 10s));
    EXPECT_GE(player.Position(), 1.3);

    // A range that ends at the file's end pauses there too, rather than ending the media.
    const double end = player.Duration();
    player.PlayRange(end - 0.3, end);
    ASSERT_TRUE(WaitUntil([&] { return player.State() == media::PlayState::Paused; }, 10s));
    EXPECT_DOUBLE_EQ(player.Position(), end);
}
