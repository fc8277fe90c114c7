#include "frame/window_rest.h"

#include "app/main_thread_queue.h"
#include "rules/worker_thread.h"
#include "world/game_phase.h"
#include "world/world.h"

bool WindowMayRest(const cWorld* world) {
  if (PendingMainThreadRequests() > 0 || g_bEventsCheckRequested.load()) return false;
  if (world == nullptr) return true;
  switch (world->GetGameState()) {
    case kPhaseNothingLoaded:
    case kPhaseScenarioLoaded:
    case kPhasePaused:
    case kPhaseHumanTurn:
      return true;
    default:
      return false;
  }
}
