// Cuts saved through the program's save path (output window, encoder, the
// finishing step, the check, the move) from sources of every kind, decoded by
// the host's ffmpeg and mpg123 and held against their decodes of the source.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cmath>
#include <cstring>

#include "SaveFixtures.h"
#include "app/Form1.h"
#include "app/SaveSelection.h"
#include "app/TimeText.h"
#include "media/FrameHeader.h"
#include "media/GranuleGains.h"
#include "media/MediaFile.h"
#include "media/Mp3Reader.h"
#include "support/DialogWatcher.h"
#include "support/WindowTesting.h"

namespace {

using save_tests::ReadAll;
using save_tests::ScratchFolder;

using save_tests::ReadIndex;
std::wstring Source(const std::wstring& name) { return save_tests::ExactSource(name); }


enum class Span {
    FromTheStart,
    ToTheEnd,
    InTheMiddle,
    OnFrameEdges,
    ShortAcrossAnEdge,  // shorter than a frame, over the edge between two
    ShortInsideAFrame,  // shorter than a frame, inside one
};

struct Cut {
    std::wstring source;
    Span span;
    std::uint64_t first = 0;
    std::uint64_t end = 0;
    std::wstring file;
};

const wchar_t* const kSources[] = {L"cbr-cover.mp3",    L"vbr-stereo.mp3", L"vbr-mono.mp3",    L"cbr-nolame.mp3",
                                   L"mpeg2-stereo.mp3", L"mpeg2-mono.mp3", L"mpeg25-mono.mp3", L"mpeg25-stereo.mp3"};
const Span kSpans[] = {Span::FromTheStart, Span::ToTheEnd,          Span::InTheMiddle,
                       Span::OnFrameEdges, Span::ShortAcrossAnEdge, Span::ShortInsideAFrame};

// Where the selection of `span` lies in a source: in its time line, where the
// decoder's output of a frame starts at a frame's samples less the encoder's and
// the decoder's delay.
Cut Place(const std::wstring& source, Span span) {
    const media::Mp3Index index = ReadIndex(Source(source));
    const std::uint64_t length = index.PlayableSampleCount();
    const std::uint64_t spf = index.format.SamplesPerFrame();
    const std::uint64_t rate = index.format.sampleRate;
    const std::uint64_t lead = index.encoderDelay + media::FrameHeader::kDecoderDelay;
    const std::uint64_t edge = (length / 2 / spf) * spf - lead;  // a frame's edge near the middle
    Cut cut{source, span, 0, 0, {}};
    switch (span) {
    case Span::FromTheStart:
        cut.first = 0, cut.end = rate * 7 / 10;
        break;
    case Span::ToTheEnd:
        cut.first = length - rate * 9 / 10, cut.end = length;
        break;
    case Span::InTheMiddle:
        cut.first = length * 3 / 10 + 123, cut.end = cut.first + rate * 8 / 10 + 7;
        break;
    case Span::OnFrameEdges:
        cut.first = edge - 3 * spf, cut.end = edge + 2 * spf;
        break;
    case Span::ShortAcrossAnEdge:
        cut.first = edge - spf / 3, cut.end = edge + spf / 2;
        break;
    case Span::ShortInsideAFrame:
        cut.first = edge + spf / 4, cut.end = edge + spf / 2;
        break;
    }
    return cut;
}

class ExactSave : public ::testing::Test {
protected:
    // Saves the cut as the "Save Selection" command does once it has the new file's name,
    // with the labels holding the selection as Set Start and Set End write it.
    void Save(const std::wstring& input, const Cut& cut, const std::wstring& target) {
        const double rate = ReadIndex(input).format.sampleRate;
        if (form.Text1().Text() != input) {
            ASSERT_TRUE(form.player().SetURL(input));
            form.Text1().SetText(input);
        }
        form.player().Pause();
        const std::wstring start = app::FormatSeconds(cut.first / rate);
        const std::wstring end = app::FormatSeconds(cut.end / rate);
        form.Label(5).SetCaption(start);
        form.Label(7).SetCaption(end);
        form.Label(9).SetCaption(app::FormatSeconds(app::ParseSeconds(end) - app::ParseSeconds(start)));
        const std::size_t before = watcher.Seen().size();
        app::SaveSelectionAs(form, target);
        const auto boxes = watcher.Seen();
        ASSERT_EQ(boxes.size(), before + 1);
        EXPECT_EQ(boxes.back().text, L"MP3 has been cut!") << boxes.back().text;
    }

    // Decodes every cut in the folder with the host's ffmpeg and mpg123, beside each cut.
    void DecodeOnHost(const ScratchFolder& folder) {
        const std::string report = save_tests::RunOnHost(
            "cd '" + save_tests::HostPath(folder.Path()) +
            "' && for f in *.mp3; do "
            "ffmpeg -v error -nostdin -i \"$f\" -f s16le -c:a pcm_s16le \"$f.ffmpeg.s16\" || echo failed; "
            "mpg123 -q -s \"$f\" > \"$f.mpg123.s16\" || echo failed; done; echo decoded");
        ASSERT_EQ(report, "decoded\n");
    }

    app::Form1 form;
    testing_support::DialogWatcher watcher;
};

// The source's samples [first, end) as a host decoder gives them. Without a LAME
// tag the decoders start at the decoder's own output, where our time line leaves its delay out.
std::vector<std::int16_t> SourceSamples(const std::wstring& source, const char* decoder, std::uint64_t first,
                                        std::uint64_t end) {
    const media::Mp3Index index = ReadIndex(Source(source));
    const std::uint64_t shift = index.infoFrame ? 0 : media::FrameHeader::kDecoderDelay;
    const auto pcm = save_tests::ReadPcm(Source(source) + L"." + std::wstring(decoder, decoder + std::strlen(decoder)) + L".s16");
    const std::size_t channels = static_cast<std::size_t>(index.format.channels);
    const std::size_t from = std::min(pcm.size(), static_cast<std::size_t>((first + shift) * channels));
    const std::size_t to = std::min(pcm.size(), static_cast<std::size_t>((end + shift) * channels));
    return {pcm.begin() + static_cast<std::ptrdiff_t>(from), pcm.begin() + static_cast<std::ptrdiff_t>(to)};
}

int LargestDifference(const std::vector<std::int16_t>& a, const std::vector<std::int16_t>& b) {
    int largest = 0;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) largest = std::max(largest, std::abs(a[i] - b[i]));
    return largest;
}

double Rms(const std::int16_t* samples, std::size_t count) {
    double sum = 0;
    for (std::size_t i = 0; i < count; ++i) sum += static_cast<double>(samples[i]) * samples[i];
    return std::sqrt(sum / static_cast<double>(std::max<std::size_t>(count, 1)));
}

// The level of a decode against the source's over 10 ms windows, in dB, window by window.
std::vector<double> WindowLevels(const std::vector<std::int16_t>& decoded, const std::vector<std::int16_t>& source,
                                 std::size_t window) {
    std::vector<double> levels;
    for (std::size_t at = 0; at + window <= std::min(decoded.size(), source.size()); at += window)
        levels.push_back(20 * std::log10(std::max(Rms(decoded.data() + at, window), 0.1) / Rms(source.data() + at, window)));
    return levels;
}

// A decode of a cut faded in and out, with a rise of `change.steps`, against the
// source's: quieter at its edges, never louder than the rise, and at the rise
// between the fades, beyond the granules they changed.
void ExpectFaded(const std::vector<std::int16_t>& decoded, const std::vector<std::int16_t>& source,
                 const media::LevelChange& change, int rate, std::size_t channels) {
    const std::size_t window = static_cast<std::size_t>(rate / 100) * channels;
    const std::vector<double> levels = WindowLevels(decoded, source, window);
    ASSERT_GT(levels.size(), 10u);
    const double rise = change.steps * media::LevelChange::kStepDb;
    EXPECT_LT(levels.front(), rise - 3);
    EXPECT_LT(levels.back(), rise - 3);
    // The windows a fade reaches, through the granules it changed.
    const auto reach = [&](double fade) { return static_cast<std::size_t>((fade * rate + 1152) * channels / window) + 1; };
    int between = 0;
    for (std::size_t k = 0; k < levels.size(); ++k) {
        EXPECT_LE(levels[k], rise + 1) << k;
        if (k >= reach(change.fadeIn) && k + reach(change.fadeOut) < levels.size()) {
            EXPECT_NEAR(levels[k], rise, 0.5) << k;
            ++between;
        }
    }
    EXPECT_GT(between, 0);
}

std::string Describe(const Cut& cut) {
    return std::string(cut.source.begin(), cut.source.end()) + " [" + std::to_string(cut.first) + ", " +
           std::to_string(cut.end) + ")";
}

}  // namespace

TEST_F(ExactSave, EveryCutPlaysExactlyTheSelectedSamplesInFfmpegAndMpg123) {
    ScratchFolder folder(L"exact");
    std::vector<Cut> cuts;
    for (const wchar_t* source : kSources)
        for (Span span : kSpans) {
            Cut cut = Place(source, span);
            cut.file = folder / (L"cut" + std::to_wstring(cuts.size()) + L".mp3");
            Save(Source(source), cut, cut.file);
            cuts.push_back(cut);
        }
    ASSERT_GE(cuts.size(), 40u);
    DecodeOnHost(folder);

    for (const Cut& cut : cuts) {
        SCOPED_TRACE(Describe(cut));
        const std::uint64_t length = cut.end - cut.first;
        const std::size_t channels = static_cast<std::size_t>(ReadIndex(Source(cut.source)).format.channels);
        EXPECT_EQ(ReadIndex(cut.file).PlayableSampleCount(), length);  // our own reader

        const auto mpg123 = save_tests::ReadPcm(cut.file + L".mpg123.s16");
        EXPECT_EQ(mpg123.size(), length * channels);
        // Its sums round by where a frame stands in a cycle of the decoder's own, so one step may differ.
        EXPECT_LE(LargestDifference(mpg123, SourceSamples(cut.source, "mpg123", cut.first, cut.end)), 1);

        const auto ffmpeg = save_tests::ReadPcm(cut.file + L".ffmpeg.s16");
        const auto expected = SourceSamples(cut.source, "ffmpeg", cut.first, cut.end);
        if (cut.span != Span::ShortInsideAFrame) {
            EXPECT_EQ(ffmpeg, expected);
        } else {
            // ffmpeg forgets what is left of the start's skip when the packet that
            // carries the end's trim comes: it plays from the start of that frame.
            ASSERT_GE(ffmpeg.size(), expected.size());
            EXPECT_LT(ffmpeg.size() - expected.size(), 1152 * channels);
            EXPECT_TRUE(std::equal(expected.begin(), expected.end(), ffmpeg.end() - expected.size()));
        }
    }
}

TEST_F(ExactSave, TitleAndCoverSurviveAndACutOfACutIsExactAgain) {
    ScratchFolder folder(L"exact2");
    Cut first = Place(L"cbr-cover.mp3", Span::InTheMiddle);
    Save(Source(first.source), first, folder / L"once.mp3");
    const save_tests::Probe probe = save_tests::ProbeFile(folder / L"once.mp3");
    EXPECT_EQ(probe.title, L"Exact cut");
    EXPECT_TRUE(probe.hasCover);

    const Cut second{L"", Span::InTheMiddle, 2345, 20000, {}};
    Save(folder / L"once.mp3", second, folder / L"twice.mp3");
    DecodeOnHost(folder);
    const auto twice = save_tests::ReadPcm(folder / L"twice.mp3.ffmpeg.s16");
    EXPECT_EQ(twice, SourceSamples(first.source, "ffmpeg", first.first + second.first, first.first + second.end));
    EXPECT_EQ(ReadIndex(folder / L"twice.mp3").title, L"Exact cut");
}

// Fades and a change of level on an exact cut, saved through the program and
// decoded by the host's decoders: still exactly the selected samples, at the level asked for.
TEST_F(ExactSave, FadesAndLevelKeepTheCutExactInFfmpegAndMpg123) {
    ScratchFolder folder(L"levels");
    struct Leveled {
        Cut cut;
        media::LevelChange change;
    };
    std::vector<Leveled> cuts;
    const wchar_t* const kLevelSources[] = {L"cbr-cover.mp3",    L"vbr-stereo.mp3",  L"plain-stereo.mp3",
                                            L"vbr-mono.mp3",     L"mpeg2-stereo.mp3", L"mpeg25-stereo.mp3",
                                            L"crc-stereo.mp3",   L"crc-mpeg2.mp3",    L"crc-mpeg25.mp3"};
    for (const wchar_t* source : kLevelSources)
        for (const media::LevelChange& change : {media::LevelChange{0, 0, -4}, media::LevelChange{0.2, 0.3, 1}}) {
            Cut cut = Place(source, Span::InTheMiddle);
            cut.file = folder / (L"level" + std::to_wstring(cuts.size()) + L".mp3");
            form.Levels().SetFadeIn(change.fadeIn);
            form.Levels().SetFadeOut(change.fadeOut);
            form.Levels().SetSteps(change.steps);
            Save(Source(source), cut, cut.file);
            cuts.push_back({cut, change});
        }
    form.Levels().Clear();
    DecodeOnHost(folder);

    for (const Leveled& leveled : cuts) {
        const Cut& cut = leveled.cut;
        SCOPED_TRACE(Describe(cut) + (leveled.change.steps < 0 ? " at -6 dB" : " faded"));
        const std::uint64_t length = cut.end - cut.first;
        const std::size_t channels = static_cast<std::size_t>(ReadIndex(Source(cut.source)).format.channels);
        // Protected frames still pass their checksums.
        const media::Mp3Index index = ReadIndex(cut.file);
        const std::string bytes = ReadAll(cut.file);
        for (std::uint64_t offset : index.frameOffsets) {
            auto frame = reinterpret_cast<std::uint8_t*>(const_cast<char*>(bytes.data())) + offset;
            ASSERT_TRUE(media::GranuleGains(frame, *media::FrameHeader::Parse(frame)).CrcHolds()) << offset;
        }
        for (const char* decoder : {"mpg123", "ffmpeg"}) {
            SCOPED_TRACE(decoder);
            const auto decoded = save_tests::ReadPcm(cut.file + L"." + std::wstring(decoder, decoder + std::strlen(decoder)) + L".s16");
            ASSERT_EQ(decoded.size(), length * channels);
            const auto source = SourceSamples(cut.source, decoder, cut.first, cut.end);
            ASSERT_EQ(source.size(), decoded.size());
            if (leveled.change.steps >= 0) {
                ExpectFaded(decoded, source, leveled.change, ReadIndex(cut.file).format.sampleRate, channels);
                continue;
            }
            // Half the source's samples, from the same first sample on.
            int largest = 0;
            for (std::size_t i = 0; i < source.size(); ++i)
                largest = std::max(largest, static_cast<int>(std::lround(std::abs(decoded[i] - source[i] / 2.0))));
            EXPECT_LE(largest, 1);
        }
    }
}

// Fades shorter than a granule, the selection starting and ending at several places
// within a granule, saved and decoded by the host's ffmpeg: never louder than the
// source, and back to the source's level where the fades end.
TEST_F(ExactSave, AFadeShorterThanAGranuleIsNeverLouderAndEndsAtFullLevel) {
    ScratchFolder folder(L"short-fades");
    const std::wstring name = L"cbr-cover.mp3";
    const media::Mp3Index index = ReadIndex(Source(name));
    const std::uint64_t rate = index.format.sampleRate;
    constexpr std::uint64_t kFade = 176;  // 4 ms, against a granule's 576 samples
    constexpr std::uint64_t kOffsets[] = {0, 100, 250, 400, 550};
    std::vector<Cut> cuts;
    for (std::uint64_t offset : kOffsets) {
        // A granule's first sample, in the time line the selection is given in, and the selection from there.
        const std::uint64_t granule = 40 * 576 - static_cast<std::uint64_t>(index.encoderDelay);
        Cut cut{name, Span::InTheMiddle, granule + offset, granule + offset + rate / 4 + offset, {}};
        cut.file = folder / (L"short" + std::to_wstring(offset) + L".mp3");
        form.Levels().SetFadeIn(static_cast<double>(kFade) / rate);
        form.Levels().SetFadeOut(static_cast<double>(kFade) / rate);
        Save(Source(name), cut, cut.file);
        cuts.push_back(cut);
    }
    form.Levels().Clear();
    DecodeOnHost(folder);
    constexpr std::size_t kWindow = 64;  // frames of samples, both channels
    for (const Cut& cut : cuts) {
        SCOPED_TRACE(Describe(cut));
        const auto decoded = save_tests::ReadPcm(cut.file + L".ffmpeg.s16");
        const auto source = SourceSamples(cut.source, "ffmpeg", cut.first, cut.end);
        ASSERT_EQ(decoded.size(), (cut.end - cut.first) * 2);
        ASSERT_EQ(source.size(), decoded.size());
        const std::vector<double> levels = WindowLevels(decoded, source, kWindow * 2);
        const std::size_t fadeEnd = (kFade + kWindow - 1) / kWindow;  // the first window past the fade in
        const std::size_t fadeStart = (cut.end - cut.first - kFade) / kWindow;  // the first window the fade out reaches
        for (std::size_t k = 0; k < levels.size(); ++k) {
            EXPECT_LE(levels[k], 0.5) << "window " << k;
            if (k >= fadeEnd && k < fadeStart) {
                EXPECT_NEAR(levels[k], 0, 0.5) << "window " << k;
            }
        }
    }
}
