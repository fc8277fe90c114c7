// A computer turn shown to the player: the worker plays West's whole war
// turn, its moves shown, while the main thread steps them, runs the view's
// requests and, holding the framework lock as its frames do, reads the map
// and the units and selects what stands under the cursor. Run under
// ThreadSanitizer, an access of the world outside the worker's locked steps
// shows up here.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "ai/ai_turn_fixture.h"
#include "support/recording_view.h"
#include "world/jednostka_ladowa.h"
#include "world/world.h"

namespace {

using twtest::TurnWorld;

TEST(AiTurnThread, WorkerPlaysAShownWarTurnWhileTheMainThreadStepsItsMovesAndReads) {
  TurnWorld w;
  w.War(TurnWorld::kWest, TurnWorld::kEast);
  cWorld& world = *w.world;
  auto* view = new twtest::RecordingView(world);
  world.SetView(std::unique_ptr<cWorldView>(view));
  world.turnState.showActions = true;
  world.turnState.viewCountry = &w.Ai();
  // Two weak East units, each with a West attacker three hexes away, and a
  // unit in the way of one of them; East's cities are held.
  cJednostkaLadowa& north = w.Land(7, 0, TurnWorld::kEast, 10, L"North");
  cJednostkaLadowa& south = w.Land(7, 2, TurnWorld::kEast, 10, L"South");
  w.Land(8, 1, TurnWorld::kEast, 100, L"Garrison of C");
  w.Land(11, 1, TurnWorld::kEast, 100, L"Garrison of D");
  for (int y : {0, 2}) w.Land(3, y, TurnWorld::kWest, 100, L"Attacker");
  w.Land(6, 2, TurnWorld::kWest, 10, L"In the way");
  for (cJednostkaLadowa* unit : world.Units().landUnits) unit->visible = true;

  int dangling = 0;
  int frames = 0;
  const twtest::sTurnRun run = w.PlayTurn([&] {
    ++frames;
    const auto& units = world.Units().landUnits;
    for (const sHex& hex : world.GetMap().Hexes()) {
      if (hex.unit == nullptr || hex.unit->category != kCategoryLand) continue;
      if (std::find(units.begin(), units.end(), hex.unit) == units.end()) ++dangling;
    }
    // The player's cursor walks the front and selects what stands there.
    const int x = 5 + frames % 4, y = frames % 3;
    world.turnState.selectedUnit = world.GetMap().GetHex(x, y).unit;
    if (const cUnit* selected = world.turnState.selectedUnit) {
      EXPECT_NE(std::find(units.begin(), units.end(), selected), units.end()) << "a unit that left the world";
    }
  });
  world.turnState.selectedUnit = nullptr;

  EXPECT_TRUE(run.ended);
  EXPECT_EQ(w.Count(L"[AI]: Ending turn"), 1);
  EXPECT_EQ(dangling, 0);
  EXPECT_GT(run.steps, 0);
  EXPECT_TRUE(!IsUnitInWorldLists(world, &north) || north.wasAttacked);
  EXPECT_TRUE(!IsUnitInWorldLists(world, &south) || south.wasAttacked);
  EXPECT_FALSE(view->Followed().empty()) << "the shown moves and battles are followed on the main thread";
  world.SetView(nullptr);
}

}  // namespace
