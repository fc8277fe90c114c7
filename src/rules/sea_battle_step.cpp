// The sea-battle step of the end of an impulse. The worker thread fights the
// battles; a battle a player fights or watches is played on the sea-battle
// screen, which the main thread makes and drives while the worker waits
// (without the framework lock, giving up when told to stop). Battles of
// computer players alone are fought at once.
#include <functional>
#include <string>

#include "app/console_log.h"
#include "app/main_thread_queue.h"
#include "app/string_base.h"
#include "rules/sea_battle.h"
#include "rules/worker_messages.h"
#include "world/game_phase.h"
#include "world/turn_state.h"
#include "world/worker_steps.h"
#include "world/world.h"

namespace {

// How often the worker looks whether the screen or the message is still
// open.
constexpr int kScreenPollMs = 200;

// Runs request with the world's sea-battle view on the main thread; false
// when there is no such view (nothing shows the world) or the worker was
// told to stop before it ran.
bool WithSeaBattleView(cWorld& world, const std::function<void(cWorldView&, cSeaBattleView&)>& request) {
  bool reached = false;
  const bool ran = RunOnMainThread(
      [&world, &request, &reached] {
        cWorldView* view = world.View();
        auto* battleView = dynamic_cast<cSeaBattleView*>(view);
        if (battleView == nullptr) return;
        reached = true;
        request(*view, *battleView);
      },
      world.WorkerStopFlag());
  return ran && reached;
}

// Plays the battle's rounds on the screen: the main thread makes it the
// current menu (phase 5) and the worker sleeps until its close button has
// set phase 4 again. A battle nobody fights or watches, or one for which no
// screen can be shown, is left to the rules, which play it out at once.
void PlayOnScreen(cWorld& world, cSeaBattle& battle) {
  if (!ShowsSeaBattle(world, battle)) return;
  LogLine(L"Sea battle at %ls: shown on the sea-battle screen", battle.seaAreaName.c_str());
  if (!WithSeaBattleView(world, [&battle](cWorldView&, cSeaBattleView& view) { view.ShowSeaBattle(battle); })) {
    return;
  }
  WaitWhilePhase(world, kPhaseSeaBattleScreen, kScreenPollMs, __FILE__, __LINE__);
}

}  // namespace

bool ShowsSeaBattle(const cWorld& world, const cSeaBattle& battle) {
  return world.playByEmail || battle.firstSideHuman || battle.secondSideHuman;
}

void RunSeaBattles(cWorld& world) {
  world.SetGameState(kPhaseSeaBattles);
  const wchar_t* status = g_StringBase.GetText("statusbar_hint_determining_sea_battles");
  ShowStatusText(status != nullptr ? status : L"");
  sSeaBattleHooks hooks;
  hooks.showPreliminaryReport = [&world](const std::wstring& title, const std::wstring& text) {
    ShowTextAndWait(world, text, title);
  };
  hooks.playRegularPart = [&world](cSeaBattle& battle) { PlayOnScreen(world, battle); };
  GenerateSeaBattles(world, hooks);
}
