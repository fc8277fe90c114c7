#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/sound.h"
#include "app/texture.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/movie.h"
#include "platform/recording_renderer.h"
#include "screens/intro.h"
#include "screens/main_menu.h"
#include "screens/menu.h"
#include "support/fake_audio.h"
#include "support/fake_framework.h"
#include "support/test_support.h"

namespace {

// A movie that plays until a test ends it.
struct MovieControl {
  bool open = true;
  bool ended = false;
  std::vector<std::string> opened;
};

class ControlledDecoder final : public plat::MovieDecoder {
 public:
  explicit ControlledDecoder(MovieControl& control) : control_(control) {}
  bool Open(const std::string& path) override {
    control_.opened.push_back(path);
    return control_.open;
  }
  int Width() const override { return 2; }
  int Height() const override { return 2; }
  double FrameRate() const override { return 10; }
  double Duration() const override { return 100; }
  bool Advance(double) override { return false; }
  const std::uint32_t* CurrentFrameARGB(int& pitch) const override {
    pitch = 2;
    return nullptr;
  }
  bool AtEnd() const override { return control_.ended; }

 private:
  MovieControl& control_;
};

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
    plat::SetMovieDecoderFactory(nullptr);
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

TEST_F(Intro, MissingMoviesAreLoggedAndTheLogosBegin) {
  StartIntro();  // the test's working folder has no data/
  EXPECT_EQ(IntroLines(), (std::vector<std::wstring>{L"Loading intro movie from dataintro.avi [FAILED]",
                                                     L"Loading intro movie from dataintro2.avi [FAILED]",
                                                     L"Loading intro movie from dataintro3.avi [FAILED]"}));
  EXPECT_EQ(g_Intro.logoState, 0);
  EXPECT_FALSE(framework_.mouseMoves);
  Frame(0);
  EXPECT_EQ(g_Intro.logoState, 1);
  EXPECT_EQ(Sound(SND_INTRO_SOUND_LOGO)->plays.size(), 1u);
}

TEST_F(Intro, LogosRunEightSecondsEachThenTheMainMenuOpens) {
  StartIntro();
  Frame(0);
  const std::uint32_t begun = g_Intro.startTime;
  Frame(8000);  // not over 8000 yet
  EXPECT_EQ(g_Intro.logoState, 1);
  Frame(1);
  EXPECT_EQ(g_Intro.logoState, 2);
  EXPECT_EQ(g_Intro.startTime, begun + 8001);
  EXPECT_EQ(Sound(SND_INTRO_SOUND_GAME_LOGO)->plays.size(), 1u);
  EXPECT_EQ(g_pCurrentMenu, nullptr);
  Frame(8001);
  // State 3 ends the intro in the same frame.
  EXPECT_EQ(g_Intro.logoState, 0);
  ASSERT_NE(dynamic_cast<cMainMenu*>(g_pCurrentMenu), nullptr);
  EXPECT_TRUE(log_.Contains(L"----- Main Menu -----"));
  EXPECT_EQ(Sound(SND_INTRO_SOUND_GAME_LOGO)->plays.size(), 2u);
  EXPECT_EQ(Sound(SND_MAIN_MENU_MUSIC_LOOP)->loops.size(), 1u);  // the menu music repeats
  // The intro's frame move is gone: the menu installed its own.
  EXPECT_TRUE(framework_.frameMove);
}

TEST_F(Intro, LogosFadeInAndOut) {
  StartIntro();
  Frame(0);
  Frame(1000);
  EXPECT_EQ(g_Intro.fadeColor, 0xFF646464u);  // level 100
  Frame(1540);
  EXPECT_EQ(g_Intro.fadeColor, 0xFFFEFEFEu);  // 2540 ms: level 254
  Frame(60);
  EXPECT_EQ(g_Intro.fadeColor, 0xFFFEFEFEu);  // past 2550 the colour is kept
  Frame(3400);  // 6000 ms: 100 below full
  EXPECT_EQ(g_Intro.fadeColor, 0xFF9B9B9Bu);
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

TEST_F(Intro, MoviesPlayInTurnAndEscapeStopsOne) {
  MovieControl control;
  plat::SetMovieDecoderFactory([&control] { return std::make_unique<ControlledDecoder>(control); });
  twtest::ScopedWorkingFolder folder(dir_.Path());
  for (const char* name : {"data/intro.avi", "data/intro2.avi", "data/intro3.avi"}) dir_.Write(name, "avi");
  StartIntro();
  EXPECT_EQ(IntroLines(), std::vector<std::wstring>{L"Loading intro movie from dataintro.avi [OK]"});
  Frame(16);
  EXPECT_EQ(g_Intro.movie, 0);
  // Keys other than Esc do not stop a movie, nor skip the logos yet.
  framework_.keyboard(plat::kVkSpace, true, false);
  Frame(16);
  EXPECT_EQ(g_Intro.movie, 0);
  framework_.keyboard(plat::kVkEscape, true, false);
  Frame(16);
  EXPECT_EQ(g_Intro.movie, 1);
  framework_.mouse(true, false, false, false, false, 0, 1, 1);
  Frame(16);
  EXPECT_EQ(g_Intro.movie, 2);
  control.ended = true;  // the last one runs to its end
  Frame(16);
  EXPECT_EQ(g_Intro.movie, 3);
  EXPECT_EQ(IntroLines().size(), 3u);
  EXPECT_EQ(g_Intro.logoState, 0);
  Frame(16);
  EXPECT_EQ(g_Intro.logoState, 1);
}

}  // namespace
