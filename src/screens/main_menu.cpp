#include "screens/main_menu.h"

#include "app/console_log.h"
#include "app/draw_objects.h"
#include "app/framework_lock.h"
#include "app/gui_layout.h"
#include "app/movie_player.h"
#include "app/music_player.h"
#include "app/sound.h"
#include "app/string_base.h"
#include "app/texture.h"
#include "app/version.h"
#include "gui/dxut_element.h"
#include "platform/clock.h"
#include "platform/framework.h"
#include "platform/messages.h"
#include "screens/preferences_screens.h"
#if __has_include("screens/scenario_menu.h")
#include "screens/scenario_menu.h"
#define TW_HAVE_SCENARIO_MENU 1
#endif

void DrawMenuWallpaper(int slot) {
  plat::SpriteBatch* sprite = g_pSprite;
  cTexture& wallpaper = g_Textures[slot];
  if (sprite == nullptr || wallpaper.Get() == nullptr) return;
  int width = 0, height = 0;
  GetScreenSize(width, height);
  const sLayoutRect& source = g_GuiLayout[1];  // edges: left, top, right, bottom
  const int sourceWidth = source.c - source.a;
  const int sourceHeight = source.d - source.b;
  if (sourceWidth <= 0 || sourceHeight <= 0) return;
  sprite->Begin();
  const plat::Matrix2D saved = sprite->GetTransform();
  sprite->SetTransform(plat::Matrix2D::Scaling(static_cast<float>(width) / sourceWidth,
                                               static_cast<float>(height) / sourceHeight));
  const plat::RectI rect{source.a, source.b, source.c, source.d};
  sprite->Draw(*wallpaper.Get(), &rect, 0.0f, 0.0f, 0.0f, 0xFFFFFFFFu);
  sprite->SetTransform(saved);
  sprite->End();
}

void AddVersionLine(CDXUTDialog& dialog) {
  int width = 0, height = 0;
  GetScreenSize(width, height);
  // The static keeps its own copy of the text.
  const std::wstring line = VersionTitle(kGameVersion, kGameBuild);
  dialog.AddStatic(kVersionLineId, line.c_str(), 30, height - 30, 1024, 30);
}

cMainMenu::cMainMenu() {
  LogLine(L"----- Main Menu -----");
  if (g_Sounds[SND_INTRO_SOUND_GAME_LOGO]) g_Sounds[SND_INTRO_SOUND_GAME_LOGO]->Stop();
  PlaySoundEffect(SND_MAIN_MENU_MUSIC_LOOP, true);
  g_Textures[kMenuWallpaperSlot].Release();
  g_Textures[kMenuWallpaperSlot].Load(L"data\\gfx\\wallpaper_main.png", cTexture::kFromFile, 1);

  // {x, y, width, height}
  const plat::RectI frame = DXUTLayoutRect(kMainMenuFrame);
  dialog_.AddFrame(kMainMenuFrame, frame.left, frame.top, frame.right, frame.bottom, 0);
  struct sButton {
    int id;
    const char* key;
    const char* hint;
  };
  constexpr sButton kButtons[] = {
      {kMainMenuStart, "mainmenu_start", "mainmenu_start_hint"},
      {kMainMenuPreferences, "mainmenu_preferences", "mainmenu_preferences_hint"},
      {kMainMenuCredits, "mainmenu_credits", "mainmenu_credits_hint"},
      {kMainMenuExit, "mainmenu_exit", "mainmenu_exit_hint"},
  };
  for (const sButton& button : kButtons) {
    dialog_.AddButtonFromLayout(button.id, g_StringBase.GetText(button.key),
                                g_StringBase.GetText(button.hint));
  }
  AddVersionLine(dialog_);
  dialog_.SetVisible(true);
}

cMainMenu::~cMainMenu() = default;

void cMainMenu::OnGUIEvent(unsigned event, int controlId, CDXUTControl*) {
  if (event != EVENT_BUTTON_CLICKED) return;
  switch (controlId) {
    case kMainMenuStart:
      g_Textures[kMenuWallpaperSlot].Release();
#ifdef TW_HAVE_SCENARIO_MENU
      // This menu is retired by the new one and freed after the frame; touch
      // nothing of it afterwards.
      (new cScenarioMenu())->FillList();
#endif
      return;
    case kMainMenuPreferences:
      g_Textures[kMenuWallpaperSlot].Release();
      new cSettingsMenu();  // replaces this menu; touch nothing of it afterwards
      return;
    case kMainMenuCredits:
      StartCredits();
      return;
    case kMainMenuExit:
      g_Textures[kMenuWallpaperSlot].Release();
      plat::GetFramework().Shutdown(0);
      return;
    default:
      return;
  }
}

void cMainMenu::StartCredits() {
  if (credits_) return;
  dialog_.SetVisible(false);
  if (g_Sounds[SND_MAIN_MENU_MUSIC_LOOP]) g_Sounds[SND_MAIN_MENU_MUSIC_LOOP]->Stop();
  auto movie = std::make_unique<cMoviePlayer>();
  if (!movie->Open(L"data\\credits.avi")) {
    LogLine(L"Loading credits movie from datacredits.avi [FAILED]");
    EndCredits();
    return;
  }
  LogLine(L"Loading credits movie from datacredits.avi [OK]");
  if (g_pMusicPlayer != nullptr) {
    music_ = g_pMusicPlayer;
  } else {
    ownMusic_ = std::make_unique<cMusicPlayer>();
    music_ = ownMusic_.get();
  }
  music_->StopFile();
  music_->PlayFile("data/credits.ogg");
  movie->Play();
  credits_ = std::move(movie);
}

void cMainMenu::EndCredits() {
  if (credits_) credits_->Stop();
  if (music_ != nullptr) music_->StopFile();
  credits_.reset();
  ownMusic_.reset();
  music_ = nullptr;
  PlaySoundEffect(SND_MAIN_MENU_MUSIC_LOOP, true);
  dialog_.SetVisible(true);
}

void cMainMenu::OnKeyboard(unsigned key, bool keyDown, bool) {
  if (credits_ && keyDown && key == plat::kVkEscape) EndCredits();
}

void cMainMenu::OnFrameMove(double, float) {
  if (credits_ && !credits_->IsPlaying()) EndCredits();
}

void cMainMenu::OnRender(float elapsed) {
  if (credits_) {
    if (plat::Renderer* renderer = plat::GetFramework().GetRenderer()) credits_->Draw(*renderer);
    return;
  }
  DrawMenuWallpaper(kMenuWallpaperSlot);
  dialog_.OnRender(elapsed);
}
