// Fades and level changes made in the frames' gain fields: the plan's curve, and
// cuts of every kind of source decoded by the engine's decoder against the source.
#include <gtest/gtest.h>

#include <cmath>

#include "MediaFixtures.h"
#include "media/ExactCut.h"
#include "media/GainPlan.h"
#include "media/GranuleGains.h"
#include "media/Mp3Stream.h"
#include "media/Waveform.h"
#include "support/WindowTesting.h"

using media::GainPlan;
using media::LevelChange;
using media::SampleRange;
using media_test::ReadBytes;
using media_test::ReadIndex;
using media_test::Samples;

namespace {

constexpr int kCodecRounding = 4;  // the same frames decoded after others may differ by a few steps
constexpr double kStepDb = 1.50515;  // 20 log10(2^(1/4))

std::wstring Source(const std::wstring& name) { return testing_support::FixturePath(L"exact\\" + name); }

// One of every kind of stream: joint stereo CBR and VBR, left/right stereo, mono,
// MPEG-2 and 2.5, and frames protected by a CRC.
const wchar_t* const kKinds[] = {L"cbr-cover.mp3",     L"vbr-stereo.mp3", L"plain-stereo.mp3", L"vbr-mono.mp3",
                                 L"mpeg2-stereo.mp3",  L"mpeg2-mono.mp3", L"mpeg25-mono.mp3",  L"mpeg25-stereo.mp3",
                                 L"crc-stereo.mp3",    L"crc-mpeg2.mp3",  L"crc-mpeg25.mp3"};

// The selection's cut with `change`, written over a copy of the source.
struct Cut {
    Cut(const std::wstring& source, SampleRange range, const LevelChange& change)
        : file(L"level.mp3", ReadBytes(source)) {
        const double rate = ReadIndex(source).format.sampleRate;
        media::ExactCut exact(source, range.first / rate, (range.end - range.first) / rate, nullptr, change);
        EXPECT_TRUE(exact.Finish(file.Path()));
        report = exact.Report();
    }
    media_test::ScratchFile file;
    media::GainReport report;
};

// 0.4 s to 2.1 s of a source.
SampleRange Middle(const std::wstring& source) {
    const std::uint64_t rate = static_cast<std::uint64_t>(ReadIndex(source).format.sampleRate);
    return {rate * 2 / 5 + 37, rate * 21 / 10};
}

double Rms(const std::int16_t* samples, std::size_t count) {
    double sum = 0;
    for (std::size_t i = 0; i < count; ++i) sum += static_cast<double>(samples[i]) * samples[i];
    return std::sqrt(sum / static_cast<double>(count));
}

}  // namespace

// A granule starting at a is heard from a - 529 to a + 1134.
TEST(GainPlan, TakesEachGranuleAtTheHighestCurveWhereItIsHeard) {
    struct Case {
        const char* what;
        LevelChange change;
        std::int64_t start;
        int steps;
    } const kCases[] = {
        {"level alone, inside and out", {0, 0, -4}, -278, -4},
        {"fade in, last heard half way: -6 dB", {1, 0, 0}, 100000 + 22050 - 1134, -4},
        {"fade in, a tenth, and a level", {1, 0, 2}, 100000 + 4410 - 1134, -13 + 2},
        {"fade in, done", {1, 0, 2}, 100000 + 44100 - 1134, 2},
        {"fade in, heard only before the start", {1, 0, 5}, 100000 - 1135, GainPlan::kSilent},
        {"fade in, just above -90 dB", {1, 0, 0}, 100002 - 1134, -58},
        {"fade out, first heard with a quarter left", {0, 2, 0}, 200000 - 22050 + 529, -8},
        {"fade out, heard only after the end", {0, 2, 0}, 200000 + 529, GainPlan::kSilent},
        {"fades that meet: where they cross", {2, 2, 0}, 150000 - 288, -3},
        {"fades that meet: heard only after they cross", {2, 2, 0}, 200000 - 22050 + 529, -8},
        {"a fade shorter than a granule: heard past its end", {0.004, 0, 0}, 100000 - 500, 0},
        {"a fade shorter than a granule: heard only within it", {0.004, 0, 0}, 100088 - 1134, -4},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(GainPlan(c.change, {100000, 200000}, 44100).ChangeOfGranule(c.start), c.steps);
    }
}

TEST(GainPlan, NormalizesToTheLastStepBelowFullScaleOnEitherSide) {
    // Full scale is 32767 above zero and -32768 below: a step is 2^(1/4) in amplitude.
    struct Case {
        std::int16_t low, high;
        int steps;
    };
    const Case cases[] = {
        {-100, 32767, 0}, {-32768, 100, 0}, {-32768, 32767, 0},  // at full scale already
        {-100, 16384, 3},                                        // twice would be 32768: over
        {-16384, 100, 4},                                        // twice is -32768: full scale
        {-16383, 16383, 4},  {-1000, 1000, 20}, {-1000, 0, 20}, {0, 1000, 20},
    };
    for (const Case& c : cases) {
        const media::Peak peak{c.low, c.high};
        EXPECT_EQ(media::NormalizingSteps(peak), c.steps) << c.low << " " << c.high;
        EXPECT_LE(media::ClippingDb(peak, c.steps), 0) << c.low << " " << c.high;
        EXPECT_GT(media::ClippingDb(peak, c.steps + 1), 0) << c.low << " " << c.high;
    }
    EXPECT_EQ(media::NormalizingSteps(media::Peak{0, 0}), 0);  // silence
}

TEST(GainPlan, HalfTheLevelDecodesToHalfTheSamplesOfEveryKindOfSource) {
    for (const wchar_t* name : kKinds) {
        SCOPED_TRACE(name);
        const SampleRange range = Middle(Source(name));
        const Cut cut(Source(name), range, {0, 0, -4});
        EXPECT_EQ(cut.report.framesLeft + cut.report.heldAtTop, 0u);
        EXPECT_EQ(ReadIndex(cut.file.Path()).PlayableSampleCount(), range.end - range.first);
        const auto source = Samples(Source(name), range.first, range.end - range.first);
        const auto half = Samples(cut.file.Path(), 0, range.end - range.first);
        ASSERT_EQ(half.size(), source.size());
        for (std::size_t i = 0; i < source.size(); ++i)
            ASSERT_LE(std::abs(half[i] - source[i] / 2.0), 1 + kCodecRounding / 2) << i;
    }
}

TEST(GainPlan, ACutDiffersFromTheSameCutWithoutItOnlyInGainsAndChecksums) {
    for (const wchar_t* name : kKinds) {
        const SampleRange range = Middle(Source(name));
        auto bytes = ReadBytes(Cut(Source(name), range, {}).file.Path());
        const Cut faded(Source(name), range, {0.3, 0.5, 2});
        auto changed = ReadBytes(faded.file.Path());
        ASSERT_EQ(bytes.size(), changed.size());
        const media::Mp3Index index = ReadIndex(faded.file.Path());
        // The plain cut's frames given the faded one's gains and checksums.
        for (std::uint64_t offset : index.frameOffsets) {
            const auto header = *media::FrameHeader::Parse(bytes.data() + offset);
            media::GranuleGains mine(bytes.data() + offset, header), theirs(changed.data() + offset, header);
            EXPECT_TRUE(theirs.CrcHolds());
            for (int granule = 0; granule < mine.Granules(); ++granule)
                for (int channel = 0; channel < mine.Channels(); ++channel)
                    mine.SetGain(granule, channel, theirs.Gain(granule, channel));
            mine.UpdateCrc();
        }
        // Then the LAME tag's music checksum and its own checksum are all that differ.
        const std::size_t musicCrc =
            *index.infoFrame + media::FrameHeader::Parse(bytes.data() + *index.infoFrame)->MainDataOffset() + 120 + 32;
        for (std::size_t i = 0; i < bytes.size(); ++i)
            EXPECT_TRUE(bytes[i] == changed[i] || (i >= musicCrc && i < musicCrc + 4)) << i;
        EXPECT_NE(bytes[musicCrc] * 256 + bytes[musicCrc + 1], changed[musicCrc] * 256 + changed[musicCrc + 1]);
    }
}

TEST(GainPlan, AFadeFollowsItsCurveAndLeavesTheRestAsItWas) {
    for (const wchar_t* name : kKinds) {
        SCOPED_TRACE(name);
        const media::Mp3Index index = ReadIndex(Source(name));
        const std::size_t channels = static_cast<std::size_t>(index.format.channels);
        const SampleRange range = Middle(Source(name));
        const std::uint64_t length = range.end - range.first;
        const GainPlan plan({0.6, 0.6, 0}, range, index.format.sampleRate);
        const auto source = Samples(Source(name), range.first, length);
        const auto faded = Samples(Cut(Source(name), range, plan.Change()).file.Path(), 0, length);
        ASSERT_EQ(faded.size(), source.size());

        // Over 10 ms windows: the level between the steps of the granules heard there
        // (one starting at a is heard from a - 529 to a + 1135), and where they share
        // a step, the curve's within 1.5 dB.
        const std::size_t window = static_cast<std::size_t>(index.format.sampleRate / 100);
        int onTheCurve = 0;
        for (std::size_t at = 0; at + window <= length; at += window) {
            const auto from = static_cast<std::int64_t>(range.first + at);
            const auto to = from + static_cast<std::int64_t>(window);
            int lowest = 1000, highest = -1000;
            for (std::int64_t a = (from - 1135) / 576 * 576 - index.encoderDelay % 576; a - 529 < to; a += 576)
                if (a + 1135 > from) {
                    const int steps = plan.ChangeOfGranule(a);
                    lowest = std::min(lowest, steps == GainPlan::kSilent ? -1000 : steps);
                    highest = std::max(highest, steps == GainPlan::kSilent ? -1000 : steps);
                }
            const double curve = plan.Curve(static_cast<double>(from) + window / 2.0);
            if (lowest == -1000 || curve >= 1) continue;  // next to silence, or outside the fades
            const double db = 20 * std::log10(Rms(faded.data() + at * channels, window * channels) /
                                              Rms(source.data() + at * channels, window * channels));
            EXPECT_GE(db, lowest * kStepDb - 1) << at;
            EXPECT_LE(db, highest * kStepDb + 1) << at;
            if (lowest == highest) {
                EXPECT_NEAR(db, 20 * std::log10(curve), 1.5) << at;
                ++onTheCurve;
            }
        }
        EXPECT_GT(onTheCurve, 0);
        // Between the fades, past the reach of the granules they changed, every sample as it was.
        const std::size_t fade = static_cast<std::size_t>(0.6 * index.format.sampleRate) + 1152;
        for (std::size_t i = fade * channels; i < (length - fade) * channels; ++i)
            ASSERT_LE(std::abs(faded[i] - source[i]), kCodecRounding) << i;
    }
}

TEST(GainPlan, CountsGranulesHeldAtTheHighestGainAndLeavesDamagedFramesAlone) {
    const std::wstring source = Source(L"crc-stereo.mp3");
    const media::Mp3Index index = ReadIndex(source);
    const SampleRange all{0, index.PlayableSampleCount()};
    // A rise of 120 steps takes every granule but silent ones past 255.
    const GainPlan rise({0, 0, 120}, all, 44100);
    EXPECT_GT(media::TryGainPlan(source, index, rise).heldAtTop, index.FrameCount());
    EXPECT_EQ(Cut(source, all, rise.Change()).report.heldAtTop, media::TryGainPlan(source, index, rise).heldAtTop);

    // Three frames in the middle whose checksum no longer holds.
    auto bytes = ReadBytes(source);
    for (std::size_t k = 20; k < 23; ++k) bytes[static_cast<std::size_t>(index.frameOffsets[k]) + 5] ^= 0x5A;
    const media_test::ScratchFile damaged(L"damaged.mp3", bytes);
    const Cut cut(damaged.Path(), all, {0, 0, -4});
    EXPECT_EQ(cut.report.framesLeft, 3u);
    auto written = ReadBytes(cut.file.Path());
    int failing = 0;
    for (std::uint64_t offset : ReadIndex(cut.file.Path()).frameOffsets)
        failing += !media::GranuleGains(written.data() + offset, *media::FrameHeader::Parse(written.data() + offset)).CrcHolds();
    EXPECT_EQ(failing, 3);  // left as they were, not given a checksum that hides the damage
}

// A file joined from parts of two channel counts: a selection in the second part
// gets its level in the save, in the preview and in the count the status line
// gives, as one in the first part does.
TEST(GainPlan, ASelectionInAPartOfTheOtherChannelCountGetsItsLevel) {
    struct Case {
        const wchar_t* file;
        int secondChannels;
    } const kCases[] = {{L"joined_channels.mp3", 1}, {L"joined_mono_first.mp3", 2}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.file);
        const std::wstring source = media_test::Fixture(c.file);
        const media::Mp3Index index = ReadIndex(source);
        ASSERT_EQ(index.channelChanges.size(), 1u);
        const std::uint64_t first = index.channelChanges[0] * 1152 + 5000;
        const SampleRange range{first, first + 30000};
        const GainPlan half({0, 0, -4}, range, 44100);
        EXPECT_EQ(media::TryGainPlan(source, index, half).framesLeft, 0u);

        const Cut plain(source, range, {}), cut(source, range, half.Change());
        EXPECT_EQ(cut.report.framesLeft, 0u);
        EXPECT_EQ(ReadIndex(cut.file.Path()).format.channels, c.secondChannels);
        const auto before = Samples(plain.file.Path(), 0, range.end - range.first);
        const auto after = Samples(cut.file.Path(), 0, range.end - range.first);
        ASSERT_EQ(after.size(), before.size());
        EXPECT_NEAR(20 * std::log10(Rms(after.data(), after.size()) / Rms(before.data(), before.size())), -6.02, 0.5);

        // The preview: the player's stream with the plan and without it.
        auto preview = [&](std::shared_ptr<const GainPlan> plan) {
            media::Mp3Stream stream(source);
            stream.SetGainPlan(std::move(plan));
            stream.Seek(range.first);
            std::vector<std::int16_t> pcm((range.end - range.first) * static_cast<std::size_t>(stream.Channels()));
            pcm.resize(stream.Read(pcm.data(), range.end - range.first) * static_cast<std::size_t>(stream.Channels()));
            return pcm;
        };
        const auto heard = preview(std::make_shared<GainPlan>(half)), unchanged = preview(nullptr);
        ASSERT_EQ(heard.size(), unchanged.size());
        ASSERT_FALSE(heard.empty());
        EXPECT_NEAR(20 * std::log10(Rms(heard.data(), heard.size()) / Rms(unchanged.data(), unchanged.size())), -6.02,
                    0.5);
    }
}
