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

  ASSERT_TRUE(player.PlayPlaylist(2));
  EXPECT_TRUE(playing->released);
  EXPECT_TRUE(device_.StreamOf("c.ogg")->playing);
  EXPECT_EQ(device_.PlayingStreams(), 1);
}

TEST_F(MusicPlayerTest, MissingTableOrTracksPlayNothing) {
  {
    cMusicPlayer player;
    EXPECT_TRUE(log_.Contains(L"error:_could_not_open_file_data/music/playlists.csv"));
    EXPECT_FALSE(player.PlayPlaylist(-1));
    EXPECT_EQ(player.CurrentPlaylist(), cMusicPlayer::kNoPlaylist);
  }
  dir_.Write("data/Music/playlists.csv", "-1;pl-1.txt\n5;nofile.txt\n");
  WritePlaylist(-1, {"gone1.ogg", "gone2.ogg"});
  cMusicPlayer player;
  ASSERT_TRUE(player.PlayPlaylist(-1));
  EXPECT_EQ(player.CurrentTrack(), -1);
  player.Update();
  EXPECT_TRUE(device_.streams.empty());
  // A playlist file that cannot be read behaves the same.
  ASSERT_TRUE(player.PlayPlaylist(5));
  player.Update();
  EXPECT_EQ(player.CurrentTrack(), -1);
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

}  // namespace
