#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/sound.h"
#include "app/texture.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/recording_renderer.h"
#include "screens/intro.h"
#include "screens/main_menu.h"
#include "screens/menu.h"
#include "support/fake_audio.h"
#include "support/fake_framework.h"
#include "support/test_support.h"

namespace {

class Intro : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::SetClock(&clock_);
    clock_.Advance(50000);
    SetAudioDevice(&audio_);
    for (auto slot : {SND_INTRO_SOUND_LOGO, SND_INTRO_SOUND_GAME_LOGO, SND_MAIN_MENU_MUSIC_LOOP}) {
      const std::string name = std::to_string(slot) + ".wav";
      g_Sounds[slot] = audio_.LoadSound(dir_.Write(name, "RIFF"), 1);
    }
  }
  void TearDown() override {
    RetireCurrentMenu();
    DeleteRetiredMenus();
    for (auto& sound : g_Sounds) sound.reset();
    SetAudioDevice(nullptr);
    plat::SetClock(nullptr);
  }
  void Frame(int advanceMs) {
    clock_.Advance(advanceMs);
    if (framework_.frameMove) framework_.frameMove(0.0, 0.0f);
    if (framework_.frameRender) framework_.frameRender(0.0, 0.0f);
  }
  std::shared_ptr<twtest::FakeSoundRecord> Sound(int slot) {
    return audio_.SoundOf(dir_.File(std::to_string(slot) + ".wav"));
  }
  std::vector<std::wstring> IntroLines() const {
    std::vector<std::wstring> lines;
    for (const std::wstring& line : log_.Lines()) {
      if (line.find(L"intro movie") != std::wstring::npos) lines.push_back(line);
    }
    return lines;
  }

  plat::ManualClock clock_;
  twtest::TempDir dir_;
  twtest::FakeAudioDevice audio_;
  plat::RecordingRenderer renderer_;
  twtest::FakeFramework framework_{&renderer_};
  twtest::LogCapture log_;
};

TEST_F(Intro, MissingMoviesAreLoggedThenTheLogosRunEightSecondsEachAndTheMainMenuOpens) {
  StartIntro();  // the test's working folder has no data/
  EXPECT_EQ(IntroLines(), (std::vector<std::wstring>{L"Loading intro movie from dataintro.avi [FAILED]",
                                                     L"Loading intro movie from dataintro2.avi [FAILED]",
                                                     L"Loading intro movie from dataintro3.avi [FAILED]"}));
  EXPECT_FALSE(framework_.mouseMoves);
  Frame(0);
  EXPECT_EQ(g_Intro.logoState, 1);
  EXPECT_EQ(Sound(SND_INTRO_SOUND_LOGO)->plays.size(), 1u);

  // Each logo runs eight seconds, then the main menu opens.
  const std::uint32_t begun = g_Intro.startTime;
  Frame(8000);  // not over 8000 yet
  EXPECT_EQ(g_Intro.logoState, 1);
  Frame(1);
  EXPECT_EQ(g_Intro.logoState, 2);
  EXPECT_EQ(g_Intro.startTime, begun + 8001);
  EXPECT_EQ(g_pCurrentMenu, nullptr);
  Frame(8001);
  // State 3 ends the intro in the same frame.
  EXPECT_EQ(g_Intro.logoState, 0);
  ASSERT_NE(dynamic_cast<cMainMenu*>(g_pCurrentMenu), nullptr);
  EXPECT_EQ(Sound(SND_INTRO_SOUND_GAME_LOGO)->plays.size(), 2u);
  EXPECT_EQ(Sound(SND_MAIN_MENU_MUSIC_LOOP)->loops.size(), 1u);  // the menu music repeats
  // The intro's frame move is gone: the menu installed its own.
  EXPECT_TRUE(framework_.frameMove);
}

TEST_F(Intro, AKeyDuringTheFirstLogoEndsBothLogos) {
  StartIntro();
  Frame(0);
  Frame(500);
  framework_.keyboard(plat::kVkSpace, false, false);  // a key-up is no skip
  EXPECT_EQ(g_Intro.logoState, 1);
  framework_.keyboard(plat::kVkSpace, true, false);
  EXPECT_EQ(g_Intro.logoState, 2);
  EXPECT_EQ(g_pCurrentMenu, nullptr);
  Frame(16);
  EXPECT_NE(dynamic_cast<cMainMenu*>(g_pCurrentMenu), nullptr);
}

TEST_F(Intro, AClickDuringTheSecondLogoEndsTheIntro) {
  StartIntro();
  Frame(0);
  Frame(8001);
  ASSERT_EQ(g_Intro.logoState, 2);
  framework_.mouse(false, true, false, false, false, 0, 5, 5);  // right button: nothing
  EXPECT_EQ(g_Intro.logoState, 2);
  framework_.mouse(true, false, false, false, false, 0, 5, 5);
  EXPECT_EQ(g_Intro.logoState, 3);
  Frame(16);
  EXPECT_NE(dynamic_cast<cMainMenu*>(g_pCurrentMenu), nullptr);
}

}  // namespace
