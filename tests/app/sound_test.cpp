#include <gtest/gtest.h>

#include "app/fatal_exit.h"
#include "app/gui_sound.h"
#include "app/music_player.h"
#include "app/settings.h"
#include "app/sound.h"
#include "support/fake_audio.h"
#include "support/test_support.h"

namespace {

class SoundTest : public ::testing::Test {
 protected:
  SoundTest() : cwd_(dir_.Path()) {
    SetAudioDevice(&device_);
    g_Settings.SfxVolume = 1.0f;
    g_Settings.MusicVolume = 1.0f;
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

  twtest::LogCapture log_;
  twtest::TempDir dir_;
  twtest::ScopedWorkingFolder cwd_;
  twtest::FakeAudioDevice device_;
  cScopedThrowingFatalHook fatal_;
};

TEST_F(SoundTest, LoadsTheEffectsWithTheirVoicesAndLogsAMissingOne) {
  WriteAllEffectsBut("Buying");
  InitSound();
  ASSERT_EQ(device_.sounds.size(), 30u);
  EXPECT_EQ(device_.sounds[0]->path, "data/sound/AirStrike.wav");
  EXPECT_EQ(g_Sounds[SND_BUTTON_CLICK]->VoiceCount(), 3);
  EXPECT_EQ(g_Sounds[SND_BUYING], nullptr);
  for (int i = SND_EFFECT_COUNT; i < kSoundSlotCount; ++i) EXPECT_EQ(g_Sounds[i], nullptr);
  EXPECT_EQ(log_.Lines(), std::vector<std::wstring>{L"Error while loading Buying.wav!"});
}

TEST_F(SoundTest, AFailingSoundSystemLogsAndExitsWithCodeOne) {
  device_.initializeResult = false;
  EXPECT_THROW(InitSound(), sFatalExitError);
  EXPECT_TRUE(log_.Contains(L"error_initializing_directsound._exiting."));
  EXPECT_TRUE(device_.sounds.empty());

  device_.initializeResult = true;
  device_.formatResult = false;
  EXPECT_THROW(InitSound(), sFatalExitError);
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

}  // namespace
