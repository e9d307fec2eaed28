// Recordings with parts taken out and files joined, written with only the
// frames at each seam encoded again (by the program's ffmpeg.exe), decoded by
// the host's ffmpeg and mpg123 and held against the sources' decodes and the
// audio the sources were made from.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <set>

#include "support/WindowTesting.h"
#include "SaveFixtures.h"
#include "app/ProgramEncoder.h"
#include "media/FrameGrid.h"
#include "media/GranuleGains.h"
#include "media/MediaError.h"
#include "media/MediaFile.h"
#include "media/Mp3Reader.h"
#include "media/Mp3Stream.h"
#include "media/SeamWriter.h"

namespace {

using media::Recording;
using media::SampleRange;
using save_tests::ReadAll;
using save_tests::ScratchFolder;

constexpr std::uint64_t kGranule = 576;
// A decoder's synthesis filter remembers the last 512 samples it gave out, so a
// granule that differs shows in that many samples after it too.
constexpr std::uint64_t kSynthesisMemory = 512;
// mpg123 rounds its output another way.
constexpr int kRoundingSteps = 1;
// Our player's codec, seeking, against itself from the start.
constexpr int kCodecRounding = 4;
// At most this much more error at a seam than the source's own coding has there.
constexpr double kMaxExtraErrorDb = 3;
// MPEG-2 and 2.5 seams do not meet that yet: where the new frames meet the
// copied ones the error is up to 12.5 dB above the source's (a granule each).
constexpr double kLowSampleRateExtraErrorDb = 13;
// Nor do seams whose new frames begin the file: 4 dB above the source's at
// 44.1 kHz, 16.6 dB at 22.05 kHz.
constexpr double kFromStartExtraErrorDb = 4.5;
constexpr double kLowSampleRateFromStartExtraErrorDb = 17;

std::wstring Source(const std::wstring& name) { return testing_support::FixturePath(L"seams\\" + name); }

std::shared_ptr<const media::Mp3Index> IndexOf(const std::wstring& path) {
    return std::make_shared<const media::Mp3Index>(save_tests::ReadIndex(path));
}


struct Case {
    const char* what;
    const wchar_t* source;
    const wchar_t* joined;                 // a file joined at the end, or none
    std::vector<std::pair<double, double>> removed;  // seconds of the recording as it is then (a start below 0: before its end)
    double extraErrorDb = kMaxExtraErrorDb;
};

const Case kCases[] = {
    {"tones, CBR, one part out", L"tones-cbr.mp3", nullptr, {{1.0123, 0.7}}},
    {"noise, VBR, three parts out", L"noise-vbr.mp3", nullptr, {{0.5, 0.3}, {1.2345, 0.25}, {2.2, 0.4011}}},
    {"speech, mono, one part out", L"speech-mono.mp3", nullptr, {{1.6, 0.5}}},
    {"chord sweep, MPEG-2, three parts out", L"sweep-mpeg2.mp3", nullptr, {{0.6, 0.2}, {1.5, 0.33}, {2.5, 0.25}}, kLowSampleRateExtraErrorDb},
    {"tones, MPEG-2.5, one part out", L"tones-mpeg25.mp3", nullptr, {{1.3, 0.8}}, kLowSampleRateExtraErrorDb},
    {"tones, CRC, three parts out", L"tones-crc.mp3", nullptr, {{0.4, 0.3}, {1.3, 0.4}, {2.1, 0.2}}},
    {"128 and 192 kbit/s joined", L"tones-cbr.mp3", L"noise-192.mp3", {}},
    {"tones, CBR, a part out 5 ms after the start", L"tones-cbr.mp3", nullptr, {{0.005, 0.5}}, kFromStartExtraErrorDb},
    {"noise, VBR, a part out up to 10 ms before the end", L"noise-vbr.mp3", nullptr, {{-0.51, 0.5}}},
    {"speech, mono, parts out at both ends", L"speech-mono.mp3", nullptr, {{-0.32, 0.3}, {0.02, 0.4}}},
    {"chord sweep, MPEG-2, parts out at both ends", L"sweep-mpeg2.mp3", nullptr, {{-0.415, 0.4}, {0.01, 0.3}}, kLowSampleRateFromStartExtraErrorDb},
};

struct Written {
    const Case* c;
    std::wstring file;
    media::WrittenRecording result;
    std::vector<std::int16_t> intended;  // the sources' host decodes over the parts
    std::vector<std::int16_t> original;  // the audio the sources were made from, over the parts
    std::vector<std::int16_t> sourceMpg123;
    int channels = 0;
};

// The samples of every part, from each part's source's file of samples.
std::vector<std::int16_t> Over(const media::WrittenRecording& written, const std::wstring& suffix, int channels) {
    std::vector<std::int16_t> all;
    for (const media::RecordingPart& part : written.parts) {
        const auto pcm = save_tests::ReadPcm(part.source + suffix);
        const std::size_t from = std::min(pcm.size(), static_cast<std::size_t>(part.samples.first * channels));
        const std::size_t to = std::min(pcm.size(), static_cast<std::size_t>(part.samples.end * channels));
        all.insert(all.end(), pcm.begin() + static_cast<std::ptrdiff_t>(from), pcm.begin() + static_cast<std::ptrdiff_t>(to));
    }
    return all;
}

double ErrorEnergy(const std::vector<std::int16_t>& a, const std::vector<std::int16_t>& b, std::size_t from, std::size_t to) {
    double sum = 0;
    for (std::size_t i = from; i < std::min({to, a.size(), b.size()}); ++i) sum += std::pow(double(a[i]) - b[i], 2);
    return sum;
}

class SeamWriter : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new ScratchFolder(L"seams");
        // The host decodes each source once, beside its copy here.
        std::string script = "cd '" + save_tests::HostPath(folder_->Path()) + "' && for f in " +
                             save_tests::HostPath(Source(L"")) + "*.mp3; do b=$(basename \"$f\"); "
                             "ffmpeg -v error -nostdin -i \"$f\" -f s16le -c:a pcm_s16le \"$b.ffmpeg.s16\" || echo failed; "
                             "mpg123 -q -s \"$f\" > \"$b.mpg123.s16\" || echo failed; cp \"$f.wav.s16\" \"$b.wav.s16\"; done; echo decoded";
        const std::string report = save_tests::RunOnHost(script);
        if (report != "decoded\n") ADD_FAILURE() << report;
    }
    static void TearDownTestSuite() {
        delete folder_;
        folder_ = nullptr;
    }

    static ScratchFolder* folder_;
};

ScratchFolder* SeamWriter::folder_ = nullptr;

TEST_F(SeamWriter, EverySeamDecodesAsTheIntendedAudioAndEveryOtherFrameIsTheSources) {
    const std::atomic<bool> never{false};
    app::ProgramEncoder encoder(never);
    std::vector<Written> written;
    int number = 0;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        Recording recording(Source(c.source), IndexOf(Source(c.source)));
        if (c.joined) recording.Join(Source(c.joined), IndexOf(Source(c.joined)));
        const double rate = recording.Format().sampleRate;
        for (auto [start, length] : c.removed)
            recording.Remove(media::SelectionSamples(start < 0 ? static_cast<double>(recording.Length()) / rate + start : start,
                                                     length, static_cast<int>(rate)));
        const std::uint64_t asked = recording.Length();
        Written w{&c, *folder_ / (L"written" + std::to_wstring(++number) + L".mp3"), {}, {}, {}, {}, recording.Format().channels};
        const int runs = encoder.Runs();
        std::atomic<bool> stop{false};
        std::optional<media::WrittenRecording> result;
        try {
            result = media::WriteRecording(recording, w.file, encoder, {}, stop);
        } catch (const media::MediaError& error) {
            ADD_FAILURE() << testing::PrintToString(error.Reason());
            continue;
        }
        ASSERT_TRUE(result);
        w.result = *result;
        EXPECT_EQ(encoder.Runs(), runs + 1) << "one encoder run for all seams";
        ASSERT_EQ(w.result.seams.size(), recording.Parts().size() - 1);
        std::int64_t moved = 0;
        for (const media::WrittenSeam& seam : w.result.seams) {
            EXPECT_LE(std::llabs(seam.moved), recording.Format().SamplesPerFrame() / 2 + (c.joined ? recording.Format().SamplesPerFrame() / 2 : 0));
            moved += seam.moved;
        }
        EXPECT_EQ(static_cast<std::int64_t>(w.result.length), static_cast<std::int64_t>(asked) - moved);
        written.push_back(std::move(w));
    }

    ASSERT_EQ(save_tests::RunOnHost("cd '" + save_tests::HostPath(folder_->Path()) +
                                    "' && for f in written*.mp3; do "
                                    "ffmpeg -v error -nostdin -i \"$f\" -f s16le -c:a pcm_s16le \"$f.ffmpeg.s16\" || echo failed; "
                                    "mpg123 -q -s \"$f\" > \"$f.mpg123.s16\" || echo failed; done; echo decoded"),
              "decoded\n");

    for (Written& w : written) {
        SCOPED_TRACE(w.c->what);
        const auto channels = static_cast<std::size_t>(w.channels);
        // The sources' files of samples, by the copies' names in the scratch folder.
        media::WrittenRecording inFolder = w.result;
        for (media::RecordingPart& part : inFolder.parts)
            part.source = *folder_ / part.source.substr(part.source.find_last_of(L'\\') + 1);
        const auto intended = Over(inFolder, L".ffmpeg.s16", w.channels);
        const auto intendedMpg123 = Over(inFolder, L".mpg123.s16", w.channels);
        const auto original = Over(inFolder, L".wav.s16", w.channels);
        const auto ffmpeg = save_tests::ReadPcm(w.file + L".ffmpeg.s16");
        const auto mpg123 = save_tests::ReadPcm(w.file + L".mpg123.s16");
        ASSERT_EQ(ffmpeg.size(), w.result.length * channels) << "the length is exact";
        ASSERT_EQ(intended.size(), ffmpeg.size());

        // Samples nearSeam a seam: its new frames and a granule either side.
        std::vector<bool> nearSeam(w.result.length, false);
        for (const media::WrittenSeam& seam : w.result.seams) {
            EXPECT_LT(seam.encoded.first, seam.encoded.end);
            for (std::uint64_t i = seam.encoded.first >= kGranule ? seam.encoded.first - kGranule : 0;
                 i < std::min(w.result.length, seam.encoded.end + kGranule + kSynthesisMemory); ++i)
                nearSeam[i] = true;
        }
        std::size_t differing = 0, differingMpg123 = 0;
        for (std::size_t i = 0; i < ffmpeg.size(); ++i) {
            if (nearSeam[i / channels]) continue;
            differing += ffmpeg[i] != intended[i];
            if (i < mpg123.size() && i < intendedMpg123.size())
                differingMpg123 += std::abs(mpg123[i] - intendedMpg123[i]) > kRoundingSteps;
        }
        EXPECT_EQ(differing, 0u) << "ffmpeg: samples away from the seams as the sources decode";
        EXPECT_EQ(differingMpg123, 0u) << "mpg123: samples away from the seams as the sources decode";

        // At each seam, no more error against the original audio than the sources' own coding has there, + 3 dB.
        for (const media::WrittenSeam& seam : w.result.seams) {
            const std::size_t from = static_cast<std::size_t>((seam.encoded.first >= kGranule ? seam.encoded.first - kGranule : 0) * channels);
            const std::size_t to = static_cast<std::size_t>(std::min(w.result.length, seam.encoded.end + kGranule + kSynthesisMemory) * channels);
            // A step of rounding a sample is no click, also where the source is silent.
            const double rounding = static_cast<double>(to - from);
            const double own = ErrorEnergy(intended, original, from, to);
            const double ours = ErrorEnergy(ffmpeg, original, from, to);
            EXPECT_LE(10 * std::log10((ours + rounding) / (own + rounding)), w.c->extraErrorDb) << "seam at " << seam.position;
        }

        // Every frame but the new ones (and a silent one that may start the file) is a source's, byte for byte.
        std::set<std::string> sourceFrames;
        for (const media::RecordingPart& part : w.result.parts) {
            const std::string bytes = ReadAll(part.source);
            for (std::uint64_t offset : part.index->frameOffsets) {
                const auto header = media::FrameHeader::Parse(reinterpret_cast<const std::uint8_t*>(bytes.data() + offset));
                sourceFrames.insert(bytes.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(header->frameSize)));
            }
        }
        const auto index = save_tests::ReadIndex(w.file);
        std::string bytes = ReadAll(w.file);
        std::uint64_t foreign = 0;
        for (std::uint64_t offset : index.frameOffsets) {
            auto* frame = reinterpret_cast<std::uint8_t*>(bytes.data() + offset);
            const auto header = media::FrameHeader::Parse(frame);
            ASSERT_TRUE(header);
            foreign += sourceFrames.count(bytes.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(header->frameSize))) == 0;
            EXPECT_TRUE(media::GranuleGains(frame, *header).CrcHolds()) << "frame at " << offset;
        }
        EXPECT_LE(foreign, w.result.encodedFrames + 1);
        EXPECT_GE(foreign, w.result.encodedFrames);

        // Our own player, seeking, gives what it gives reading from the start.
        media::Mp3Stream whole(w.file);
        std::vector<std::int16_t> all(w.result.length * channels);
        ASSERT_EQ(whole.Read(all.data(), w.result.length), w.result.length);
        for (std::uint64_t at : {w.result.length / 5, w.result.length / 2 + 333, w.result.length * 4 / 5}) {
            media::Mp3Stream stream(w.file);
            stream.Seek(at);
            std::vector<std::int16_t> some(4096 * channels);
            const std::size_t got = stream.Read(some.data(), 4096);
            int largest = 0;
            for (std::size_t i = 0; i < got * channels; ++i)
                largest = std::max(largest, std::abs(some[i] - all[static_cast<std::size_t>(at * channels) + i]));
            EXPECT_LE(largest, kCodecRounding) << "seek to " << at;
        }
    }
}

}  // namespace

namespace {

// The user gives the save up once the encoder has begun.
class GivenUpDuringEncoding : public app::ProgramEncoder {
public:
    explicit GivenUpDuringEncoding(std::atomic<bool>& stop) : ProgramEncoder(stop), stop_(stop) {}
    void Encode(const std::wstring& pcm, const media::FrameHeader& format, const std::vector<Output>& outputs) override {
        stop_ = true;
        ProgramEncoder::Encode(pcm, format, outputs);
    }

private:
    std::atomic<bool>& stop_;
};

TEST(SeamWriterEnds, AMissingEncoderOrAGivenUpSaveLeavesNoFileBehind) {
    struct Case {
        const char* what;
        bool missingEncoder;
        const wchar_t* said;  // the start of the message, or none where nothing is written and nothing said
    } const cases[] = {
        {"the encoder is missing", true, L"The encoder ffmpeg.exe could not be started: "},
        {"the save is given up while the encoder runs", false, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder(L"seam-ends");
        Recording recording(Source(L"tones-cbr.mp3"), IndexOf(Source(L"tones-cbr.mp3")));
        recording.Remove({30000, 50000});
        std::atomic<bool> stop{false};
        app::ProgramEncoder missing(stop, folder / L"ffmpeg.exe");
        GivenUpDuringEncoding givingUp(stop);
        media::SeamEncoder& encoder = c.missingEncoder ? static_cast<media::SeamEncoder&>(missing) : givingUp;
        try {
            EXPECT_FALSE(media::WriteRecording(recording, folder / L"written.mp3", encoder, {}, stop));
            EXPECT_EQ(c.said, nullptr);
        } catch (const media::MediaError& error) {
            ASSERT_NE(c.said, nullptr) << testing::PrintToString(error.Reason());
            EXPECT_EQ(error.Reason().rfind(c.said, 0), 0u) << testing::PrintToString(error.Reason());
        }
        EXPECT_TRUE(folder.Files().empty()) << testing::PrintToString(folder.Files());
    }
}

}  // namespace

namespace {

// The mean square of the decoded samples `range` of a file, by our own player's decoder.
double MeanSquareOf(const std::wstring& path, SampleRange range) {
    media::Mp3Stream stream(path);
    const auto channels = static_cast<std::size_t>(stream.Channels());
    std::vector<std::int16_t> samples(static_cast<std::size_t>(range.end - range.first) * channels);
    stream.Seek(range.first);
    samples.resize(stream.Read(samples.data(), static_cast<std::size_t>(range.end - range.first)) * channels);
    double sum = 0;
    for (std::int16_t sample : samples) sum += double(sample) * sample;
    return sum / static_cast<double>(std::max<std::size_t>(samples.size(), 1));
}

TEST(SeamWriterLevel, EveryFrameNewOrCopiedHasTheLevelInItsGainsAndNothingElseChanges) {
    struct Case {
        const char* what;
        const wchar_t* source;
        std::vector<SampleRange> removed;
        int steps;
    } const cases[] = {
        {"CBR, one part out, 3 dB down", L"tones-cbr.mp3", {{44100, 70000}}, -2},
        {"CRC, three parts out, 3 dB up", L"tones-crc.mp3", {{100000, 110000}, {50000, 60000}, {20000, 30000}}, 2},
        {"MPEG-2, one part out, 6 dB down", L"sweep-mpeg2.mp3", {{30000, 40000}}, -4},
    };
    const std::atomic<bool> never{false};
    app::ProgramEncoder encoder(never);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder(L"seam-level");
        Recording recording(Source(c.source), IndexOf(Source(c.source)));
        for (SampleRange range : c.removed) recording.Remove(range);
        const std::wstring plain = folder / L"plain.mp3", levelled = folder / L"levelled.mp3";
        ASSERT_TRUE(media::WriteRecording(recording, plain, encoder, {}, never));
        media::LevelChange level;
        level.steps = c.steps;
        const auto written = media::WriteRecording(recording, levelled, encoder, level, never);
        ASSERT_TRUE(written);
        EXPECT_EQ(written->gains.heldAtTop + written->gains.framesLeft, 0u);

        // Frame by frame, the levelled file is the plain one with every sounding granule's gains moved by the steps.
        const auto plainIndex = save_tests::ReadIndex(plain), levelledIndex = save_tests::ReadIndex(levelled);
        ASSERT_EQ(levelledIndex.frameOffsets.size(), plainIndex.frameOffsets.size());
        std::string plainBytes = ReadAll(plain), levelledBytes = ReadAll(levelled);
        std::uint64_t moved = 0, sounding = 0;
        for (std::size_t k = 0; k < plainIndex.frameOffsets.size(); ++k) {
            auto* p = reinterpret_cast<std::uint8_t*>(plainBytes.data() + plainIndex.frameOffsets[k]);
            auto* l = reinterpret_cast<std::uint8_t*>(levelledBytes.data() + levelledIndex.frameOffsets[k]);
            const auto header = media::FrameHeader::Parse(p);
            ASSERT_TRUE(header);
            media::GranuleGains plainGains(p, *header), levelledGains(l, *header);
            EXPECT_TRUE(levelledGains.CrcHolds()) << "frame " << k;
            for (int g = 0; g < plainGains.Granules(); ++g)
                for (int ch = 0; ch < plainGains.Channels(); ++ch) {
                    sounding += plainGains.Sound();
                    moved += levelledGains.Gain(g, ch) - plainGains.Gain(g, ch) == c.steps;
                    levelledGains.SetGain(g, ch, plainGains.Gain(g, ch));
                }
            levelledGains.UpdateCrc();
            EXPECT_EQ(std::memcmp(p, l, static_cast<std::size_t>(header->frameSize)), 0) << "frame " << k << " beside its gains";
        }
        EXPECT_EQ(moved, sounding);

        // And it sounds so, at the seams too.
        for (const media::WrittenSeam& seam : written->seams) {
            const double db = 10 * std::log10(MeanSquareOf(levelled, seam.encoded) / MeanSquareOf(plain, seam.encoded));
            EXPECT_NEAR(db, c.steps * 6.0206 / 4, 0.2) << "seam at " << seam.position;
        }
    }
}

}  // namespace

namespace {

TEST(SeamWriterDamage, DamagedFramesNearASeamAreEncodedAgainFromTheirDecodedAudio) {
    // One part taken out of the CBR tones; a frame header broken near its seam.
    constexpr SampleRange kRemoved{44100, 70000};
    struct Case {
        const char* what;
        bool beforeSeam;  // counted back from the removal's start, otherwise on from its end
        int frames;
    } const cases[] = {
        {"the first frame that would be copied after the seam", false, 3},
        {"a few frames after the seam", false, 6},
        {"two frames before the seam", true, 2},
        {"the last frame that would be copied before the seam", true, 1},
    };
    const std::atomic<bool> never{false};
    app::ProgramEncoder encoder(never);
    const auto sound = save_tests::ReadIndex(Source(L"tones-cbr.mp3"));
    const media::FrameGrid grid = media::FrameGrid::Of(sound);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder(L"seam-damage");
        std::string bytes = ReadAll(Source(L"tones-cbr.mp3"));
        const std::uint64_t frame = c.beforeSeam ? grid.FrameOf(kRemoved.first) - static_cast<std::uint64_t>(c.frames)
                                                 : grid.FrameOf(kRemoved.end) + static_cast<std::uint64_t>(c.frames);
        bytes[static_cast<std::size_t>(sound.frameOffsets[frame])] = 0;  // no sync: the frame is lost
        const std::wstring damaged = folder / L"damaged.mp3", written = folder / L"written.mp3";
        save_tests::WriteAll(damaged, bytes);
        Recording recording(damaged, IndexOf(damaged));
        recording.Remove(kRemoved);
        std::optional<media::WrittenRecording> result;
        try {
            result = media::WriteRecording(recording, written, encoder, {}, never);
        } catch (const media::MediaError& error) {
            ADD_FAILURE() << testing::PrintToString(error.Reason());
            continue;
        }
        ASSERT_TRUE(result);
        ASSERT_EQ(result->seams.size(), 1u);
        EXPECT_EQ(static_cast<std::int64_t>(result->length),
                  static_cast<std::int64_t>(recording.Length()) - result->seams.front().moved);

        // A file whose every frame is whole: the source's or new, each checked, and the host's decoder finds no fault.
        std::set<std::string> sourceFrames;
        const auto index = IndexOf(damaged);
        for (std::uint64_t offset : index->frameOffsets) {
            const auto header = media::FrameHeader::Parse(reinterpret_cast<const std::uint8_t*>(bytes.data() + offset));
            sourceFrames.insert(bytes.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(header->frameSize)));
        }
        const std::string out = ReadAll(written);
        const auto outIndex = save_tests::ReadIndex(written);
        std::uint64_t foreign = 0;
        for (std::size_t k = 0; k + 1 < outIndex.frameOffsets.size(); ++k) {
            const auto header = media::FrameHeader::Parse(reinterpret_cast<const std::uint8_t*>(out.data() + outIndex.frameOffsets[k]));
            ASSERT_TRUE(header);
            EXPECT_EQ(outIndex.frameOffsets[k] + header->frameSize, outIndex.frameOffsets[k + 1]) << "frame " << k;
            foreign += sourceFrames.count(out.substr(static_cast<std::size_t>(outIndex.frameOffsets[k]), static_cast<std::size_t>(header->frameSize))) == 0;
        }
        EXPECT_LE(foreign, result->encodedFrames + 1);
        EXPECT_EQ(save_tests::RunOnHost("ffmpeg -v error -nostdin -i '" + save_tests::HostPath(written) + "' -f null - 2>&1; echo decoded"),
                  "decoded\n");
    }
}

}  // namespace
