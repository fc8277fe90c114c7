#include "files/world_loader.h"

#include "app/console_log.h"
#include "files/city_rows_file.h"
#include "files/topography_file.h"
#include "units/jednostka_ladowa.h"
#include "world/gra.h"

namespace {

void Progress(int percent) {
  if (g_OnWorldLoadingProgress) g_OnWorldLoadingProgress(percent);
}

// The first pass of a scenario started from its beginning.
void StartNewScenario(cWorld& world) {
  world.ResetCitySupplyRows();
  world.EndImpulse(false);
  Progress(90);
  // Events are not loaded yet: the list of their options is empty.
  world.SeedAutoEventsFromEvents({});
  Progress(95);
  // Airborne units may drop at once.
  for (cJednostkaLadowa* unit : world.Units().landUnits) unit->turnsSinceParadrop = world.constants.dropTurnsAtStart;
}

// The state a saved game keeps beyond the scenario's files.
void ContinueSavedGame(cWorld& world) {
  world.ResetCitySupplyRows();
  LoadCitiesSupplyInfo(world, world.folderPattern);
  Progress(90);
  world.topographies = LoadTopography(world, world.folderPattern);
  for (cJednostkaLadowa* unit : world.Units().landUnits) unit->UpdateEffectiveness();
  Progress(95);
  world.reports.Load(world.folderPattern);
  world.autoEvents.Load(world.folderPattern);
}

}  // namespace

void LoadWorld(const sGameStartSettings& settings) {
  delete g_pWorld;
  g_pWorld = nullptr;
  // The world makes itself the loaded game as its construction begins; a
  // construction that fails frees what it had read and leaves none.
  auto* world = new cWorld(settings.folderPattern, settings.isSavedGame != 0);
  try {
    Progress(80);
    world->FinishLoading();
    Progress(85);
    world->GetMap().RefreshBorderFlags();
    if (settings.isSavedGame == 0) {
      StartNewScenario(*world);
    } else {
      ContinueSavedGame(*world);
    }
  } catch (...) {
    delete world;
    g_pWorld = nullptr;
    throw;
  }
  Progress(100);
  LogLine(L"-- Loading new scenario done!");
  world->SetGameState(1);
}
