// Loudness against ffmpeg's EBU R128 meter on files of known content (the fixtures
// script measures each with `ffmpeg -af ebur128`), the gates, and the two workers'
// result against one pass over the file.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "MediaFixtures.h"
#include "media/LoudnessMeter.h"
#include "media/Media.h"

namespace {

std::wstring LoudnessFixture(const std::wstring& name) { return media_test::Fixture(L"..\\loudness\\" + name); }

struct Reference {
    double integrated = 0, truePeak = 0;
};

// ffmpeg's figures for each file, as the fixtures script wrote them.
std::map<std::string, Reference> References() {
    std::ifstream in(LoudnessFixture(L"reference.txt").c_str());
    std::map<std::string, Reference> references;
    std::string name;
    Reference r;
    while (in >> name >> r.integrated >> r.truePeak) references[name] = r;
    return references;
}

std::unique_ptr<media::Waveform> Measured(const std::string& name) {
    const std::wstring path = LoudnessFixture(std::wstring(name.begin(), name.end()));
    media::Player player(media::Player::Output::Silent);
    player.Open(path);
    auto waveform = std::make_unique<media::Waveform>(path, player.Index());
    waveform->Wait();
    return waveform;
}

// The file's loudness in one pass of one meter over its whole decode.
media::Loudness OnePass(media::Waveform& waveform) {
    const std::uint64_t length = waveform.Length();
    const std::vector<std::int16_t> pcm = waveform.Samples(0, static_cast<std::size_t>(length));
    constexpr std::size_t kBlock = media::Waveform::kBlockSamples;
    media::LoudnessMeter meter(waveform.SampleRate(), waveform.Channels(), kBlock);
    std::vector<media::LoudnessBlock> blocks((length + kBlock - 1) / kBlock);
    meter.Measure(pcm.data(), pcm.size() / static_cast<std::size_t>(waveform.Channels()), blocks.data());
    return media::LoudnessOf(blocks.data(), length, kBlock, waveform.SampleRate(), 0, length);
}

}  // namespace

TEST(Loudness, IntegratedAndTruePeakAsFfmpegMeasuresThem) {
    const auto references = References();
    struct Case {
        const char* name;
        int rate, channels;
    } cases[] = {
        {"tone_44k_stereo.mp3", 44100, 2}, {"tone_48k_mono.mp3", 48000, 1},  {"tone_32k_stereo.mp3", 32000, 2},
        {"tone_22k_mono.mp3", 22050, 1},   {"tone_8k_mono.mp3", 8000, 1},    {"pink_44k_stereo.mp3", 44100, 2},
        {"pink_48k_mono.mp3", 48000, 1},   {"pink_22k_stereo.mp3", 22050, 2}, {"halves_44k_stereo.mp3", 44100, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(references.count(c.name), 1u);
        const auto waveform = Measured(c.name);
        ASSERT_EQ(waveform->SampleRate(), c.rate);
        ASSERT_EQ(waveform->Channels(), c.channels);
        const media::Loudness loudness = waveform->LoudnessOf(0, waveform->Length());
        ASSERT_TRUE(loudness.measured);
        EXPECT_NEAR(loudness.integrated, references.at(c.name).integrated, 0.1);
        EXPECT_NEAR(loudness.truePeak, references.at(c.name).truePeak, 0.2);
        EXPECT_GE(loudness.truePeak, loudness.samplePeak);
    }
}

TEST(Loudness, TheQuietHalfFallsUnderTheRelativeGate) {
    const auto waveform = Measured("halves_44k_stereo.mp3");
    const std::uint64_t half = 10 * 44100;
    const media::Loudness whole = waveform->LoudnessOf(0, waveform->Length());
    const media::Loudness loud = waveform->LoudnessOf(0, half);
    // (A second after the fall: the blocks across it are as loud as a quarter of the loud half.)
    const media::Loudness quiet = waveform->LoudnessOf(half + 44100, waveform->Length());
    ASSERT_TRUE(whole.measured && loud.measured && quiet.measured);
    // Averaged without the gate, the quiet half would pull the whole 3 dB down.
    EXPECT_NEAR(whole.integrated, loud.integrated, 0.15);
    EXPECT_NEAR(quiet.integrated, loud.integrated - 35, 1.0);
    // The fall from loud to quiet gives a range (ffmpeg: 4.8 LU); a steady tone has none.
    EXPECT_NEAR(whole.range, 4.8, 1.0);
    EXPECT_LT(Measured("tone_44k_stereo.mp3")->LoudnessOf(0, 8 * 44100).range, 0.5);
}

// The 44.1 kHz stereo files are cut into two parts (at 13.8 s, where the codec's state
// repeats), which the two workers measure at once.
TEST(Loudness, TheTwoWorkersGiveWhatOnePassGives) {
    for (const char* name : {"pink_44k_stereo.mp3", "halves_44k_stereo.mp3", "tone_44k_stereo.mp3", "tone_8k_mono.mp3"}) {
        SCOPED_TRACE(name);
        const auto waveform = Measured(name);
        const media::Loudness parts = waveform->LoudnessOf(0, waveform->Length());
        const media::Loudness whole = OnePass(*waveform);
        ASSERT_TRUE(parts.measured && whole.measured);
        EXPECT_NEAR(parts.integrated, whole.integrated, 1e-6);
        EXPECT_NEAR(parts.range, whole.range, 1e-6);
        EXPECT_NEAR(parts.truePeak, whole.truePeak, 1e-6);
    }
}

TEST(Loudness, TooShortOrTooQuietIsNotMeasured) {
    struct Case {
        const char* name;
        double from, to;  // seconds; to past the end: the whole file
    } cases[] = {
        {"silence.mp3", 0, 99},           // under the absolute gate
        {"short.mp3", 0, 99},             // shorter than one 400 ms block
        {"tone_44k_stereo.mp3", 2, 2.39},  // a selection shorter than one block
        {"halves_44k_stereo.mp3", 5, 5},   // nothing selected
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto waveform = Measured(c.name);
        const double rate = waveform->SampleRate();
        EXPECT_FALSE(waveform->LoudnessOf(static_cast<std::uint64_t>(c.from * rate), static_cast<std::uint64_t>(c.to * rate)).measured);
    }
    // Just long enough is.
    const auto tone = Measured("tone_44k_stereo.mp3");
    EXPECT_TRUE(tone->LoudnessOf(2 * 44100, 2 * 44100 + 17640).measured);
}

// A block's true peak is the largest of its smaller blocks' whatever the block size,
// also where blocks end inside one of the interpolation's stretches of 16 samples (80
// ends with one; the smaller sizes mostly do not).
TEST(Loudness, TruePeaksDoNotDependOnTheBlockSize) {
    constexpr std::size_t kLarge = 80;
    for (const char* name : {"pink_44k_stereo.mp3", "tone_8k_mono.mp3"}) {
        const auto waveform = Measured(name);
        const std::size_t channels = static_cast<std::size_t>(waveform->Channels());
        const std::vector<std::int16_t> pcm = waveform->Samples(0, 20 * kLarge);
        const std::size_t count = pcm.size() / channels;
        const auto peaks = [&](std::size_t block) {
            media::LoudnessMeter meter(waveform->SampleRate(), waveform->Channels(), block);
            std::vector<media::LoudnessBlock> blocks((count + block - 1) / block);
            meter.Measure(pcm.data(), count, blocks.data());
            return blocks;
        };
        const auto large = peaks(kLarge);
        for (std::size_t small : {8, 10, 40}) {
            SCOPED_TRACE(std::string(name) + ", blocks of " + std::to_string(small));
            const auto blocks = peaks(small);
            for (std::size_t b = 0; b < large.size(); ++b) {
                float largest = 0;
                for (std::size_t s = b * kLarge / small; s < (b + 1) * kLarge / small; ++s) largest = std::max(largest, blocks[s].truePeak);
                EXPECT_EQ(largest, large[b].truePeak) << "block " << b;
            }
        }
    }
}
