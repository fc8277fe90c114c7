#include "frame/window_rest.h"

#include "app/main_thread_queue.h"
#include "dialogs/combat_result_dialog.h"
#include "dialogs/dialog_stack.h"
#include "rules/worker_thread.h"
#include "world/game_phase.h"
#include "world/world.h"
#include "world/world_view.h"

namespace {

// The computer's combat report is up and waits for the player's click (its
// countdown stopped: held until a click, or paused): the worker sleeps until
// it closes, and the frames show the same picture meanwhile.
bool ComputerReportWaitsForClick(const cWorld& world) {
  const cWorldView* view = world.View();
  if (view == nullptr || !view->ComputerCombatResultOpen()) return false;
  const auto* report = dynamic_cast<const cDialogWynikuWalki*>(VisibleActiveDialog());
  return report != nullptr && report->IsTimerStopped();
}

}  // namespace

bool WindowMayRest(const cWorld* world) {
  if (PendingMainThreadRequests() > 0 || g_bEventsCheckRequested.load()) return false;
  if (world == nullptr) return true;
  switch (world->GetGameState()) {
    case kPhaseNothingLoaded:
    case kPhaseScenarioLoaded:
    case kPhasePaused:
    case kPhaseHumanTurn:
      return true;
    case kPhaseComputerPlayers:
      return ComputerReportWaitsForClick(*world);
    default:
      return false;
  }
}
