// The unit panel's refresh on "Europe, September 1939" with the map screen
// as the player sees it: a land unit and an air unit of the country at play
// selected in turn, every value written and every icon asking its unit's
// check (the air checks search their targets in range), and the same with
// another unit shown at each refresh (its picture loaded). Goal: under 0.2 ms.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "app/gui_layout.h"
#include "app/settings.h"
#include "files/world_loader.h"
#include "frame/device_events.h"
#include "platform/recording_renderer.h"
#include "platform/text.h"
#include "screens/map_screen.h"
#include "screens/unit_panel.h"
#include "world/hex.h"
#include "world/map.h"
#include "support/fake_framework.h"
#include "support/test_support.h"
#include "world/game_phase.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/world.h"

namespace {

namespace fs = std::filesystem;

// With alternate set, every refresh shows another unit than the one before
// (a land unit and the first air unit in turn), so each loads its picture.
template <class Unit>
void RefreshUnitPanel(benchmark::State& state, const std::list<Unit*>& (*pick)(cWorld&), bool alternate = false) {
  const fs::path root = twtest::FindSourceRoot("data/scenarios/Europe1939/Info.ini");
  if (root.empty() || !LoadGuiLayoutFile(plat::WidenBytes((root / "data/GUI_1024x768.csv").string()))) {
    state.SkipWithError("data/scenarios/Europe1939 not found (set TW_SOURCE_DIR)");
    return;
  }
  plat::RecordingRenderer renderer{1024, 768};
  twtest::FakeFramework framework{&renderer};
  g_Settings.ResolutionX = 1024;
  g_Settings.ResolutionY = 768;
  OnCreateDevice({1024, 768});
  OnResetDevice({1024, 768});
  twtest::TempDir folder;
  const fs::path previous = fs::current_path();
  fs::current_path(folder.Path());
  fs::create_directories("data/scenarios");
  fs::create_directory_symlink(root / "data/scenarios/Europe1939", "data/scenarios/Europe1939");
  fs::create_directory_symlink(root / "data/gfx", "data/gfx");
  LoadWorld(sGameStartSettings{L"data\\scenarios\\Europe1939\\%s", 0});
  cWorld& world = *g_pWorld;
  const std::list<Unit*>& units = pick(world);
  if (units.empty()) {
    state.SkipWithError("no unit of that kind in the scenario");
  } else {
    Unit* unit = units.front();
    unit->visible = true;
    world.turnState.SetCurrentCountry(world.GetCountry(unit->countryId));
    world.SetView(MakeMapScreen(world));
    world.SetGameState(kPhaseHumanTurn);
    world.turnState.selectedHex = &world.GetMap().GetHex(unit->x, unit->y);
    auto* panel = dynamic_cast<cUnitPanel*>(LoadedMapScreen()->Panel(cMapScreen::kUnit));
    sHex* first = world.turnState.selectedHex;
    sHex* second = first;
    if (alternate && !world.Units().airUnits.empty()) {
      const cJednostkaLotnicza* air = world.Units().airUnits.front();
      second = &world.GetMap().GetHex(air->x, air->y);
    }
    bool flip = false;
    for (auto _ : state) {
      world.turnState.selectedHex = flip ? second : first;
      flip = !flip;
      panel->Refresh();
      benchmark::DoNotOptimize(panel->ShownUnit());
    }
    world.SetView(nullptr);
  }
  delete g_pWorld;
  g_pWorld = nullptr;
  fs::current_path(previous);
}

const std::list<cJednostkaLadowa*>& LandUnits(cWorld& world) { return world.Units().landUnits; }
const std::list<cJednostkaLotnicza*>& AirUnits(cWorld& world) { return world.Units().airUnits; }

void BM_UnitPanelRefreshLandUnit(benchmark::State& state) { RefreshUnitPanel(state, LandUnits); }
void BM_UnitPanelRefreshAirUnit(benchmark::State& state) { RefreshUnitPanel(state, AirUnits); }
void BM_UnitPanelRefreshAnotherUnitEachTime(benchmark::State& state) { RefreshUnitPanel(state, LandUnits, true); }
BENCHMARK(BM_UnitPanelRefreshLandUnit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UnitPanelRefreshAnotherUnitEachTime)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UnitPanelRefreshAirUnit)->Unit(benchmark::kMicrosecond);

}  // namespace
