// Fades and level changes made in the frames' gain fields: the plan's curve, the
// fields rewritten and checksummed, and cuts of every kind of source decoded
// through the engine's own decoder against the source's samples.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "MediaFixtures.h"
#include "media/ExactCut.h"
#include "media/GainPlan.h"
#include "media/GranuleGains.h"
#include "media/MediaFile.h"
#include "media/Mp3Reader.h"
#include "media/Mp3Stream.h"
#include "support/WindowTesting.h"

using media::GainPlan;
using media::GranuleGains;
using media::LevelChange;
using media::Mp3Index;
using media::Mp3Stream;
using media::SampleRange;
using media_test::ReadBytes;
using media_test::ScratchFile;

namespace {

// Decodes of the same frames at another place in the codec's cycle may differ by a few steps.
constexpr int kCodecRounding = 4;

std::wstring Source(const std::wstring& name) { return testing_support::FixturePath(L"exact\\" + name); }

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

Mp3Index ReadIndex(const std::wstring& path) {
    media::MediaFile file(path);
    return media::Mp3Reader(file).Read();
}

// Samples [first, first + count) of a decode from `from` on (a straight decode from the start by default).
std::vector<std::int16_t> Samples(Mp3Stream& stream, std::uint64_t first, std::uint64_t count, std::uint64_t from = 0) {
    const std::size_t channels = static_cast<std::size_t>(stream.Channels());
    stream.Seek(from);
    std::vector<std::int16_t> pcm(static_cast<std::size_t>(first + count - from) * channels);
    std::size_t read = 0, n = 0;
    while (read < first + count - from &&
           (n = stream.Read(pcm.data() + read * channels, static_cast<std::size_t>(first + count - from - read))))
        read += n;
    pcm.resize(read * channels);
    pcm.erase(pcm.begin(), pcm.begin() + static_cast<std::ptrdiff_t>(
                                             std::min<std::size_t>(pcm.size(), (first - from) * channels)));
    return pcm;
}

std::vector<std::int16_t> Samples(const std::wstring& path, std::uint64_t first, std::uint64_t count) {
    Mp3Stream stream(path);
    return Samples(stream, first, count);
}

// The selection's cut with `change`, written over a copy of the source.
struct Cut {
    explicit Cut(const std::wstring& source) : file(L"level.mp3", ReadBytes(source)) {}
    ScratchFile file;
    media::GainReport report;
};

std::unique_ptr<Cut> MakeCut(const std::wstring& source, SampleRange range, const LevelChange& change) {
    auto cut = std::make_unique<Cut>(source);
    const double rate = ReadIndex(source).format.sampleRate;
    media::ExactCut exact(source, range.first / rate, (range.end - range.first) / rate, nullptr, change);
    EXPECT_TRUE(exact.Finish(cut->file.Path()));
    cut->report = exact.Report();
    return cut;
}

// Every audio frame of a file, in place.
template <typename Visit>
void ForEachFrame(std::vector<std::uint8_t>& bytes, const Mp3Index& index, Visit visit) {
    for (std::uint64_t offset : index.frameOffsets) {
        auto header = media::FrameHeader::Parse(bytes.data() + offset);
        ASSERT_TRUE(header);
        visit(GranuleGains(bytes.data() + offset, *header), *header);
    }
}

// One of every kind of stream a cut must handle.
const wchar_t* const kKinds[] = {
    L"cbr-cover.mp3",    L"vbr-stereo.mp3",     L"plain-stereo.mp3", L"vbr-mono.mp3",
    L"mpeg2-stereo.mp3", L"mpeg2-mono.mp3",     L"mpeg25-mono.mp3",  L"mpeg25-stereo.mp3",
    L"crc-stereo.mp3",   L"crc-mpeg2.mp3",      L"crc-mpeg25.mp3",
};

// The middle of a source: from 0.4 s for 1.7 s.
SampleRange Middle(const std::wstring& source) {
    const int rate = ReadIndex(source).format.sampleRate;
    return {static_cast<std::uint64_t>(rate * 2 / 5) + 37, static_cast<std::uint64_t>(rate * 21 / 10)};
}

double Rms(const std::int16_t* samples, std::size_t count) {
    double sum = 0;
    for (std::size_t i = 0; i < count; ++i) sum += static_cast<double>(samples[i]) * samples[i];
    return std::sqrt(sum / static_cast<double>(count));
}

}  // namespace

TEST(GainPlan, TakesEachGranuleAtTheCurveInItsMiddle) {
    const SampleRange range{100000, 200000};
    struct Case {
        const char* what;
        LevelChange change;
        std::int64_t middle;  // where the granule's middle lies
        int steps;
    } const kCases[] = {
        {"level alone, inside", {0, 0, -4}, 150000, -4},
        {"level alone, outside", {0, 0, 3}, 10, 3},
        {"fade in, half way: -6.02 dB", {1, 0, 0}, 100000 + 22050, -4},
        {"fade in, a tenth: -20 dB", {1, 0, 2}, 100000 + 4410, -13 + 2},
        {"fade in, done", {1, 0, 2}, 100000 + 44100, 2},
        {"fade in, at the start", {1, 0, 0}, 100000, GainPlan::kSilent},
        {"fade in, before the start", {1, 0, 5}, 90000, GainPlan::kSilent},
        {"fade in, just above -90 dB", {1, 0, 0}, 100000 + 2, -58},
        {"fade out, a quarter left: -12 dB", {0, 2, 0}, 200000 - 22050, -8},
        {"fade out, after the end", {0, 2, 0}, 200001, GainPlan::kSilent},
        {"fade out, before it", {0, 0.5, -1}, 150000, -1},
        {"fades that meet: the lower", {2, 2, 0}, 150000, -3},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        const GainPlan plan(c.change, range, 44100);
        EXPECT_EQ(plan.ChangeOfGranule(c.middle - 288), c.steps);
    }
}

TEST(GainPlan, NormalizesAndWarnsOfClipping) {
    struct Case {
        int loudest;
        int normalizing;
    } const kCases[] = {{32767, 0}, {32768, -1}, {16384, 3}, {16383, 4}, {1000, 20}, {0, 0}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.loudest);
        EXPECT_EQ(media::NormalizingSteps(c.loudest), c.normalizing);
        if (c.loudest == 0) continue;
        EXPECT_LE(media::ClippingDb(c.loudest, c.normalizing), 0);
        EXPECT_GT(media::ClippingDb(c.loudest, c.normalizing + 1), 0);
    }
    EXPECT_NEAR(media::ClippingDb(16384, 8), 6.02, 0.01);
}

TEST(GranuleGains, RewritesOnlyItsOwnEightBitsAndTheChecksum) {
    for (const wchar_t* name : kKinds) {
        SCOPED_TRACE(Narrow(name));
        const Mp3Index index = ReadIndex(Source(name));
        const auto before = ReadBytes(Source(name));
        auto after = before;
        int protectedFrames = 0;
        std::size_t audible = 0, fields = 0;
        ForEachFrame(after, index, [&](GranuleGains gains, const media::FrameHeader& header) {
            EXPECT_TRUE(gains.Sound());
            protectedFrames += header.hasCrc;
            for (int granule = 0; granule < gains.Granules(); ++granule)
                for (int channel = 0; channel < gains.Channels(); ++channel) {
                    const int gain = gains.Gain(granule, channel);
                    audible += gain > 100;  // a real gain, read from its place (silence has 0)
                    ++fields;
                    gains.SetGain(granule, channel, 255 - gain);
                    EXPECT_EQ(gains.Gain(granule, channel), 255 - gain);
                }
            EXPECT_EQ(gains.CrcHolds(), !header.hasCrc);
            gains.UpdateCrc();
            EXPECT_TRUE(gains.CrcHolds());
        });
        if (Narrow(name).starts_with("crc")) {
            EXPECT_EQ(protectedFrames, static_cast<int>(index.FrameCount()));
        }
        EXPECT_GT(audible, fields * 9 / 10);
        // Each granule and channel changed eight bits; a protected frame at most 16 more.
        std::size_t bits = 0;
        for (std::size_t i = 0; i < before.size(); ++i) bits += std::popcount(static_cast<unsigned>(before[i] ^ after[i]));
        const std::size_t most = protectedFrames * 16u;
        EXPECT_GE(bits, fields);  // 255 - g differs from g in every bit
        EXPECT_LE(bits, fields * 8 + most);
    }
}

TEST(GainPlan, HalfTheLevelDecodesToHalfTheSamplesOfEveryKindOfSource) {
    for (const wchar_t* name : kKinds) {
        SCOPED_TRACE(Narrow(name));
        const SampleRange range = Middle(Source(name));
        const auto cut = MakeCut(Source(name), range, {0, 0, -4});
        EXPECT_EQ(cut->report.framesLeft, 0u);
        EXPECT_EQ(cut->report.heldAtTop, 0u);
        EXPECT_EQ(ReadIndex(cut->file.Path()).PlayableSampleCount(), range.end - range.first);
        const auto source = Samples(Source(name), range.first, range.end - range.first);
        const auto half = Samples(cut->file.Path(), 0, range.end - range.first);
        ASSERT_EQ(half.size(), source.size());
        int largest = 0;
        for (std::size_t i = 0; i < source.size(); ++i)
            largest = std::max(largest, static_cast<int>(std::lround(std::abs(half[i] - source[i] / 2.0))));
        EXPECT_LE(largest, 1 + kCodecRounding / 2);
    }
}

TEST(GainPlan, ACutDiffersFromTheSameCutWithoutItOnlyInGainsAndChecksums) {
    for (const wchar_t* name : kKinds) {
        SCOPED_TRACE(Narrow(name));
        const SampleRange range = Middle(Source(name));
        const auto plain = MakeCut(Source(name), range, {});
        const auto faded = MakeCut(Source(name), range, {0.3, 0.5, 2});
        auto bytes = ReadBytes(plain->file.Path());
        auto changed = ReadBytes(faded->file.Path());
        ASSERT_EQ(bytes.size(), changed.size());
        const Mp3Index index = ReadIndex(faded->file.Path());
        // Each frame of the plain cut given the faded one's gains and checksum.
        std::size_t frames = 0, differing = 0;
        for (std::uint64_t offset : index.frameOffsets) {
            auto header = media::FrameHeader::Parse(bytes.data() + offset);
            GranuleGains mine(bytes.data() + offset, *header), theirs(changed.data() + offset, *header);
            EXPECT_TRUE(theirs.CrcHolds());
            ++frames;
            bool differs = false;
            for (int granule = 0; granule < mine.Granules(); ++granule)
                for (int channel = 0; channel < mine.Channels(); ++channel) {
                    differs = differs || mine.Gain(granule, channel) != theirs.Gain(granule, channel);
                    mine.SetGain(granule, channel, theirs.Gain(granule, channel));
                }
            differing += differs;
            mine.UpdateCrc();
        }
        EXPECT_GT(differing, frames / 2);
        // Then only the LAME tag's music checksum and its own checksum differ.
        std::vector<std::size_t> places;
        for (std::size_t i = 0; i < bytes.size(); ++i)
            if (bytes[i] != changed[i]) places.push_back(i);
        ASSERT_FALSE(places.empty());
        EXPECT_LE(places.size(), 4u);
        const std::size_t musicCrc = static_cast<std::size_t>(*index.infoFrame) +
                                     static_cast<std::size_t>(media::FrameHeader::Parse(bytes.data() + *index.infoFrame)->MainDataOffset()) +
                                     120 + 32;
        for (std::size_t place : places) EXPECT_TRUE(place >= musicCrc && place < musicCrc + 4) << place;
    }
}

TEST(GainPlan, AFadeFollowsItsCurveAndLeavesTheRestAsItWas) {
    for (const wchar_t* name : kKinds) {
        SCOPED_TRACE(Narrow(name));
        const Mp3Index index = ReadIndex(Source(name));
        const int rate = index.format.sampleRate;
        const std::size_t channels = static_cast<std::size_t>(index.format.channels);
        const SampleRange range = Middle(Source(name));
        const std::uint64_t length = range.end - range.first;
        const LevelChange change{0.6, 0.6, 0};
        const auto cut = MakeCut(Source(name), range, change);
        const auto source = Samples(Source(name), range.first, length);
        const auto faded = Samples(cut->file.Path(), 0, length);
        ASSERT_EQ(faded.size(), source.size());

        // The plan on the source's time line, where the granules lie.
        const GainPlan plan(change, range, rate);
        const std::int64_t granuleShift = index.encoderDelay % 576;
        const std::size_t window = static_cast<std::size_t>(rate / 100);
        int followed = 0;
        for (std::size_t at = 0; at + window <= length; at += window) {
            const double from = static_cast<double>(range.first + at);
            const double curve = plan.Curve(from + window / 2.0);
            if (curve >= 1) continue;
            // The steps of the granules whose sound reaches into the window: a granule
            // starting at a is heard from a - 529 to a + 1135.
            int lowest = 1000, highest = -1000;
            for (std::int64_t a = (static_cast<std::int64_t>(from) - 1135) / 576 * 576 - granuleShift;
                 a - 529 < static_cast<std::int64_t>(from + window); a += 576) {
                if (a + 1135 <= static_cast<std::int64_t>(from)) continue;
                const int steps = plan.ChangeOfGranule(a);
                lowest = std::min(lowest, steps == GainPlan::kSilent ? -1000 : steps);
                highest = std::max(highest, steps == GainPlan::kSilent ? -1000 : steps);
            }
            if (lowest == -1000) continue;  // next to silence: any level below the highest granule's
            const double theirs = Rms(source.data() + at * channels, window * channels);
            const double ours = 20 * std::log10(Rms(faded.data() + at * channels, window * channels) / theirs);
            constexpr double kStep = 1.50515;  // 20 log10(2^(1/4))
            EXPECT_GE(ours, lowest * kStep - 1) << at;
            EXPECT_LE(ours, highest * kStep + 1) << at;
            // Where those granules share one step, the curve itself within 1.5 dB.
            if (lowest == highest) {
                EXPECT_NEAR(ours, 20 * std::log10(curve), 1.5) << at;
                ++followed;
            }
        }
        EXPECT_GT(followed, 0);
        // Between the fades, past the reach of the granules they changed, every sample as it was.
        const std::uint64_t reach = 1152;
        const std::uint64_t from = static_cast<std::uint64_t>(change.fadeIn * rate) + reach;
        const std::uint64_t to = length - static_cast<std::uint64_t>(change.fadeOut * rate) - reach;
        int largest = 0;
        for (std::size_t i = from * channels; i < to * channels; ++i)
            largest = std::max(largest, std::abs(faded[i] - source[i]));
        EXPECT_LE(largest, kCodecRounding);
    }
}

TEST(GainPlan, TheStreamPlaysTheChangedFramesSilentBeyondTheFadesAndUntouchedBetween) {
    for (const wchar_t* name : {L"vbr-stereo.mp3", L"mpeg2-mono.mp3", L"crc-stereo.mp3"}) {
        SCOPED_TRACE(Narrow(name));
        Mp3Stream stream(Source(name));
        const int rate = stream.SampleRate();
        const std::size_t channels = static_cast<std::size_t>(stream.Channels());
        const SampleRange range = Middle(Source(name));
        const auto plan = std::make_shared<const GainPlan>(LevelChange{0.3, 0.3, 0}, range, rate);
        const std::uint64_t from = range.first - static_cast<std::uint64_t>(rate / 5);
        const std::uint64_t count = range.end + static_cast<std::uint64_t>(rate / 5) - from;
        const auto plain = Samples(stream, from, count, from);
        stream.SetGainPlan(plan);
        const auto played = Samples(stream, from, count, from);
        ASSERT_EQ(played.size(), plain.size());
        const std::uint64_t reach = 1152;
        auto at = [&](std::uint64_t sample) { return static_cast<std::size_t>(sample - from) * channels; };
        // The curve is silence before the start and after the end.
        // (The lowest gain leaves only the system codec's rounding, two steps of 16 bits at most.)
        for (std::size_t i = 0; i < at(range.first - reach); ++i) ASSERT_LE(std::abs(played[i]), 2) << i;
        for (std::size_t i = at(range.end + reach); i < played.size(); ++i) ASSERT_LE(std::abs(played[i]), 2) << i;
        EXPECT_NE(Rms(plain.data(), at(range.first - reach)), 0);
        // Between the fades the same frames decode to the same samples.
        const std::uint64_t fade = static_cast<std::uint64_t>(0.3 * rate);
        EXPECT_TRUE(std::equal(played.begin() + at(range.first + fade + reach), played.begin() + at(range.end - fade - reach),
                               plain.begin() + at(range.first + fade + reach)));
        // Without the plan, the frames as they are.
        stream.SetGainPlan(nullptr);
        EXPECT_EQ(Samples(stream, from, count, from), plain);
    }
}

TEST(GainPlan, ARiseBeyondTheHighestGainIsHeldThereAndCounted) {
    const std::wstring source = Source(L"vbr-mono.mp3");
    const Mp3Index index = ReadIndex(source);
    int highest = 0;
    auto bytes = ReadBytes(source);
    ForEachFrame(bytes, index, [&](GranuleGains gains, const media::FrameHeader&) {
        for (int granule = 0; granule < gains.Granules(); ++granule) highest = std::max(highest, gains.Gain(granule, 0));
    });
    // A rise that takes the loudest granule's gain past 255.
    const int steps = 256 - highest;
    const SampleRange all{0, index.PlayableSampleCount()};
    const media::GainReport tried = media::TryGainPlan(source, index, GainPlan({0, 0, steps}, all, index.format.sampleRate));
    EXPECT_GT(tried.heldAtTop, 0u);
    EXPECT_EQ(tried.framesLeft, 0u);
    const auto cut = MakeCut(source, all, {0, 0, steps});
    EXPECT_EQ(cut->report.heldAtTop, tried.heldAtTop);
    EXPECT_EQ(media::TryGainPlan(source, index, GainPlan({0, 0, -steps}, all, index.format.sampleRate)).heldAtTop, 0u);
}

TEST(GainPlan, ADamagedFrameIsLeftAsItWasAndCounted) {
    const std::wstring name = Source(L"crc-stereo.mp3");
    const Mp3Index index = ReadIndex(name);
    auto bytes = ReadBytes(name);
    // Three frames in the middle whose checksum no longer holds.
    const std::size_t middle = index.frameOffsets.size() / 2;
    for (std::size_t k = middle; k < middle + 3; ++k) bytes[static_cast<std::size_t>(index.frameOffsets[k]) + 5] ^= 0x5A;
    ScratchFile damaged(L"damaged.mp3", bytes);
    const SampleRange all{0, index.PlayableSampleCount()};
    const auto cut = MakeCut(damaged.Path(), all, {0, 0, -4});
    EXPECT_EQ(cut->report.framesLeft, 3u);
    const Mp3Index copy = ReadIndex(cut->file.Path());
    auto written = ReadBytes(cut->file.Path());
    int failing = 0;
    ForEachFrame(written, copy, [&](GranuleGains gains, const media::FrameHeader&) { failing += !gains.CrcHolds(); });
    EXPECT_EQ(failing, 3);  // left as they were, not given a checksum that hides the damage
}
