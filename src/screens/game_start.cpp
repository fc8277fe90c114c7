#include "screens/game_start.h"

#include "ai/ai_player.h"
#include "app/framework_lock.h"
#include "rules/world_turn.h"
#include "screens/map_screen.h"
#include "screens/loading_menu.h"
#include "world/world.h"

sGameStartSettings g_GameStartSettings;

namespace {

// Points the world's loading steps at the current loading screen for the
// scope; unhooked also when a fatal data error unwinds (tests).
class cProgressHook {
 public:
  cProgressHook() {
    // Looked up at every step: the progress goes to whatever loading screen
    // is current, never to a menu that has gone.
    g_OnWorldLoadingProgress = [](int percent) {
      if (auto* loading = dynamic_cast<cLoadingMenu*>(g_pCurrentMenu)) loading->SetProgress(percent);
    };
  }
  ~cProgressHook() { g_OnWorldLoadingProgress = nullptr; }
  cProgressHook(const cProgressHook&) = delete;
  cProgressHook& operator=(const cProgressHook&) = delete;
};

}  // namespace

void LoadScenario(sGameStartSettings settings) {
  if (dynamic_cast<cLoadingMenu*>(g_pCurrentMenu) == nullptr) new cLoadingMenu();
  {
    cProgressHook hook;
    sWorldLoadHooks hooks;
    hooks.makeComputerPlayer = MakeAiPlayer;
    hooks.makeView = MakeMapScreen;
    hooks.endImpulse = [](cWorld& world) { EndImpulse(world, false); };
    LoadWorld(settings, hooks);
  }
  AcquireFrameworkLock(__FILE__, __LINE__);
  if (auto* loading = dynamic_cast<cLoadingMenu*>(g_pCurrentMenu)) loading->CreateNextMenu();
  ReleaseFrameworkLock(__FILE__, __LINE__);
}
