// Sound effects: loading the slots, the start-up failures, the volume scale,
// the GUI event sounds and the pause hook.
#include <gtest/gtest.h>

#include "app/gui_sound.h"
#include "app/music_player.h"
#include "app/settings.h"
#include "app/sound.h"
#include "support/fake_audio.h"
#include "support/test_support.h"

namespace {

int g_exitCode = -1;
void RecordExit(int code) { g_exitCode = code; }

// Installs a fake device and an exit handler that returns, inside a scratch
// working folder; leaves the globals as it found them.
class SoundTest : public ::testing::Test {
 protected:
  SoundTest() : cwd_(dir_.Path()) {
    SetAudioDevice(&device_);
    SetSoundExitHandler(&RecordExit);
    g_exitCode = -1;
    g_Settings.SfxVolume = 1.0f;
    g_Settings.MusicVolume = 1.0f;
  }
  ~SoundTest() override {
    for (auto& slot : g_Sounds) slot.reset();
    SetAudioDevice(nullptr);
    SetSoundExitHandler(nullptr);
  }
  void WriteAllEffectsBut(const std::string& missing) {
    for (const auto& info : g_SoundEffects) {
      if (info.name != missing) dir_.Write(std::string("data/sound/") + info.name + ".wav", "RIFF");
    }
  }

  twtest::LogCapture log_;
  twtest::TempDir dir_;
  twtest::ScopedWorkingFolder cwd_;
  twtest::FakeAudioDevice device_;
};

TEST(SoundVolume, MapsTheFractionToHundredthsOfADecibel) {
  EXPECT_EQ(SoundVolumeFromFraction(1.0f), 0);
  EXPECT_EQ(SoundVolumeFromFraction(0.5f), -5000);
  EXPECT_EQ(SoundVolumeFromFraction(0.0f), -10000);
  EXPECT_EQ(SoundVolumeFromFraction(0.25f), -7500);
}

TEST_F(SoundTest, LoadsTheEffectsWithTheirVoicesAndLogsAMissingOne) {
  WriteAllEffectsBut("Buying");
  InitSound();
  EXPECT_EQ(g_exitCode, -1);
  EXPECT_EQ(device_.formatChannels, 1);
  EXPECT_EQ(device_.formatRate, 22050);
  EXPECT_EQ(device_.formatBits, 8);
  ASSERT_EQ(device_.sounds.size(), 30u);
  EXPECT_EQ(device_.sounds[0]->path, "data/sound/AirStrike.wav");
  EXPECT_EQ(g_Sounds[SND_BUTTON_CLICK]->VoiceCount(), 3);
  EXPECT_EQ(g_Sounds[SND_EDITBOX_CHANGED]->VoiceCount(), 5);
  EXPECT_EQ(g_Sounds[SND_DRUM_ROLL]->VoiceCount(), 1);
  EXPECT_EQ(g_Sounds[SND_BUYING], nullptr);
  for (int i = SND_EFFECT_COUNT; i < kSoundSlotCount; ++i) EXPECT_EQ(g_Sounds[i], nullptr);
  auto lines = log_.Lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], L"Error while loading Buying.wav!");

  // A second start forgets the old sounds after stopping them.
  auto oldClick = device_.sounds[SND_BUTTON_CLICK];
  InitSound();
  EXPECT_TRUE(oldClick->released);
  EXPECT_GE(oldClick->stops, 1);
  EXPECT_NE(device_.SoundOf("data/sound/ButtonClick.wav"), oldClick);
}

TEST_F(SoundTest, AFailingSoundSystemLogsAndExitsWithCodeOne) {
  device_.initializeResult = false;
  InitSound();
  EXPECT_EQ(g_exitCode, 1);
  EXPECT_TRUE(log_.Contains(L"error_initializing_directsound._exiting."));
  EXPECT_TRUE(device_.sounds.empty());

  g_exitCode = -1;
  device_.initializeResult = true;
  device_.formatResult = false;
  InitSound();
  EXPECT_EQ(g_exitCode, 1);
  EXPECT_TRUE(log_.Contains(L"error_while_setting_primary_buffer_for_sound._exiting."));
  EXPECT_TRUE(device_.sounds.empty());
}

TEST_F(SoundTest, EffectsStopThenPlayAtTheSettingsVolume) {
  WriteAllEffectsBut("");
  InitSound();
  g_Settings.SfxVolume = 0.5f;
  PlaySoundEffect(SND_NAVAL_GUN);
  PlaySoundEffect(SND_BUYING + 1);  // an empty slot
  PlaySoundEffect(-1);
  PlaySoundEffect(kSoundSlotCount);
  auto gun = device_.sounds[SND_NAVAL_GUN];
  EXPECT_EQ(gun->stops, 1);
  EXPECT_EQ(gun->plays, std::vector<long>{-5000});
}

TEST_F(SoundTest, GuiEventsPlayTheirEffectWithoutStoppingIt) {
  WriteAllEffectsBut("");
  InitSound();
  auto* control = reinterpret_cast<CDXUTControl*>(&device_);  // only tested for null
  const std::pair<unsigned, int> table[] = {
      {0x0101, SND_BUTTON_CLICK},        {0x0201, SND_COMBOBOX_CHANGED},
      {0x0301, SND_RADIOBUTTON_CHANGED}, {0x0401, SND_CHECKBOX_CHANGED},
      {0x0501, SND_SLIDER_CHANGED},      {0x0601, SND_EDITBOX_STRING},
      {0x0602, SND_EDITBOX_CHANGED},     {0x0701, SND_LISTBOX_DOUBLE_CLICK},
      {0x0702, SND_LISTBOX_SELECTION}};
  g_Settings.SfxVolume = 0.5f;
  for (auto [code, slot] : table) {
    PlayGuiEventSound(code, 7, control);
    EXPECT_EQ(device_.sounds[slot]->plays, std::vector<long>{-5000}) << code;
    EXPECT_EQ(device_.sounds[slot]->stops, 0) << code;
  }
  // Unknown codes and a null control make no sound.
  PlayGuiEventSound(0x0101, 7, nullptr);
  PlayGuiEventSound(0x0100, 7, control);
  PlayGuiEventSound(0x0703, 7, control);
  int plays = 0;
  for (const auto& s : device_.sounds) plays += static_cast<int>(s->plays.size());
  EXPECT_EQ(plays, 9);
}

TEST_F(SoundTest, PauseMutesTheMusicPlayerAndResumeRestoresTheSetting) {
  OnPauseChanged(true);  // no player: nothing happens
  dir_.Write("data/Music/playlists.csv", "-1;pl.txt\n");
  dir_.Write("pl.txt", "a.ogg\n");
  dir_.Write("a.ogg", "x");
  cMusicPlayer player;
  g_pMusicPlayer = &player;
  ASSERT_TRUE(player.PlayPlaylist(-1));
  g_Settings.MusicVolume = 0.3f;
  OnPauseChanged(true);
  EXPECT_EQ(device_.StreamOf("a.ogg")->volume, 0.0f);
  OnPauseChanged(false);
  EXPECT_FLOAT_EQ(device_.StreamOf("a.ogg")->volume, 0.3f);
  g_pMusicPlayer = nullptr;
}

}  // namespace
