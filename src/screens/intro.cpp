#include "screens/intro.h"

#include <memory>

#include "app/console_log.h"
#include "app/draw_objects.h"
#include "app/gui_layout.h"
#include "gui/hint_text.h"
#include "app/settings.h"
#include "app/sound.h"
#include "app/texture.h"
#include "app/movie_player.h"
#include "platform/clock.h"
#include "platform/framework.h"
#include "platform/messages.h"
#include "screens/main_menu.h"
#include "world/country.h"

sIntroState g_Intro;

namespace {

struct sIntroMovie {
  const wchar_t* path;
  const wchar_t* logName;  // as the log has always written it
};
constexpr sIntroMovie kIntroMovies[] = {
    {L"data\\intro.avi", L"dataintro.avi"},
    {L"data\\intro2.avi", L"dataintro2.avi"},
    {L"data\\intro3.avi", L"dataintro3.avi"},
};
constexpr int kIntroMovieCount = 3;
// A skip moves the start time this far back, so the next frame finds the
// state's time over.
constexpr std::uint32_t kSkipMs = 10000;

std::unique_ptr<cMoviePlayer> g_pIntroMovie;

std::uint32_t Now() { return plat::GetTickCount(); }

void StopSound(int slot) {
  if (g_Sounds[slot]) g_Sounds[slot]->Stop();
}

void BeginLogos() {
  g_Intro.movie = kIntroMovieCount;
  g_Textures[kIntroLogoSlot1].Load(L"data\\gfx\\logof.png", cTexture::kFromFile, 1);
  g_Textures[kIntroLogoSlot2].Load(L"data\\gfx\\logog.png", cTexture::kFromFile, 1);
  g_Intro.logoState = 0;
  g_Intro.startTime = 0;
}

// Opens movies from the current index on until one plays; after the last
// the logos begin.
void OpenNextMovie() {
  while (g_Intro.movie < kIntroMovieCount) {
    const sIntroMovie& movie = kIntroMovies[g_Intro.movie];
    auto player = std::make_unique<cMoviePlayer>();
    if (player->Open(movie.path)) {
      LogLine(L"Loading intro movie from %s [OK]", movie.logName);
      player->Play();
      g_pIntroMovie = std::move(player);
      return;
    }
    LogLine(L"Loading intro movie from %s [FAILED]", movie.logName);
    ++g_Intro.movie;
  }
  g_pIntroMovie.reset();
  BeginLogos();
}

void StopIntroMovie() {
  if (g_pIntroMovie) g_pIntroMovie->Stop();
}

// The end of the intro: the interface textures, the hint, the main menu.
void FinishIntro() {
  g_Intro.startTime = g_Intro.currentTime = 0;
  g_Intro.logoState = 0;
  g_Intro.running = false;
  g_Textures[kIntroLogoSlot1].Release();
  g_Textures[kIntroLogoSlot2].Release();
  g_Textures[kCursorSlot].Load(L"data\\gfx\\cur.png", cTexture::kFromFile, 1);
  g_HintText.Init(20, 20, static_cast<int>(g_Delays[kDelayControlHint].load()), nullptr);
  g_Textures[kConsoleSheetSlot].Load(L"data\\gfx\\console.png", cTexture::kFromFile, 1);
  g_Textures[kDefaultFlagSlot].Load(L"data\\gfx\\Flags\\unknown.png", cTexture::kFromFile, 1);
  SetDefaultFlagTexture(&g_Textures[kDefaultFlagSlot]);
  // "data\gfx\GUI.png" is the GUI toolkit's atlas; its resource manager
  // loads it with the device.
  plat::GetFramework().SetCallbackFrameMove(nullptr);
  new cMainMenu();  // becomes the current menu
}

}  // namespace

void StartIntro() {
  g_Intro = sIntroState{};
  g_Intro.running = true;
  plat::Framework& framework = plat::GetFramework();
  framework.SetCallbackMouse(IntroOnMouse, false);
  framework.SetCallbackKeyboard(IntroOnKeyboard);
  framework.SetCallbackFrameRender(IntroOnFrameRender);
  framework.SetCallbackFrameMove(IntroOnFrameMove);
  OpenNextMovie();
}

void SkipIntroLogos() {
  if (g_Intro.logoState == 1) {
    g_Intro.startTime = Now();
    g_Intro.logoState = 2;
    StopSound(SND_INTRO_SOUND_LOGO);
    PlaySoundEffect(SND_INTRO_SOUND_GAME_LOGO);
  } else if (g_Intro.logoState == 2) {
    g_Intro.logoState = 3;
    StopSound(SND_INTRO_SOUND_LOGO);
    PlaySoundEffect(SND_INTRO_SOUND_GAME_LOGO);
  }
  g_Intro.startTime += kSkipMs;
}

void IntroOnKeyboard(unsigned key, bool keyDown, bool) {
  if (!keyDown) return;
  if (g_Intro.movie < kIntroMovieCount) {
    if (key == plat::kVkEscape) StopIntroMovie();
    return;
  }
  SkipIntroLogos();
}

void IntroOnMouse(bool left, bool, bool, bool, bool, int, int, int) {
  if (!left) return;
  if (g_Intro.movie < kIntroMovieCount) {
    StopIntroMovie();
    return;
  }
  SkipIntroLogos();
}

void IntroOnFrameMove(double, float) {
  if (!g_Intro.running) return;
  if (g_Intro.movie < kIntroMovieCount) {
    if (g_pIntroMovie && g_pIntroMovie->IsPlaying()) return;
    g_pIntroMovie.reset();
    ++g_Intro.movie;
    OpenNextMovie();
    return;
  }

  const std::uint32_t now = Now();
  if (g_Intro.logoState == 0) {
    g_Intro.startTime = now;
    g_Intro.logoState = 1;
    PlaySoundEffect(SND_INTRO_SOUND_LOGO);
  }
  g_Intro.currentTime = now;
  // Unsigned on purpose: a skip puts the start time ahead of now, and the
  // wrapped difference is beyond every limit.
  std::uint32_t elapsed = g_Intro.currentTime - g_Intro.startTime;
  if (g_Intro.logoState == 1 && elapsed > kLogoShowMs) {
    g_Intro.startTime = now;
    g_Intro.logoState = 2;
    StopSound(SND_INTRO_SOUND_LOGO);
    PlaySoundEffect(SND_INTRO_SOUND_GAME_LOGO);
  } else if (g_Intro.logoState == 2 && elapsed > kLogoShowMs) {
    g_Intro.logoState = 3;
    StopSound(SND_INTRO_SOUND_LOGO);
    PlaySoundEffect(SND_INTRO_SOUND_GAME_LOGO);
  }
  elapsed = g_Intro.currentTime - g_Intro.startTime;
  if (elapsed / 10 < 255) {
    const std::uint32_t level = elapsed / 10;
    g_Intro.fadeColor = 0xFF000000u | (level << 16) | (level << 8) | level;
  }
  if (elapsed > 5000 && (elapsed - 5000) / 10 < 255) {
    const std::uint32_t level = 255 - (elapsed - 5000) / 10;
    g_Intro.fadeColor = 0xFF000000u | (level << 16) | (level << 8) | level;
  }
  if (g_Intro.logoState == 3) FinishIntro();
}

void IntroOnFrameRender(double, float) {
  plat::Renderer* renderer = plat::GetFramework().GetRenderer();
  if (renderer == nullptr) return;
  if (renderer->BeginScene() < 0) return;
  renderer->Clear(0xFF000000u);
  if (g_Intro.movie < kIntroMovieCount) {
    if (g_pIntroMovie) g_pIntroMovie->Draw(*renderer);
  } else if ((g_Intro.logoState == 1 || g_Intro.logoState == 2) && g_pSprite != nullptr) {
    cTexture& logo = g_Textures[g_Intro.logoState == 1 ? kIntroLogoSlot1 : kIntroLogoSlot2];
    if (logo.Get() != nullptr) {
      g_pSprite->Begin();
      g_pSprite->Draw(*logo.Get(), nullptr, static_cast<float>(g_GuiLayout[0].a),
                      static_cast<float>(g_GuiLayout[0].b), 0.0f, g_Intro.fadeColor);
      g_pSprite->End();
    }
  }
  renderer->EndScene();
}
