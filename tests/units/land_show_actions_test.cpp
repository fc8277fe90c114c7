// The computer opponent's land moves are shown (the map centred on the unit)
// exactly when the world's turn state says the current country's actions are
// shown and the unit is visible.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "app/settings.h"
#include "platform/clock.h"
#include "support/test_support.h"
#include "units/land_fixture.h"
#include "world/game_phase.h"

namespace {

using twtest::LandWorld;

std::atomic<int> g_targetX{-1};
std::atomic<int> g_targetY{-1};

void RememberTarget(cJednostkaLadowa&, int x, int y) {
  g_targetX = x;
  g_targetY = y;
}

// The main thread's part of a move: once the worker has set phase 10, the
// unit is put on the target and the phase goes back to 9.
class SteppingThread {
 public:
  SteppingThread(LandWorld& w, cJednostkaLadowa& unit)
      : thread_([&w, &unit] {
          while (w.world->GetGameState() != kPhaseComputerMove) std::this_thread::yield();
          unit.x = g_targetX;
          unit.y = g_targetY;
          w.Hex(unit.x, unit.y).unit = &unit;
          w.world->SetGameState(kPhaseComputerPlayers);
        }) {}
  ~SteppingThread() { thread_.join(); }
  SteppingThread(const SteppingThread&) = delete;
  SteppingThread& operator=(const SteppingThread&) = delete;

 private:
  std::thread thread_;
};

TEST(LandShowActionsThread, MovesCentreTheMapOnlyWhenActionsAreShown) {
  plat::ManualClock clock;
  plat::SetClock(&clock);
  g_Delays[kDelayAIMoveAfter] = 0.0f;
  struct sCase {
    bool showActions;
    bool visible;
    bool moveAside;
    int centred;
  };
  const sCase cases[] = {
      {true, true, false, 1}, {false, true, false, 0}, {true, false, false, 0},
      {true, true, true, 1},  {false, true, true, 0},
  };
  for (const sCase& c : cases) {
    LandWorld w({"pppppp", "pppppp"});
    w.AddCountries({kAllies});
    LandUnitConstants().move.terrainCost = {1, 1, 1, 1, 1, 1, 1, 1};
    g_LandTurnHooks.buildPath = &RememberTarget;
    w.world->SetGameState(kPhaseComputerPlayers);
    w.world->turnState.showActions = c.showActions;
    cJednostkaLadowa& unit = w.AddUnit(1, 0, 1);
    unit.visible = c.visible;
    unit.actionPoints = unit.startingActionPoints = 3;
    unit.ComputeMoveRange(true);
    twtest::LogCapture log;
    {
      SteppingThread main(w, unit);
      EXPECT_TRUE(c.moveAside ? unit.MoveAside() : unit.AiMoveToHex(3, 0));
    }
    EXPECT_NE(unit.x, 1);
    const auto lines = log.Lines();
    const auto centred = std::count_if(lines.begin(), lines.end(), [](const std::wstring& l) {
      return l.find(L"CenterAtHex") != std::wstring::npos;
    });
    EXPECT_EQ(centred, c.centred)
        << "shown " << c.showActions << ", visible " << c.visible << ", aside " << c.moveAside;
  }
  plat::SetClock(nullptr);
}

}  // namespace
