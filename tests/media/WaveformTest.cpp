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
#include "media/Mp3Stream.h"

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

    // Stored peaks are exactly the extremes of the decoded samples of the blocks
    // that hold a span: spans that start within a block, and spans across whole
    // groups of 64 blocks, which are read from the second level.
    constexpr std::uint64_t kBlock = media::Waveform::kBlockSamples;
    const std::uint64_t length = waveform.Length();
    struct Span {
        std::uint64_t first, count;
    } spans[] = {{0, 40 * kBlock}, {344 * kBlock + 37, 200 * kBlock}, {3 * 64 * kBlock - 5, 130 * kBlock + 9},
                 {0, length}, {length - 1000, 1000}};
    // Decoded straight from the start, as the peaks were (a seek primes the codec
    // with fewer frames, which may change the last bits).
    const std::vector<std::int16_t> samples = waveform.Samples(0, static_cast<std::size_t>(length));
    ASSERT_EQ(samples.size(), length * 2);
    for (const Span& span : spans) {
        const std::uint64_t from = span.first / kBlock * kBlock;
        const std::uint64_t to = std::min(length, (span.first + span.count + kBlock - 1) / kBlock * kBlock);
        const auto [low, high] = std::minmax_element(samples.begin() + static_cast<std::ptrdiff_t>(from * 2),
                                                     samples.begin() + static_cast<std::ptrdiff_t>(to * 2));
        const media::Peak peak = waveform.PeakOf(span.first, span.first + span.count);
        EXPECT_EQ(peak.low, *low) << span.first;
        EXPECT_EQ(peak.high, *high) << span.first;
    }
}

// Each block's levels, per channel, against one decode of the whole file from its
// start: the workers decode their parts from a few frames earlier, and must give
// exactly the same samples at every part's start.
TEST(Waveform, LevelsOfEveryBlockAreThoseOfOneDecode) {
    std::vector<std::wstring> files(std::begin(media_test::kStreams), std::end(media_test::kStreams));
    for (const wchar_t* name : {L"parts-cbr.mp3", L"parts-vbr.mp3", L"parts-mpeg2.mp3", L"parts-mpeg25.mp3", L"album.mp3"})
        files.push_back(media_test::Fixture(std::wstring(L"..\\split\\") + name));
    // Past 40 frames cut out, where the codec fails on the reservoir that is not there.
    files.push_back(WaveformFixture(L"cut_40_frames.mp3"));
    for (std::wstring& file : files) {
        if (file.find(L'\\') == std::wstring::npos) file = media_test::Fixture(file);
        const auto index = IndexOf(file);
        media::Waveform waveform(file, index);
        waveform.Wait();
        ASSERT_EQ(waveform.ReadyLength(), waveform.Length()) << file;

        media::Mp3Stream stream(file, index);
        const std::size_t channels = static_cast<std::size_t>(stream.Channels());
        std::vector<std::int16_t> all(static_cast<std::size_t>(stream.Length()) * channels);
        ASSERT_EQ(stream.Read(all.data(), static_cast<std::size_t>(stream.Length())), stream.Length()) << file;

        constexpr std::uint64_t kBlock = media::Waveform::kBlockSamples;
        int wrong = 0;
        for (std::uint64_t first = 0; first < waveform.Length() && wrong < 5; first += kBlock) {
            const std::uint64_t end = std::min(first + kBlock, waveform.Length());
            for (std::size_t c = 0; c < channels; ++c) {
                media::Peak peak;
                double squares = 0;
                for (std::uint64_t s = first; s < end; ++s) {
                    const std::int16_t sample = all[static_cast<std::size_t>(s) * channels + c];
                    peak.Add(sample);
                    squares += static_cast<double>(sample) * sample;
                }
                const media::Level level = waveform.LevelOf(first, end, static_cast<int>(c));
                const bool same = level.peak.low == peak.low && level.peak.high == peak.high &&
                                  std::abs(level.rms - std::sqrt(squares / static_cast<double>(end - first))) <= 0.5;
                if (!same) ++wrong;
                EXPECT_TRUE(same) << file << " block at " << first << " channel " << c;
            }
        }
        // The whole file, through the groups, agrees with its blocks.
        const auto [low, high] = std::minmax_element(all.begin(), all.end());
        const media::Level whole = waveform.LevelOf(0, waveform.Length());
        EXPECT_EQ(whole.peak.low, *low) << file;
        EXPECT_EQ(whole.peak.high, *high) << file;
        double squares = 0;
        for (std::int16_t s : all) squares += static_cast<double>(s) * s;
        EXPECT_NEAR(whole.rms, std::sqrt(squares / static_cast<double>(all.size())), 1.0) << file;
    }
}

TEST(Waveform, EachChannelHasItsOwnLevel) {
    media::Waveform waveform(WaveformFixture(L"tones.mp3"), IndexOf(WaveformFixture(L"tones.mp3")));
    waveform.Wait();
    struct Case {
        double from, to;
        int channel;
        double decibels;  // of the RMS; a sine's is 3 dB below its peak
    } cases[] = {
        {1.1, 1.9, 0, -6.02 - 3.01}, {3.1, 3.9, 1, -12.04 - 3.01}, {1.1, 1.9, 1, -90}, {3.1, 3.9, 0, -90},
    };
    // (The encoder takes a little off the tones' level.)
    for (const Case& c : cases) {
        const media::Level level = waveform.LevelOf(At(c.from), At(c.to), c.channel);
        if (c.decibels > -90)
            EXPECT_NEAR(media::DecibelsOf(level.rms), c.decibels, 0.35) << c.from << " " << c.channel;
        else
            EXPECT_LT(media::DecibelsOf(level.rms), -70) << c.from << " " << c.channel;
    }
    EXPECT_NEAR(media::AmplitudeOf(-45), 184.3, 0.1);
    EXPECT_DOUBLE_EQ(media::DecibelsOf(media::AmplitudeOf(-12.5)), -12.5);
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

    // A file gone since it was indexed: nothing is ready, and nothing is thrown at the window.
    std::shared_ptr<const media::Mp3Index> goneIndex;
    std::wstring gonePath;
    {
        media_test::ScratchFile gone(L"gone.mp3", whole);
        goneIndex = IndexOf(gone.Path());
        gonePath = gone.Path();
    }
    media::Waveform missing(gonePath, goneIndex);
    missing.Wait();
    EXPECT_EQ(missing.ReadyLength(), 0u);
}

TEST(Waveform, ShowsTheMonoPartOfAJoinedFileThatStartsInStereo) {
    const std::wstring path = media_test::Fixture(L"joined_channels.mp3");
    media::Waveform waveform(path, IndexOf(path));
    ASSERT_TRUE(WaitUntil([&] { return waveform.Finished(); }));
    EXPECT_EQ(waveform.ReadyLength(), waveform.Length());
    EXPECT_GT(waveform.Length() / kRate, 4.0);
    EXPECT_GT(waveform.PeakOf(At(2.0), At(3.5)).high, 5000);
}

// A tag editor rewrote the file after the player indexed it, moving its frames: the
// waveform and the search for a pause read it again rather than decode at the old places.
TEST(Waveform, AFileRewrittenSinceThePlayerIndexedItIsReadAgain) {
    const std::vector<std::uint8_t> whole = media_test::ReadBytes(WaveformFixture(L"tones.mp3"));
    media_test::ScratchFile file(L"retagged.mp3", whole);
    const auto index = IndexOf(file.Path());
    const std::uint64_t preferred = At(1.05);  // in the tone that starts at 1 s
    const std::uint64_t quiet = media::QuietestPoint(file.Path(), index, At(0.9), At(1.1), preferred, 220);
    ASSERT_LT(quiet, At(1.0));
    media::Waveform before(file.Path(), index);
    ASSERT_TRUE(WaitUntil([&] { return before.Finished(); }));

    // A 4 KB tag of padding put ahead of the audio.
    std::vector<std::uint8_t> retagged = {'I', 'D', '3', 3, 0, 0, 0, 0, 0x20, 0};
    retagged.resize(10 + 4096);
    retagged.insert(retagged.end(), whole.begin(), whole.end());
    {
        base::KernelHandle handle(
            ::CreateFileW(file.Path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        ASSERT_TRUE(::WriteFile(handle.Get(), retagged.data(), static_cast<DWORD>(retagged.size()), &written, nullptr));
    }
    EXPECT_EQ(media::QuietestPoint(file.Path(), index, At(0.9), At(1.1), preferred, 220), quiet);
    media::Waveform after(file.Path(), index);
    ASSERT_TRUE(WaitUntil([&] { return after.Finished(); }));
    EXPECT_EQ(after.ReadyLength(), after.Length());
    for (double second = 0; second < 4.9; second += 0.5) {
        EXPECT_EQ(after.PeakOf(At(second), At(second + 0.5)).high, before.PeakOf(At(second), At(second + 0.5)).high)
            << second;
    }
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
    EXPECT_TRUE(WaitUntil([&] { return player.Position() > 1.5; }, 10s));
    EXPECT_EQ(player.State(), media::PlayState::Playing);

    // A range that ends at the file's end pauses there too, rather than ending the media.
    const double end = player.Duration();
    player.PlayRange(end - 0.3, end);
    ASSERT_TRUE(WaitUntil([&] { return player.State() == media::PlayState::Paused; }, 10s));
    EXPECT_DOUBLE_EQ(player.Position(), end);
}
