#include "screens/preferences_screens.h"

#include "app/console_log.h"
#include "app/draw_objects.h"
#include "app/gui_layout.h"
#include "app/settings.h"
#include "app/skins.h"
#include "app/string_base.h"
#include "app/texture.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/preferences_dialog.h"
#include "dialogs/preferences_values.h"
#include "gui/dxut_static.h"
#include "platform/format.h"
#include "platform/framework.h"
#include "screens/main_menu.h"
#include "screens/map_screen.h"
#include "world/map.h"
#include "world/world.h"

cSettingsMenu::cSettingsMenu() {
  g_Textures[kSettingsWallpaperSlot].Release();
  g_Textures[kSettingsWallpaperSlot].Load(L"data\\gfx\\wallpaper_preferences.png", cTexture::kFromFile, 1);
  // The border samples show the map skin's picture even without a game.
  if (g_pWorld == nullptr) {
    g_Textures[kSlotOthers].Load(plat::Format(L"data\\gfx\\[MapSkin]%s\\others.png", g_Settings.MapSkin).c_str(),
                                 cTexture::kFromFile, 1);
  }
  CDXUTStatic* title = nullptr;
  if (SUCCEEDED(dialog_.AddStaticFromLayout(kSettingsMenuTitle, g_StringBase.GetText("pref_title"), &title)) &&
      title != nullptr) {
    title->m_TextElement = 1;
    title->SetTextFormat(plat::kTextCenter | plat::kTextVCenter);
  }
  PushDialog(new cDialogUstawien(nullptr, [] {
    ApplyDisplayPreferences(nullptr);
    new cMainMenu();  // replaces this menu
  }));
  dialog_.SetVisible(true);
}

void cSettingsMenu::OnRender(float elapsed) {
  DrawMenuWallpaper(kSettingsWallpaperSlot);
  dialog_.OnRender(elapsed);
}

void OpenPreferencesOverGame(cWorld& world) {
  cWorld* game = &world;
  PushDialog(new cDialogUstawien(game, [game] {
    if (g_pWorld != game) return;
    ApplyDisplayPreferences(game);
    if (auto* screen = dynamic_cast<cMapScreen*>(game->View())) screen->EnterMapState();
  }));
}

bool ApplyDisplayPreferences(cWorld* world) {
  sSettings& s = g_Settings;
  const int width = g_SettingsIni.GetInt("Main/ResolutionX", s.ResolutionX);
  const int height = g_SettingsIni.GetInt("Main/ResolutionY", s.ResolutionY);
  const bool windowed = !g_SettingsIni.GetBool("Main/Fullscreen", !s.Windowed);
  if (width == s.ResolutionX && height == s.ResolutionY && windowed == s.Windowed) return false;
  if (!LayoutFileExists(width, height)) return false;

  plat::Framework& frame = plat::GetFramework();
  if (!frame.ChangeDisplayMode(windowed, width, height)) {
    LogLine(L"Changing the screen to %ix%i... FAILED", width, height);
    frame.ChangeDisplayMode(s.Windowed, s.ResolutionX, s.ResolutionY);
    return false;
  }
  const int oldWidth = s.ResolutionX, oldHeight = s.ResolutionY;
  s.ResolutionX = width;
  s.ResolutionY = height;
  s.Windowed = windowed;
  if (!LoadGuiLayoutFile(GuiLayoutFileName())) {
    // The layout file went away since the list was made: back to the old size.
    s.ResolutionX = oldWidth;
    s.ResolutionY = oldHeight;
    frame.ChangeDisplayMode(windowed, oldWidth, oldHeight);
    LoadGuiLayoutFile(GuiLayoutFileName());
    return false;
  }
  LogLine(L"Changing the screen to %ix%i... OK", width, height);

  if (world != nullptr) {
    cMap& map = world->GetMap();
    map.SetWidth(map.GetWidth());
    map.SetHeight(map.GetHeight());
    if (const plat::Texture* picture = map.MinimapTexture().Get()) {
      map.FitMinimapPicture(picture->Width(), picture->Height());
    }
    map.ApplyCurrentZoom();
    // The panels take their places from the layout when they are made. The
    // old screen goes first: its destructor takes back the map's hooks,
    // which the new one installs.
    world->SetView(nullptr);
    world->SetView(MakeMapScreen(*world));
    if (auto* screen = dynamic_cast<cMapScreen*>(world->View())) {
      screen->RefreshCounters();
      screen->RefreshDateLine();
      screen->RefreshSelection();
    }
  }
  return true;
}
