// The recording as a list of parts of files: what taking parts out and joining
// files of the same or another format make of it.
#include <gtest/gtest.h>

#include <memory>

#include "MediaFixtures.h"
#include "media/MediaError.h"
#include "media/Recording.h"

using media::Recording;
using media::SampleRange;

namespace {

Recording Open(const std::wstring& name) { return Recording(media_test::Fixture(name), media_test::SharedIndex(name)); }

struct Removal {
    const char* what;
    std::vector<SampleRange> removed;  // each in the recording as it is after those before
    std::vector<SampleRange> parts;    // of the source
};

TEST(Recording, TakingPartsOutLeavesTheSourceRangesAroundThem) {
    const std::uint64_t all = media_test::SharedIndex(L"cbr128_info.mp3")->PlayableSampleCount();
    const Removal cases[] = {
        {"nothing", {}, {{0, all}}},
        {"one part", {{1000, 5000}}, {{0, 1000}, {5000, all}}},
        {"three parts", {{1000, 2000}, {3000, 4000}, {10000, 20000}}, {{0, 1000}, {2000, 4000}, {5000, 12000}, {22000, all}}},
        {"the start", {{0, 700}}, {{700, all}}},
        {"the end and past it", {{all - 100, all + 500}}, {{0, all - 100}}},
        {"next to one taken out", {{1000, 2000}, {500, 1000}}, {{0, 500}, {2000, all}}},
    };
    for (const Removal& c : cases) {
        SCOPED_TRACE(c.what);
        Recording recording = Open(L"cbr128_info.mp3");
        for (SampleRange range : c.removed) recording.Remove(range);
        ASSERT_EQ(recording.Parts().size(), c.parts.size());
        std::uint64_t length = 0;
        for (std::size_t i = 0; i < c.parts.size(); ++i) {
            EXPECT_EQ(recording.Parts()[i].samples.first, c.parts[i].first);
            EXPECT_EQ(recording.Parts()[i].samples.end, c.parts[i].end);
            length += c.parts[i].end - c.parts[i].first;
        }
        EXPECT_EQ(recording.Length(), length);
    }
}

TEST(Recording, JoinsFilesOfOneFormatAndRefusesOthersNamingBoth) {
    struct Case {
        const wchar_t* first;
        const wchar_t* joined;
        const wchar_t* refusal;  // nothing where the join is taken
    } const cases[] = {
        {L"cbr128_info.mp3", L"vbr_xing.mp3", nullptr},
        {L"cbr128_info.mp3", L"cbr128_noinfo.mp3", nullptr},
        {L"mpeg2_22k_mono.mp3", L"mpeg2_8kbps.mp3", nullptr},
        {L"cbr128_info.mp3", L"cbr192_48k.mp3",
         L"cbr192_48k.mp3 is MPEG-1, 48000 Hz, stereo, but the recording is MPEG-1, 44100 Hz, stereo."},
        {L"mpeg2_22k_mono.mp3", L"mpeg25_8k_mono.mp3",
         L"mpeg25_8k_mono.mp3 is MPEG-2.5, 8000 Hz, mono, but the recording is MPEG-2, 22050 Hz, mono."},
        {L"cbr128_info.mp3", L"mpeg2_22k_mono.mp3",
         L"mpeg2_22k_mono.mp3 is MPEG-2, 22050 Hz, mono, but the recording is MPEG-1, 44100 Hz, stereo."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.joined)));
        Recording recording = Open(c.first);
        const std::uint64_t before = recording.Length();
        const auto joined = media_test::SharedIndex(c.joined);
        try {
            recording.Join(media_test::Fixture(c.joined), joined);
            EXPECT_EQ(c.refusal, nullptr);
            ASSERT_EQ(recording.Parts().size(), 2u);
            EXPECT_EQ(recording.Parts()[1].source, media_test::Fixture(c.joined));
            EXPECT_EQ(recording.Length(), before + joined->PlayableSampleCount());
        } catch (const media::MediaError& error) {
            ASSERT_NE(c.refusal, nullptr) << testing::PrintToString(error.Reason());
            EXPECT_EQ(error.Reason().rfind(c.refusal, 0), 0u) << testing::PrintToString(error.Reason());
            EXPECT_EQ(recording.Parts().size(), 1u);
        }
    }
}

TEST(Recording, ASliceAcrossASeamHoldsThePartsOnBothSides) {
    Recording recording = Open(L"cbr128_info.mp3");
    recording.Join(media_test::Fixture(L"vbr_xing.mp3"), media_test::SharedIndex(L"vbr_xing.mp3"));
    const std::uint64_t first = recording.Parts()[0].Length();
    const Recording slice = recording.Slice({first - 300, first + 200});
    ASSERT_EQ(slice.Parts().size(), 2u);
    EXPECT_EQ(slice.Parts()[0].samples.first, first - 300);
    EXPECT_EQ(slice.Parts()[0].samples.end, first);
    EXPECT_EQ(slice.Parts()[1].samples.first, 0u);
    EXPECT_EQ(slice.Parts()[1].samples.end, 200u);
}

}  // namespace
