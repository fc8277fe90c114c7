// The effects and the music player over the recording audio device, in a
// working folder of their own, and the random draws they use.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "app/fatal_exit.h"
#include "app/music_player.h"
#include "app/random.h"
#include "app/settings.h"
#include "app/sound.h"
#include "platform/rand.h"
#include "support/fake_audio.h"
#include "support/test_support.h"

namespace {

class SoundTest : public ::testing::Test {
 protected:
  SoundTest() : cwd_(dir_.Path()) {
    SetAudioDevice(&device_);
    g_Settings.SfxVolume = 1.0f;
    g_Settings.MusicVolume = 0.75f;
  }
  ~SoundTest() override {
    for (auto& slot : g_Sounds) slot.reset();
    SetAudioDevice(nullptr);
  }
  void WriteAllEffectsBut(const std::string& missing) {
    for (const auto& info : g_SoundEffects) {
      if (info.name != missing) dir_.Write(std::string("data/sound/") + info.name + ".wav", "RIFF");
    }
  }
  // A playlist file "pl<number>.txt" listing tracks that exist; names
  // "gone*" are listed but not written.
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

using MusicPlayerTest = SoundTest;

TEST_F(SoundTest, LoadsTheEffectsWithTheirVoicesLogsAMissingOneAndPlaysAtTheSettingsVolume) {
  WriteAllEffectsBut("Buying");
  InitSound();
  ASSERT_EQ(device_.sounds.size(), 30u);
  EXPECT_EQ(std::pair(device_.sounds[0]->path, g_Sounds[SND_BUTTON_CLICK]->VoiceCount()),
            std::pair(std::string("data/sound/AirStrike.wav"), 3));
  EXPECT_EQ(g_Sounds[SND_BUYING], nullptr);
  for (int i = SND_EFFECT_COUNT; i < kSoundSlotCount; ++i) EXPECT_EQ(g_Sounds[i], nullptr);
  EXPECT_EQ(log_.Lines(), std::vector<std::wstring>{L"Error while loading Buying.wav!"});
  // An effect stops, then plays; the empty slot and two out of range play nothing.
  g_Settings.SfxVolume = 0.5f;
  for (int slot : {int{SND_NAVAL_GUN}, int{SND_BUYING}, -1, kSoundSlotCount}) PlaySoundEffect(slot);
  const auto gun = device_.SoundOf(std::string("data/sound/") + g_SoundEffects[SND_NAVAL_GUN].name + ".wav");
  EXPECT_EQ(gun->stops, 1);
  EXPECT_EQ(gun->plays, std::vector<long>{-5000});
}

TEST_F(SoundTest, AFailingSoundSystemLogsAndExitsWithCodeOne) {
  cScopedThrowingFatalHook fatal;
  for (bool initialises : {false, true}) {
    device_.initializeResult = initialises;
    device_.formatResult = false;
    EXPECT_THROW(InitSound(), sFatalExitError);
    EXPECT_TRUE(device_.sounds.empty());
  }
  EXPECT_TRUE(log_.Contains(L"error_initializing_directsound._exiting."));
  EXPECT_TRUE(log_.Contains(L"error_while_setting_primary_buffer_for_sound._exiting."));
}

TEST_F(MusicPlayerTest, PlaysAPlaylistAndSwitchesOnlyToAnotherNumber) {
  dir_.Write("data/Music/playlists.csv", "-1;pl-1.txt\n2;pl2.txt\n");
  WritePlaylist(-1, {"a.ogg", "gone.ogg", "b.ogg"});
  WritePlaylist(2, {"c.ogg"});
  cMusicPlayer player;
  ASSERT_TRUE(player.PlayPlaylist(-1));
  EXPECT_EQ(std::tuple(player.CurrentPlaylist(), player.TrackCount(), device_.PlayingStreams()), std::tuple(-1, 2u, 1));
  EXPECT_TRUE(log_.Contains(L"Could not open music track gone.ogg"));
  EXPECT_FLOAT_EQ(device_.StreamOf("a.ogg")->volume, 0.75f);
  // The same number again changes nothing: no reopening, no restart.
  const auto opened = device_.streams.size();
  const auto playing = device_.StreamOf(player.CurrentTrack() == 0 ? "a.ogg" : "b.ogg");
  EXPECT_TRUE(player.PlayPlaylist(-1));
  EXPECT_EQ(std::pair(device_.streams.size(), playing->plays), std::pair(opened, 1));
  ASSERT_TRUE(player.PlayPlaylist(2));
  EXPECT_EQ(std::tuple(playing->released, device_.StreamOf("c.ogg")->playing, device_.PlayingStreams()),
            std::tuple(true, true, 1));
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
  // Tracks that cannot be opened and a playlist file that cannot be read behave the same.
  for (int playlist : {-1, 5}) {
    ASSERT_TRUE(player.PlayPlaylist(playlist));
    player.Update();
    EXPECT_EQ(player.CurrentTrack(), -1);
    EXPECT_TRUE(device_.streams.empty());
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
      const int pick = player.PickNextTrack(current);
      ASSERT_EQ(draws, 1);
      ASSERT_TRUE(pick >= 0 && pick < 4 && pick != current) << pick;
      ++counts[pick];
    }
    for (int t = 0; t < 4; ++t) {
      EXPECT_NEAR(counts[t], t == current ? 0 : 32768 / (current < 0 ? 4 : 3), 2) << current << " " << t;
    }
  }
}

std::vector<int> g_draws;
std::size_t g_calls = 0;

// For its scope rand() replays draws in order, then repeats the last one.
plat::ScopedRandOverride Replay(std::vector<int> draws) {
  g_draws = std::move(draws);
  g_calls = 0;
  return plat::ScopedRandOverride([] { return g_draws[std::min(g_calls++, g_draws.size() - 1)]; });
}

TEST(Random, RangeSumAndFractionAtTheirEdges) {
  const struct { int draw, lo, hi, want; } cases[] = {
      {0, 5, 5, 5},          {32767, 5, 5, 5},          {0, 0, 100, 0},
      {32766, 0, 100, 99},   {32767, 0, 100, 100},      {0, 10, 0, 10},
      {16384, 10, 0, 5},     {32766, 10, 0, 1},         {32767, 10, 0, 0},
      {32767, INT_MIN, INT_MAX, INT_MAX}, {0, INT_MAX, INT_MIN, INT_MAX}, {32767, INT_MAX, INT_MIN, INT_MIN},
      {32766, 0, 100000007, 99996955},  // the span stays integral: a float product ends in ...960
  };
  for (const auto& c : cases) {
    const auto replay = Replay({c.draw});
    EXPECT_EQ(RandomRange(c.lo, c.hi), c.want) << c.draw << ": " << c.lo << ".." << c.hi;
  }
  // Draws, count, minimum and maximum of a sum, the sum and the draws taken.
  const struct { std::vector<int> draws; int count, lo, hi, want; std::size_t calls; } sums[] = {
      {{32767}, 0, 1, 7, 0, 0},
      {{32767}, -1, 1, 7, 0, 0},
      {{0, 32767, 16384}, 3, 1, 7, 1 + 7 + 4, 3},
      {{32766}, 1, 0, 100000007, 99996960, 1},  // unlike RandomRange, rounds through float
  };
  for (const auto& c : sums) {
    const auto replay = Replay(c.draws);
    EXPECT_EQ(RandomSum(c.count, c.lo, c.hi), c.want) << c.count;
    EXPECT_EQ(g_calls, c.calls) << c.count;
  }
  for (int draw : {0, 16384, 32767}) {
    const auto replay = Replay({draw});
    EXPECT_EQ(RandomFraction(), static_cast<float>(draw / 32767.0));
  }
}

}  // namespace
