#include "screens/game_start.h"

#include <string_view>

#include "ai/ai_player.h"
#include "app/console_log.h"
#include "app/fatal_exit.h"
#include "app/framework_lock.h"
#include "rules/world_turn.h"
#include "screens/destroy_game.h"
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

std::optional<std::wstring> LoadScenario(sGameStartSettings settings) {
  if (dynamic_cast<cLoadingMenu*>(g_pCurrentMenu) == nullptr) new cLoadingMenu();
  {
    cProgressHook hook;
    sWorldLoadHooks hooks;
    hooks.makeComputerPlayer = MakeAiPlayer;
    hooks.makeView = MakeMapScreen;
    hooks.endImpulse = [](cWorld& world) { EndImpulse(world, false); };
    // A data error of the game's files ends its loading, not the program:
    // the player chooses another game. The reason is the line the loading
    // wrote last before it gave up.
    cLastLogLine last;
    std::wstring reason;
    try {
      cScopedFatalExitHook refusing([&last, &reason](int exitCode) {
        reason = last.Line();
        throw sFatalExitError{exitCode};
      });
      LoadWorld(settings, hooks);
    } catch (const sFatalExitError&) {
      std::wstring folder = settings.folderPattern;
      if (folder.size() >= 3 && folder.compare(folder.size() - 3, 3, L"\\%s") == 0) folder.resize(folder.size() - 3);
      LogLine(L"-- The %s %s cannot be loaded", settings.isSavedGame != 0 ? L"saved game" : L"scenario", folder);
      // What the loading had loaded for the game (its skins) goes too.
      DestroyGame();
      // The game goes on: the loader's word that the program ends is not
      // the player's.
      constexpr std::wstring_view kExiting = L" Exiting...";
      if (reason.ends_with(kExiting)) reason.resize(reason.size() - kExiting.size());
      return reason;
    }
  }
  AcquireFrameworkLock(__FILE__, __LINE__);
  if (auto* loading = dynamic_cast<cLoadingMenu*>(g_pCurrentMenu)) loading->CreateNextMenu();
  ReleaseFrameworkLock(__FILE__, __LINE__);
  return std::nullopt;
}
