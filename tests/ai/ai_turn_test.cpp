// Whole turns of a computer country on a small world: the branch of a
// country at war and of one at peace with the lines that mark their steps,
// a declaration of war that changes the same turn, a stopping worker that
// leaves the turn, and what the turn does with the units: the attack on the
// weak neighbour, the room made for an attacker, the strategic moves to a
// front that needs them, the purchases by the country's profile, the
// replacements of the end of the turn and, at peace, the supply convoys. Every turn runs on a worker thread
// with its moves stepped by the main thread, as in the game.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "ai/ai_economy.h"
#include "ai/ai_fronts.h"
#include "ai/ai_turn_fixture.h"
#include "files/world_loader.h"
#include "platform/recording_renderer.h"
#include "support/fake_framework.h"
#include "support/fixture_scenario.h"
#include "world/ai_orders.h"
#include "world/convoy.h"
#include "world/hex.h"
#include "world/jednostka_ladowa.h"
#include "world/world.h"

namespace {

using twtest::TurnWorld;

// The lines that mark the steps of a turn, for West.
const std::vector<std::wstring> kMarks = {
    L"[AI] West: NEW TURN",
    L"[AI]: West ma wojne",
    L"[AI]: West nie ma wojny",
    L"[AI]: West - Replacements",
    L"[AI]: West - Rebasing air units",
    L"[AI]: West - Deploying new units",
    L"[AI]: West - Air fights",
    L"[AI]: West - Checking the state of fronts (before operational planning)",
    L"[AI]: West - Calculating line of defence...",
    L"[AI]: West - Operational planning...",
    L"bu 1",
    L"bu 2",
    L"bu 3",
    L"bu 4",
    L"bu 5",
    L"bu 6",
    L"[AI]: West - Executing operational moves...",
    L"[AI]: West - Planning sea transport of units to front...",
    L"[AI]: Ending turn",
};

// The war branch with every front held, in order.
const std::vector<std::wstring> kWarTurn = {
    L"[AI] West: NEW TURN",
    L"[AI]: West ma wojne",
    L"[AI]: West - Replacements",
    L"[AI]: West - Rebasing air units",
    L"[AI]: West - Deploying new units",
    L"[AI]: West - Air fights",
    L"[AI]: West - Checking the state of fronts (before operational planning)",
    L"[AI]: West - Operational planning...",
    L"bu 1",
    L"bu 2",
    L"bu 3",
    L"bu 4",
    L"bu 5",
    L"bu 6",
    L"[AI]: West - Executing operational moves...",
    L"[AI]: West - Planning sea transport of units to front...",
    L"[AI]: Ending turn",
};

// The rand() value whose share rand() / kRandMax is share.
int TurnDrawFor(float share) { return static_cast<int>(share * plat::kRandMax); }

bool Attacked(const cWorld& world, const cJednostkaLadowa& unit) { return !IsUnitInWorldLists(world, &unit) || unit.wasAttacked; }

class AiTurn : public ::testing::Test {
 protected:
  // Prices for land units of types 1 (40 points) and 4 (24 points).
  void OpenTheShop() {
    sScenarioConstants& k = w.world->constants;
    k.landBaseStrength[0] = {10, 20, 10, 20, 12, 24, 10};
    k.levelCostFactors = {2, 2, 2, 2, 2, 2, 2};
    k.purchaseFactors = {30, 40, 50, 60};
    w.Ai().techLevel[kTechArtillery] = 1;
    w.Ai().techLevel[kTechTanks] = 1;
  }
  bool Logged(const std::wstring& text) const {
    const auto lines = w.log.Lines();
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::wstring& line) { return line.find(text) != std::wstring::npos; });
  }

  TurnWorld w;
};

// --- the branches and their lines ---

TEST_F(AiTurn, ACountryAtWarWithNobodyBuysButBuildsNoFrontAndAttacksNobody) {
  // East's weak unit stands next to West's strong one, but they are at peace.
  cJednostkaLadowa& east = w.Land(7, 1, TurnWorld::kEast, 10, L"East 1");
  cJednostkaLadowa& west = w.Land(6, 1, TurnWorld::kWest, 100, L"West 1");
  OpenTheShop();
  w.Ai().aiData.newUnitPurchasePreferences = {0, 1};
  w.Ai().productionPoints = 100.0;
  const std::size_t units = w.world->Units().landUnits.size();

  const twtest::sTurnRun run = w.PlayTurn();
  EXPECT_TRUE(run.ended);
  EXPECT_EQ(w.Only(kMarks),
            (std::vector<std::wstring>{L"[AI] West: NEW TURN", L"[AI]: West nie ma wojny", L"[AI]: Ending turn"}));
  EXPECT_TRUE(w.player.Fronts().empty());
  EXPECT_EQ(w.CountStartingWith(L"[AI] West: Saving poorly defended fronts"), 0);
  EXPECT_EQ(w.CountStartingWith(L"[AI] ATAKI WIELOKIERUNKOWE"), 0);
  EXPECT_FALSE(east.wasAttacked);
  EXPECT_EQ(east.strength, 10);
  EXPECT_FALSE(west.attacked);
  EXPECT_EQ(run.steps, 0);
  // The purchases ran: new units, in the reserve or already deployed.
  EXPECT_GT(w.world->Units().reservePool.size() + w.world->Units().landUnits.size(), units);
  EXPECT_LT(w.Ai().productionPoints, 100.0);
}

// The fixture scenario with Eastmark (2) at peace with everybody and its
// port Straitport cut off from its supplied port Eastport.
class AiPeaceTurnOnTheFixture : public ::testing::Test {
 protected:
  static constexpr int kEastmark = 2, kEastport = 4, kStraitport = 5;

  void SetUp() override {
    ASSERT_FALSE(twtest::FixtureScenarioSource().empty()) << "set TW_SOURCE_DIR";
    LoadWorld(twtest::CopyFixtureScenario(dir_.Path()));
    world_.reset(g_pWorld);
    ASSERT_NE(world_, nullptr);
    cWorld& w = *world_;
    w.GetRelations().Reset(w.GetCountryCount());
    w.constants.maxSupply = 20;
    cCity* eastport = ConvoyPortCityOfNode(w, kEastport);
    cCity* straitport = ConvoyPortCityOfNode(w, kStraitport);
    ASSERT_TRUE(eastport != nullptr && straitport != nullptr);
    w.ResetCitySupplyRows();
    eastport->type = kCitySupplyPort;
    straitport->type = kCityPort;
    for (const cCity* city : {eastport, straitport}) {
      sHex& hex = w.GetMap().GetHex(city->x, city->y);
      hex.owner = hex.controller = static_cast<std::uint8_t>(kEastmark);
    }
    straitport->supplyInfo[kEastmark - 1] = 6;
    w.topographies.resize(static_cast<std::size_t>(w.GetCountryCount()));
    w.topographies[kEastmark - 1] = {{eastport}, {straitport}};
    w.Units().convoys.ConvoysOf(kEastmark)->clear();
    w.turnState.SetCurrentCountry(w.GetCountry(kEastmark));
    w.turnState.showActions = false;
    w.SetGameState(kPhaseComputerPlayers);
    plat::SetClock(&clock_);
  }
  void TearDown() override {
    plat::SetClock(nullptr);
    runner_.reset();
    world_.reset();
    g_pWorld = nullptr;
  }

  twtest::TempDir dir_;
  twtest::ScopedWorkingFolder folder_{dir_.Path()};
  plat::RecordingRenderer renderer_;
  twtest::FakeFramework frame_{&renderer_};
  twtest::ZeroDelays delays_;
  twtest::TurnClock clock_;
  std::unique_ptr<cWorld> world_;
  std::unique_ptr<twtest::TurnRunner> runner_;
};

TEST_F(AiPeaceTurnOnTheFixture, ACountryAtPeacePlansItsSupplyConvoysInItsTurn) {
  const twtest::LogCapture log;
  cAiPlayer player;
  runner_ = std::make_unique<twtest::TurnRunner>(*world_);
  EXPECT_TRUE(runner_->Play(player).ended);
  const std::wstring name = world_->GetCountry(kEastmark)->name;
  EXPECT_TRUE(log.Contains(L"[AI]: " + name + L" nie ma wojny"));
  EXPECT_TRUE(log.Contains(L"[AI]: Ending turn"));
  EXPECT_FALSE(log.Contains(L"[AI]: " + name + L" ma wojne"));
  const std::vector<cConvoy>& convoys = *world_->Units().convoys.ConvoysOf(kEastmark);
  ASSERT_EQ(convoys.size(), 1u);
  EXPECT_EQ(convoys[0].destination, ConvoyPortCityOfNode(*world_, kStraitport));
  EXPECT_EQ(convoys[0].type, kConvoySupplies);
}

TEST_F(AiTurn, AWarTurnLogsItsStepsInOrderAndTheLineOfDefenceOnlyForAFrontInDanger) {
  w.War(TurnWorld::kWest, TurnWorld::kEast);
  // West's unit holds B and B2; East's stands at D, behind its front city C.
  w.Land(3, 1, TurnWorld::kWest, 50, L"West 1");
  cJednostkaLadowa& east = w.Land(10, 1, TurnWorld::kEast, 100, L"East 1");
  ASSERT_FALSE(w.Ai().aiData.transportsUnitsToFrontsBySea);

  EXPECT_TRUE(w.PlayTurn().ended);
  EXPECT_EQ(w.Only(kMarks), kWarTurn) << "sea transport is announced even when the country does not use it";
  ASSERT_EQ(w.player.Fronts().size(), 1u);
  EXPECT_EQ(w.player.Fronts()[0].state, ai::kFrontHeld);
  EXPECT_TRUE(w.player.LineOfDefence().empty());

  // East's unit at C, twice West's strength: the front is weak, and the
  // next turn lays a line.
  w.Hex(east.x, east.y).unit = nullptr;
  east.x = 9;
  w.Hex(9, 1).unit = &east;
  EXPECT_TRUE(w.PlayTurn().ended);
  std::vector<std::wstring> second = w.Only(kMarks);
  second.erase(second.begin(), second.begin() + static_cast<std::ptrdiff_t>(kWarTurn.size()));
  std::vector<std::wstring> expected = kWarTurn;
  expected.insert(std::find(expected.begin(), expected.end(), L"[AI]: West - Operational planning..."),
                  L"[AI]: West - Calculating line of defence...");
  EXPECT_EQ(second, expected);
  ASSERT_FALSE(w.player.Fronts().empty());
  EXPECT_NE(w.player.Fronts()[0].state, ai::kFrontHeld);
}

TEST_F(AiTurn, AStopBeforeTheTurnOrDuringAMoveLeavesTheTurnUnfinished) {
  w.War(TurnWorld::kWest, TurnWorld::kEast);
  cJednostkaLadowa& target = w.Land(7, 1, TurnWorld::kEast, 10, L"Target");
  // Two hexes from the target's side.
  cJednostkaLadowa& attacker = w.Land(4, 1, TurnWorld::kWest, 100, L"Attacker");
  w.runner.stop = true;
  twtest::sTurnRun run = w.PlayTurn();
  EXPECT_TRUE(run.ended);
  EXPECT_EQ(w.Only(kMarks), std::vector<std::wstring>{L"[AI] West: NEW TURN"});
  EXPECT_EQ(attacker.x, 4);

  // The main thread sees the first move and the worker is told to stop.
  w.runner.stop = false;
  bool stopped = false;
  run = w.PlayTurn([&] {
    if (!stopped && w.world->GetGameState() == kPhaseComputerMove) {
      stopped = true;
      w.runner.stop = true;
    }
  });
  EXPECT_TRUE(run.ended);
  EXPECT_TRUE(stopped);
  EXPECT_EQ(w.Count(L"[AI]: Ending turn"), 0);
  EXPECT_EQ(w.Count(L"[AI]: West - Checking the state of fronts (before operational planning)"), 0);
  EXPECT_FALSE(Attacked(*w.world, target));
  EXPECT_FALSE(attacker.attacked);
}

// --- diplomacy ---

TEST_F(AiTurn, AWarDeclaredInTheTurnMakesTheNewEnemyAnEnemyOfTheSameTurn) {
  w.War(TurnWorld::kWest, TurnWorld::kEast);
  w.Ai().strategicMovementPoints = 20;
  // West's offensive stands ready against Midland's city M.
  w.Ai().aiData.currentTargets = {{w.m->x, w.m->y, -1}};
  for (int x : {0, 1, 2}) w.Land(x, 0, TurnWorld::kWest, 60, L"Ready").aiOrder = kAiBuildUpStuck;
  // B and B2 held evenly, too weakly for Midland's army at M.
  w.Land(4, 1, TurnWorld::kWest, 10, L"At B");
  w.Land(3, 2, TurnWorld::kWest, 10, L"At B2");
  ASSERT_EQ(w.world->GetTopography().NearestCity(3, 2), w.b2);
  cJednostkaLadowa& midland = w.Land(5, 4, TurnWorld::kMidland, 100, L"Midland 1");
  w.Land(11, 1, TurnWorld::kEast, 10, L"East 1");
  ASSERT_FALSE(w.world->GetRelations().IsAtWar(TurnWorld::kWest, TurnWorld::kMidland));

  EXPECT_TRUE(w.PlayTurn().ended);
  EXPECT_TRUE(w.world->GetRelations().IsAtWar(TurnWorld::kWest, TurnWorld::kMidland));
  const int declared = w.IndexOf(L"[AI]: West DECLARED WAR ON Midland!!");
  ASSERT_GE(declared, 0);
  EXPECT_LT(declared, w.IndexOf(L"[AI]: West - Replacements"));
  // Midland's army makes the front critical at once: a unit from the rear
  // goes by rail to its weakest city before the air units rebase.
  const int rail = w.IndexOf(L"[AI] West: Ready - strategic move to B ");
  EXPECT_GT(rail, declared);
  EXPECT_LT(rail, w.IndexOf(L"[AI]: West - Rebasing air units"));
  const auto& enemies = w.player.Lists().enemyLand;
  EXPECT_NE(std::find(enemies.begin(), enemies.end(), &midland), enemies.end());
  const auto& fronts = w.player.Fronts();
  EXPECT_TRUE(std::any_of(fronts.begin(), fronts.end(), [&](const ai::sAiFront& front) {
    return std::any_of(front.cities.begin(), front.cities.end(),
                       [&](const sCityGraphNode* node) { return node->city == w.m; });
  }));
}

// --- what the turn does with the units ---

TEST_F(AiTurn, AttacksTheWeakNeighbourAndLeavesTheStrongOne) {
  w.War(TurnWorld::kWest, TurnWorld::kEast);
  w.Land(6, 1, TurnWorld::kWest, 100, L"Attacker");
  cJednostkaLadowa& weak = w.Land(7, 1, TurnWorld::kEast, 10, L"Weak");
  cJednostkaLadowa& strong = w.Land(7, 2, TurnWorld::kEast, 100, L"Strong");
  cJednostkaLadowa& garrison = w.Land(8, 1, TurnWorld::kEast, 100, L"Garrison of C");

  EXPECT_TRUE(w.PlayTurn().ended);
  EXPECT_TRUE(Attacked(*w.world, weak));
  EXPECT_FALSE(strong.wasAttacked);
  EXPECT_EQ(strong.strength, 100);
  EXPECT_FALSE(garrison.wasAttacked);
  EXPECT_EQ(w.Count(L"[AI]: Ending turn"), 1);
}

TEST_F(AiTurn, AUnitNextToTheTargetMakesRoomForTheAttackerAndStaysOutOfTheBattle) {
  w.War(TurnWorld::kWest, TurnWorld::kEast);
  cJednostkaLadowa& target = w.Land(7, 1, TurnWorld::kEast, 10, L"Target");
  w.Land(8, 1, TurnWorld::kEast, 100, L"Garrison of C");
  cJednostkaLadowa& inTheWay = w.Land(6, 1, TurnWorld::kWest, 10, L"In the way");
  cJednostkaLadowa& attacker = w.Land(4, 1, TurnWorld::kWest, 100, L"Attacker");
  // Where the unit in the way stands when the attacker's approach is stepped
  // (the worker waits for the main thread at every move, so it is seen).
  int whenApproaching = -1;
  const twtest::sTurnRun run = w.PlayTurn([&] {
    if (whenApproaching < 0 && w.world->GetGameState() == kPhaseComputerMove &&
        w.world->turnState.move.unit == &attacker) {
      whenApproaching = HexDistance(inTheWay.x, inTheWay.y, 7, 1);
    }
  });
  EXPECT_TRUE(run.ended);
  EXPECT_TRUE(Attacked(*w.world, target));
  EXPECT_FALSE(inTheWay.attacked);
  EXPECT_GE(whenApproaching, 2) << "it left the target's side before the attacker came";
  EXPECT_TRUE(Logged(L"Odejscie In the way -> "));
  EXPECT_GE(run.steps, 2) << "both the room-making and the approach were stepped";
}

TEST_F(AiTurn, AFrontHeldUnevenlyGetsAUnitByRailAtItsEmptyCity) {
  w.War(TurnWorld::kWest, TurnWorld::kEast);
  w.Ai().strategicMovementPoints = 20;
  w.Ai().aiData.minRatioToPatchFront = 2.5f;
  for (int x : {3, 4, 5}) w.Land(x, 0, TurnWorld::kWest, 60, L"At B");
  w.Land(9, 1, TurnWorld::kEast, 100, L"East 1");
  for (int x : {3, 4, 5}) ASSERT_EQ(w.world->GetTopography().NearestCity(x, 0), w.b);

  EXPECT_TRUE(w.PlayTurn().ended);
  // 18 against nothing at B2: one unit goes; 12 against 6 is within the
  // ratio. (The operational moves later in the turn may use the rail too.)
  const int rebasing = w.IndexOf(L"[AI]: West - Rebasing air units");
  ASSERT_GT(rebasing, 0);
  EXPECT_EQ(w.CountStartingWith(L"[AI] West: At B - strategic move to B2 (20 SMP left)", rebasing), 1);
  EXPECT_EQ(w.CountStartingWith(L"[AI] West: At B - strategic move", rebasing), 1);
}

TEST_F(AiTurn, BuysByItsProfile) {
  OpenTheShop();
  w.Ai().aiData.newUnitPurchasePreferences = {0, 1, 0, 0, 1};
  w.Ai().productionPoints = 70.0;
  // Each unit takes a draw of the profile and one of its name: type 1
  // (40 points), type 4 (24), then type 4 again, which waits for points.
  w.runner.draws = {TurnDrawFor(0.2f), 0, TurnDrawFor(0.9f), 0, TurnDrawFor(0.9f), 0};
  const auto before = w.world->Units().landUnits;

  EXPECT_TRUE(w.PlayTurn().ended);
  std::vector<int> bought;
  for (const cJednostka* unit : w.world->Units().reservePool) bought.push_back(unit->type);
  for (const cJednostkaLadowa* unit : w.world->Units().landUnits) {
    if (std::find(before.begin(), before.end(), unit) == before.end()) bought.push_back(unit->type);
  }
  std::sort(bought.begin(), bought.end());
  EXPECT_EQ(bought, (std::vector<int>{1, 4}));
  EXPECT_DOUBLE_EQ(w.Ai().productionPoints, 6.0);
  EXPECT_EQ(w.Ai().aiData.purchaseQueue, std::vector<int>{ai::kAiBuyLandUnit});
}

TEST_F(AiTurn, AUnitAtSixtyPerCentGetsReplacementsOnlyAtTheEndOfTheTurn) {
  w.War(TurnWorld::kWest, TurnWorld::kEast);
  sScenarioConstants& k = w.world->constants;
  k.replacementFactors = {20, 20, 20, 20, 20, 20, 20};
  k.supplyEffectE.fill(100);
  k.supplyEffectF.fill(20);
  // Worn holds the fortified city A: whatever the turn plans, it stays,
  // and a unit that has moved gets no replacements.
  cJednostkaLadowa& worn = w.Land(1, 1, TurnWorld::kWest, 60, L"Worn");
  w.Hex(1, 1).fortification = 6;
  cJednostkaLadowa& halved = w.Land(0, 0, TurnWorld::kWest, 40, L"Halved");
  w.Land(10, 1, TurnWorld::kEast, 100, L"East 1");
  w.Ai().productionPoints = 1000.0;

  EXPECT_TRUE(w.PlayTurn().ended);
  EXPECT_EQ(worn.strength, 100);
  EXPECT_EQ(halved.strength, 100);
  const int early = w.IndexOf(L"[AI]: West - Rebasing air units");
  const int late = w.IndexOf(L"[AI]: West - Planning sea transport of units to front...");
  const int halvedAt = w.IndexOf(L"[AI]: West - Replacements for Halved");
  const int wornAt = w.IndexOf(L"[AI]: West - Replacements for Worn");
  EXPECT_GE(halvedAt, 0);
  EXPECT_LT(halvedAt, early) << "below half strength: topped up before the attacks";
  EXPECT_GT(wornAt, late) << "at 60 %: only in the pass of the end of the turn";
}

}  // namespace
