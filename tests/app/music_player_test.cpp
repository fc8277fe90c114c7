// The music player: the playlist table, opening and switching playlists,
// the track order and the one-shot sound, over the recording audio device.
#include <gtest/gtest.h>

#include <set>

#include "app/music_player.h"
#include "app/settings.h"
#include "app/sound.h"
#include "platform/rand.h"
#include "support/fake_audio.h"
#include "support/test_support.h"

namespace {

class MusicPlayerTest : public ::testing::Test {
 protected:
  MusicPlayerTest() : cwd_(dir_.Path()) {
    SetAudioDevice(&device_);
    g_Settings.MusicVolume = 0.75f;
  }
  ~MusicPlayerTest() override { SetAudioDevice(nullptr); }

  // A playlist file "pl<number>.txt" listing tracks that exist; missing
  // names "gone*" are listed but not written.
  void WritePlaylist(int number, const std::vector<std::string>& tracks) {
    std::string list = "; tracks\n\n";
    for (const auto& t : tracks) {
      list += t + "\r\n";
      if (t.rfind("gone", 0) != 0) dir_.Write(t, "OggS");
    }
    dir_.Write("pl" + std::to_string(number) + ".txt", list);
  }

  twtest::LogCapture log_;
  twtest::TempDir dir_;
  twtest::ScopedWorkingFolder cwd_;
  twtest::FakeAudioDevice device_;
};

TEST_F(MusicPlayerTest, MissingTableLogsAndNoPlaylistPlays) {
  cMusicPlayer player;
  EXPECT_TRUE(log_.Contains(L"error:_could_not_open_file_data/music/playlists.csv"));
  EXPECT_FALSE(player.PlayPlaylist(-1));
  EXPECT_EQ(player.CurrentPlaylist(), cMusicPlayer::kNoPlaylist);
  player.Update();
  EXPECT_TRUE(device_.streams.empty());
}

TEST_F(MusicPlayerTest, ReadsTheTableSkippingCommentsAndBadLines) {
  dir_.Write("data/Music/playlists.csv",
             "; comment\r\n# 5;x.txt\n\n-1;general.txt\n3;\n;7.txt\n1.5;half.txt\nabc;x.txt\n"
             "4 ; four.txt\n4;again.txt\n12;data\\music\\twelve.txt");
  cMusicPlayer player;
  const std::map<int, std::string> expected = {
      {-1, "general.txt"}, {4, "again.txt"}, {12, "data\\music\\twelve.txt"}};
  EXPECT_EQ(player.Playlists(), expected);
  // Without a language base the key itself is the format.
  EXPECT_TRUE(log_.Contains(L"playlist_-1:_general.txt"));
  EXPECT_TRUE(log_.Contains(L"playlist_12:_data\\music\\twelve.txt"));
  EXPECT_FLOAT_EQ(player.Volume(), 0.75f);
}

TEST_F(MusicPlayerTest, PlaysAPlaylistAndSwitchesOnlyToAnotherNumber) {
  dir_.Write("data/Music/playlists.csv", "-1;pl-1.txt\n2;pl2.txt\n");
  WritePlaylist(-1, {"a.ogg", "gone.ogg", "b.ogg"});
  WritePlaylist(2, {"c.ogg"});
  cMusicPlayer player;
  ASSERT_TRUE(player.PlayPlaylist(-1));
  EXPECT_EQ(player.CurrentPlaylist(), -1);
  EXPECT_EQ(player.TrackCount(), 2u);
  EXPECT_TRUE(log_.Contains(L"Could not open music track gone.ogg"));
  EXPECT_EQ(device_.PlayingStreams(), 1);
  EXPECT_FLOAT_EQ(device_.StreamOf("a.ogg")->volume, 0.75f);

  // The same number again changes nothing: no reopening, no restart.
  auto opened = device_.streams.size();
  auto playing = device_.StreamOf(player.CurrentTrack() == 0 ? "a.ogg" : "b.ogg");
  EXPECT_TRUE(player.PlayPlaylist(-1));
  EXPECT_EQ(device_.streams.size(), opened);
  EXPECT_EQ(playing->plays, 1);

  EXPECT_FALSE(player.PlayPlaylist(9));
  EXPECT_EQ(player.CurrentPlaylist(), -1);

  ASSERT_TRUE(player.PlayPlaylist(2));
  EXPECT_TRUE(playing->released);
  EXPECT_EQ(player.TrackCount(), 1u);
  EXPECT_EQ(player.CurrentTrack(), 0);
  EXPECT_TRUE(device_.StreamOf("c.ogg")->playing);
  EXPECT_EQ(device_.PlayingStreams(), 1);
}

TEST_F(MusicPlayerTest, PlaylistWithoutOpenableTracksPlaysNothing) {
  dir_.Write("data/Music/playlists.csv", "-1;pl-1.txt\n5;nofile.txt\n");
  WritePlaylist(-1, {"gone1.ogg", "gone2.ogg"});
  cMusicPlayer player;
  ASSERT_TRUE(player.PlayPlaylist(-1));
  EXPECT_EQ(player.CurrentTrack(), -1);
  player.Update();
  player.Update();
  EXPECT_TRUE(device_.streams.empty());
  // A playlist file that cannot be read behaves the same.
  ASSERT_TRUE(player.PlayPlaylist(5));
  player.Update();
  EXPECT_EQ(player.CurrentTrack(), -1);
}

TEST_F(MusicPlayerTest, UpdateRepeatsASingleTrackAndAlternatesTwo) {
  dir_.Write("data/Music/playlists.csv", "1;pl1.txt\n2;pl2.txt\n");
  WritePlaylist(1, {"solo.ogg"});
  WritePlaylist(2, {"x.ogg", "y.ogg"});
  cMusicPlayer player;
  ASSERT_TRUE(player.PlayPlaylist(1));
  auto solo = device_.StreamOf("solo.ogg");
  player.Update();
  EXPECT_EQ(solo->plays, 1);  // still playing: untouched
  solo->playing = false;
  player.Update();
  EXPECT_EQ(solo->plays, 2);

  ASSERT_TRUE(player.PlayPlaylist(2));
  std::shared_ptr<twtest::FakeStreamRecord> tracks[2] = {device_.StreamOf("x.ogg"), device_.StreamOf("y.ogg")};
  for (int round = 0; round < 6; ++round) {
    int now = player.CurrentTrack();
    ASSERT_TRUE(tracks[now]->playing);
    tracks[now]->playing = false;
    player.Update();
    EXPECT_EQ(player.CurrentTrack(), 1 - now);
  }
}

TEST_F(MusicPlayerTest, PickNextTrackIsAnEvenSingleDrawAmongTheOthers) {
  dir_.Write("data/Music/playlists.csv", "1;pl1.txt\n");
  WritePlaylist(1, {"t0.ogg", "t1.ogg", "t2.ogg", "t3.ogg"});
  cMusicPlayer player;
  EXPECT_EQ(player.PickNextTrack(-1), -1);  // no tracks yet
  ASSERT_TRUE(player.PlayPlaylist(1));
  ASSERT_EQ(player.TrackCount(), 4u);

  int value = 0, draws = 0;
  plat::ScopedRandOverride rand([&] {
    ++draws;
    return value;
  });
  for (int current = -1; current < 4; ++current) {
    int counts[4] = {};
    for (value = 0; value <= plat::kRandMax; ++value) {
      draws = 0;
      int pick = player.PickNextTrack(current);
      ASSERT_EQ(draws, 1);
      ASSERT_GE(pick, 0);
      ASSERT_LT(pick, 4);
      ASSERT_NE(pick, current);
      ++counts[pick];
    }
    int candidates = current < 0 ? 4 : 3;
    for (int t = 0; t < 4; ++t) {
      if (t == current) continue;
      EXPECT_NEAR(counts[t], 32768 / candidates, 2) << "current " << current << " track " << t;
    }
  }
}

TEST_F(MusicPlayerTest, SetVolumeReachesEveryTrack) {
  dir_.Write("data/Music/playlists.csv", "1;pl1.txt\n");
  WritePlaylist(1, {"a.ogg", "b.ogg"});
  cMusicPlayer player;
  player.SetVolume(0.2f);
  ASSERT_TRUE(player.PlayPlaylist(1));
  EXPECT_FLOAT_EQ(device_.StreamOf("a.ogg")->volume, 0.2f);
  player.SetVolume(0.9f);
  EXPECT_FLOAT_EQ(device_.StreamOf("a.ogg")->volume, 0.9f);
  EXPECT_FLOAT_EQ(device_.StreamOf("b.ogg")->volume, 0.9f);
}

TEST_F(MusicPlayerTest, OneShotPlaysBesideTheMusicUntilStopped) {
  dir_.Write("data/Music/playlists.csv", "1;pl1.txt\n");
  WritePlaylist(1, {"a.ogg"});
  dir_.Write("data/credits.ogg", "OggS");
  auto player = std::make_unique<cMusicPlayer>();
  ASSERT_TRUE(player->PlayPlaylist(1));
  player->StopFile();  // nothing to stop
  player->PlayFile("data\\credits.ogg");
  ASSERT_TRUE(player->HasOneShot());
  auto credits = device_.StreamOf("data/credits.ogg");
  ASSERT_TRUE(credits);
  EXPECT_TRUE(credits->playing);
  EXPECT_EQ(device_.PlayingStreams(), 2);
  credits->playing = false;
  player->Update();  // the one-shot sound is not the playlist's business
  EXPECT_EQ(credits->plays, 1);

  player->StopFile();
  EXPECT_FALSE(player->HasOneShot());
  EXPECT_TRUE(credits->released);

  player->PlayFile("data/credits.ogg");
  player->PlayFile("missing.ogg");
  EXPECT_FALSE(player->HasOneShot());
  EXPECT_EQ(device_.PlayingStreams(), 1);

  auto track = device_.StreamOf("a.ogg");
  player.reset();
  EXPECT_TRUE(track->released);
}

}  // namespace
