// Finding the pauses of a recording and splitting it every so often, on a
// generated album: three sounds (0-6 s, 8-16 s, 18-24 s) parted by silences, the
// second holding 1.5 s of quiet noise at about -35 dB (11-12.5 s).
#include <gtest/gtest.h>

#include <vector>

#include "MediaFixtures.h"
#include "media/Media.h"

namespace {

constexpr double kRate = 44100;

std::wstring Album() { return media_test::Fixture(L"..\\split\\album.mp3"); }

std::shared_ptr<const media::Mp3Index> IndexOf(const std::wstring& path) {
    media::Player player(media::Player::Output::Silent);
    player.Open(path);
    return player.Index();
}

double Seconds(std::uint64_t sample) { return static_cast<double>(sample) / kRate; }

}  // namespace

TEST(FindPauses, SplitsTheAlbumInItsSilencesOnly) {
    media::Waveform levels(Album(), IndexOf(Album()));
    struct Range {
        double from, to;
    };
    struct Case {
        media::PauseSettings settings;
        std::vector<Range> splits;  // where each split point lies
    } cases[] = {
        {{}, {{6.5, 7.5}, {16.5, 17.5}}},              // the defaults: not the quiet noise
        {{-45, 1.0, 6.8}, {{6.5, 7.5}, {16.5, 17.5}}}, // pieces of about 7, 10 and 7 s
        {{-45, 1.0, 7.5}, {}},                         // either split leaves a piece of 7 s
        {{-45, 2.5, 5}, {}},                           // the silences last 2 s
        {{-20, 1.0, 3}, {{6.5, 7.5}, {11.2, 12.3}, {16.5, 17.5}}},  // the noise is quiet enough now
        {{-20, 1.0, 5}, {{6.5, 7.5}, {16.5, 17.5}}},   // the longer pauses win over the noise
    };
    for (const Case& c : cases) {
        const auto pauses = media::FindPauses(levels, c.settings);
        const std::string label = std::to_string(c.settings.thresholdDb) + " dB, " +
                                  std::to_string(c.settings.minPauseSeconds) + " s, pieces " +
                                  std::to_string(c.settings.minPieceSeconds) + " s";
        ASSERT_EQ(pauses.size(), c.splits.size()) << label;
        for (std::size_t i = 0; i < pauses.size(); ++i) {
            EXPECT_GE(Seconds(pauses[i].split), c.splits[i].from) << label << " #" << i;
            EXPECT_LE(Seconds(pauses[i].split), c.splits[i].to) << label << " #" << i;
            EXPECT_LE(pauses[i].first, pauses[i].split);
            EXPECT_LT(pauses[i].split, pauses[i].end);
        }
    }

    // The silences' bounds, to the encoder's smearing of the sounds' edges.
    const auto pauses = media::FindPauses(levels, {});
    ASSERT_EQ(pauses.size(), 2u);
    EXPECT_NEAR(Seconds(pauses[0].first), 6, 0.05);
    EXPECT_NEAR(Seconds(pauses[0].end), 8, 0.05);
    EXPECT_NEAR(Seconds(pauses[1].first), 16, 0.05);
    EXPECT_NEAR(Seconds(pauses[1].end), 18, 0.05);
    // Each split point is where the decoded audio is silent.
    media::Waveform samples(Album(), IndexOf(Album()));
    for (const media::Pause& pause : pauses) {
        for (std::int16_t s : samples.Samples(pause.split - 110, 220)) EXPECT_LE(std::abs(s), 2);
    }
}

TEST(SplitEvery, EveryIntervalMovedToTheQuietestSpotInReach) {
    media::Waveform levels(Album(), IndexOf(Album()));
    struct Range {
        double from, to;
    };
    struct Case {
        double every, reach;
        std::vector<Range> splits;
    } cases[] = {
        {5, 0, {{5, 5}, {10, 10}, {15, 15}, {20, 20}}},    // exact times; the last piece, 4 s, stays
        {10, 0, {{10, 10}}},                                // a last piece of 4 s joins the one before
        {5, 2, {{6, 7}, {11, 12}, {16, 17}, {18, 22}}},    // into the silences and the quiet noise
        {30, 5, {}},                                        // one piece
    };
    for (const Case& c : cases) {
        const auto splits = media::SplitEvery(levels, c.every, c.reach);
        ASSERT_EQ(splits.size(), c.splits.size()) << c.every << " s within " << c.reach;
        for (std::size_t i = 0; i < splits.size(); ++i) {
            EXPECT_GE(Seconds(splits[i]), c.splits[i].from) << c.every << " s within " << c.reach << " #" << i;
            EXPECT_LE(Seconds(splits[i]), c.splits[i].to) << c.every << " s within " << c.reach << " #" << i;
        }
    }
}
