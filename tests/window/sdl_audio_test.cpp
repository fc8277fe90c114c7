// The SDL2_mixer sound device under the dummy audio driver, with the game's
// own effects and music files.
#include "platform/sdl/sdl_audio.h"

#include <gtest/gtest.h>

#include <SDL_mixer.h>

#include <cstdlib>
#include <filesystem>

#include "app/sound.h"
#include "platform/clock.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

TEST(SdlAudio, LoadsAndPlaysTheGamesEffectsAndMusic) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  const fs::path root = twtest::FindSourceRoot("data/sound");
  ASSERT_FALSE(root.empty()) << "data/sound not found";
  const std::string data = (root / "data").string();

  plat::sdl::SdlAudioDevice device;
  ASSERT_TRUE(device.Initialize());
  ASSERT_TRUE(device.SetPrimaryFormat(1, 22050, 8));

  std::vector<std::unique_ptr<plat::Sound>> sounds;
  for (const auto& info : g_SoundEffects) {
    sounds.push_back(device.LoadSound(data + "/sound/" + info.name + ".wav", info.voices));
    ASSERT_NE(sounds.back(), nullptr) << info.name;
    EXPECT_EQ(sounds.back()->VoiceCount(), info.voices);
  }
  EXPECT_EQ(device.LoadSound(data + "/sound/Nothing.wav", 1), nullptr);
  EXPECT_EQ(device.LoadSound(data + "/Music/playlists.csv", 1), nullptr);

  // Four plays of a three-voice effect sound on three channels at most.
  plat::Sound& combat = *sounds[SND_LAND_COMBAT];
  for (int i = 0; i < 4; ++i) combat.Play(-1000);
  EXPECT_EQ(Mix_Playing(-1), 3);
  combat.Stop();
  EXPECT_EQ(Mix_Playing(-1), 0);

  // The playlist's tracks stay open together; one plays beside the credits.
  auto t1 = device.OpenStream(data + "/Music/track01.ogg");
  auto t2 = device.OpenStream(data + "/Music/track02.ogg");
  auto t3 = device.OpenStream(data + "/Music/track03.ogg");
  auto credits = device.OpenStream(data + "/credits.ogg");
  ASSERT_TRUE(t1 && t2 && t3 && credits);
  EXPECT_EQ(device.OpenStream(data + "/Music/none.ogg"), nullptr);
  t2->SetVolume(0.5f);
  t2->Play();
  credits->Play();
  EXPECT_TRUE(t2->IsPlaying());
  EXPECT_TRUE(credits->IsPlaying());
  EXPECT_FALSE(t1->IsPlaying());
  sounds[SND_NAVAL_GUN]->Play(0);  // an effect does not take a stream's channel
  EXPECT_TRUE(t2->IsPlaying());
  t2->Stop();
  EXPECT_FALSE(t2->IsPlaying());
  EXPECT_TRUE(credits->IsPlaying());
  credits.reset();
  EXPECT_EQ(Mix_Playing(-1), 1);  // the naval gun

  // A short stream ends by itself.
  auto click = device.OpenStream(data + "/sound/ButtonClick.wav");
  ASSERT_NE(click, nullptr);
  click->Play();
  for (int i = 0; i < 100 && click->IsPlaying(); ++i) plat::Sleep(20);
  EXPECT_FALSE(click->IsPlaying());
}

}  // namespace
