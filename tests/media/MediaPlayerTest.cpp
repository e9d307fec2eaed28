#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <type_traits>

#include "MediaFixtures.h"
#include "app/components/MediaPlayer.h"

using app::MediaPlayer;
using media_test::Fixture;
using namespace std::chrono_literals;

static_assert(!std::is_copy_constructible_v<MediaPlayer> && !std::is_copy_assignable_v<MediaPlayer>);

namespace {

bool WaitForState(const MediaPlayer& player, int state) {
    for (int i = 0; i < 1000 && player.PlayState() != state; ++i) std::this_thread::sleep_for(5ms);
    return player.PlayState() == state;
}

}  // namespace

TEST(MediaPlayer, HasNothingLoadedAtFirstAndIgnoresCommands) {
    MediaPlayer player;
    EXPECT_EQ(player.PlayState(), MediaPlayer::kUndefined);
    EXPECT_EQ(player.Volume(), 50);
    EXPECT_EQ(player.URL(), L"");
    EXPECT_EQ(player.CurrentMedia().name, L"");
    EXPECT_EQ(player.CurrentMedia().duration, 0.0);
    player.Play();
    player.SetCurrentPosition(2);
    player.Pause();
    player.Stop();
    EXPECT_EQ(player.PlayState(), MediaPlayer::kUndefined);
    EXPECT_EQ(player.CurrentPosition(), 0.0);
}

TEST(MediaPlayer, OpensAFileAndStartsPlayingIt) {
    MediaPlayer player;
    ASSERT_TRUE(player.SetURL(Fixture(L"vbr_noxing.mp3")));
    EXPECT_EQ(player.URL(), Fixture(L"vbr_noxing.mp3"));
    EXPECT_EQ(player.ErrorText(), L"");
    EXPECT_EQ(player.CurrentMedia().name, L"vbr_noxing");
    EXPECT_DOUBLE_EQ(player.CurrentMedia().duration, (116 * 1152 - 529) / 44100.0);  // less the decoder's delay
    EXPECT_TRUE(WaitForState(player, MediaPlayer::kPlaying));
    std::this_thread::sleep_for(200ms);
    EXPECT_GT(player.CurrentPosition(), 0.0);
}

TEST(MediaPlayer, NamesTheMediaByItsTitleWhereItHasOne) {
    MediaPlayer player;
    ASSERT_TRUE(player.SetURL(Fixture(L"id3_cover.mp3")));
    EXPECT_EQ(player.CurrentMedia().name, L"Gr\u00fc\u00dfe vom Band");
}

TEST(MediaPlayer, PlaysAFileWithAJapaneseName) {
    MediaPlayer player;
    ASSERT_TRUE(player.SetURL(Fixture(L"\u65e5\u672c\u8a9e.mp3")));
    EXPECT_EQ(player.CurrentMedia().name, L"\u65e5\u672c\u8a9e");
    EXPECT_TRUE(WaitForState(player, MediaPlayer::kPlaying));
}

TEST(MediaPlayer, StopGoesToTheStartAndPausePlayHoldAndResume) {
    MediaPlayer player;
    ASSERT_TRUE(player.SetURL(Fixture(L"tone440.mp3")));
    ASSERT_TRUE(WaitForState(player, MediaPlayer::kPlaying));
    player.SetCurrentPosition(2.5);
    player.Pause();
    EXPECT_EQ(player.PlayState(), MediaPlayer::kPaused);
    EXPECT_DOUBLE_EQ(player.CurrentPosition(), 2.5);
    player.Play();
    EXPECT_TRUE(WaitForState(player, MediaPlayer::kPlaying));
    player.Stop();
    EXPECT_EQ(player.PlayState(), MediaPlayer::kStopped);
    EXPECT_EQ(player.CurrentPosition(), 0.0);
    player.SetVolume(80);
    EXPECT_EQ(player.Volume(), 80);
}

TEST(MediaPlayer, KeepsWhatItHadWhenAFileCannotBeOpened) {
    MediaPlayer player;
    ASSERT_TRUE(player.SetURL(Fixture(L"tone440.mp3")));
    ASSERT_TRUE(WaitForState(player, MediaPlayer::kPlaying));
    player.SetCurrentPosition(1.75);
    player.Pause();

    for (const wchar_t* name : {L"text.mp3", L"empty.mp3", L"truncated_in_tag.mp3", L"missing.mp3"}) {
        EXPECT_FALSE(player.SetURL(Fixture(name)));
        EXPECT_NE(player.ErrorText(), L"");
        EXPECT_EQ(player.URL(), Fixture(L"tone440.mp3"));
        EXPECT_EQ(player.CurrentMedia().name, L"tone440");
        EXPECT_EQ(player.PlayState(), MediaPlayer::kPaused);
        EXPECT_DOUBLE_EQ(player.CurrentPosition(), 1.75);
    }
    EXPECT_EQ(player.ErrorText().find(L"MP3"), std::wstring::npos);  // the system's reason for a missing file

    ASSERT_TRUE(player.SetURL(Fixture(L"cbr128_info.mp3")));
    EXPECT_EQ(player.ErrorText(), L"");
}

TEST(MediaPlayer, LeavesNothingLoadedWhenTheFirstFileIsBad) {
    MediaPlayer player;
    EXPECT_FALSE(player.SetURL(Fixture(L"text.mp3")));
    EXPECT_NE(player.ErrorText().find(L"not an MP3 file"), std::wstring::npos);
    EXPECT_EQ(player.PlayState(), MediaPlayer::kUndefined);
    EXPECT_EQ(player.URL(), L"");
}
