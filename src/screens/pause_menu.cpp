#include "screens/pause_menu.h"

#include "app/console_log.h"
#include "screens/destroy_game.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/save_game_dialog.h"
#include "app/sound.h"
#include "app/string_base.h"
#include "gui/dxut_element.h"
#include "platform/framework.h"
#include "screens/main_menu.h"
#include "screens/preferences_screens.h"
#include "world/world.h"
#if __has_include("screens/scenario_menu.h")
#include "screens/scenario_menu.h"
#include "screens/map_screen.h"
#define TW_HAVE_SCENARIO_MENU 1
#endif

cPauseMenu::cPauseMenu() {
  LogLine(L"----- Pause Menu -----");
  // The map stops taking input while the menu is over it.
  if (cMapScreen* screen = LoadedMapScreen()) screen->EnterMenuState();
  // {x, y, width, height}
  const plat::RectI frame = DXUTLayoutRect(kPauseMenuFrame);
  dialog_.AddFrame(kPauseMenuFrame, frame.left, frame.top, frame.right, frame.bottom, 0);
  struct sButton {
    int id;
    const char* key;
    const char* hint;
  };
  constexpr sButton kButtons[] = {
      {kPauseResume, "pause_resume", "pause_resume_hint"},
      {kPauseSave, "pause_save", "pause_save_hint"},
      {kPausePreferences, "pause_preferences", "pause_preferences_hint"},
      {kPauseAbort, "pause_abort", "pause_abort_hint"},
      {kPauseExit, "pause_exit", "pause_exit_hint"},
  };
  for (const sButton& button : kButtons) {
    dialog_.AddButtonFromLayout(button.id, g_StringBase.GetText(button.key),
                                g_StringBase.GetText(button.hint));
  }
  AddVersionLine(dialog_);
  if (g_pActiveDialog != nullptr) PopDialogs(1);
  dialog_.SetVisible(true);
}

void cPauseMenu::OnGUIEvent(unsigned event, int controlId, CDXUTControl*) {
  if (event != EVENT_BUTTON_CLICKED) return;
  switch (controlId) {
    case kPauseSave:
      // The map stays in its menu state under the save dialog, which gives
      // the map its input back when it closes.
      RetireCurrentMenu();
      if (g_pWorld != nullptr) {
        PushDialog(new cDialogZapisuGry(*g_pWorld, [] {
          if (cMapScreen* screen = LoadedMapScreen()) screen->EnterMapState();
        }));
      }
      return;
    case kPauseResume:
      // Back to the map.
      RetireCurrentMenu();
      if (cMapScreen* screen = LoadedMapScreen()) screen->EnterMapState();
      return;
    case kPausePreferences:
      // The dialog returns to the map when it closes.
      RetireCurrentMenu();
      if (g_pWorld != nullptr) OpenPreferencesOverGame(*g_pWorld);
      return;
    case kPauseAbort:
      DestroyGame();
      PlaySoundEffect(SND_MAIN_MENU_MUSIC_LOOP, true);
#ifdef TW_HAVE_SCENARIO_MENU
      (new cScenarioMenu())->FillList();
#else
      new cMainMenu();
#endif
      return;
    case kPauseExit:
      DestroyGame();
      RetireCurrentMenu();
      plat::GetFramework().Shutdown(0);
      return;
    default:
      return;
  }
}

void cPauseMenu::OnRender(float elapsed) { dialog_.OnRender(elapsed); }
