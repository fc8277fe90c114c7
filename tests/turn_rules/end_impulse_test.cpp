// The sequence of the end of an impulse on small worlds: what runs once a
// month, what only a real end does, what the loading's pass leaves alone.
#include <gtest/gtest.h>

#include "rules/end_impulse.h"
#include "rules/world_turn.h"
#include "support/fake_platform_framework.h"
#include "support/test_support.h"
#include "turn_rules/turn_world.h"
#include "world/jednostka_ladowa.h"
#include "world/sea_graph.h"

namespace {

using twtest::TurnWorld;

// Two countries at war across a row of plains, each holding a city.
struct WarWorld : TurnWorld {
  explicit WarWorld(std::initializer_list<int> alliances = {kAlliesLeader, kAxisLeader})
      : TurnWorld({"ppppp", "ppppp"}, alliances) {
    War(1, 2);
    for (int x = 3; x < 5; ++x) {
      for (int y = 0; y < 2; ++y) Hex(x, y).controller = Hex(x, y).owner = Hex(x, y).originalOwner = 2;
    }
    City(0, 0, 1, kCitySupply, 2, 10.0f);
    City(4, 1, 2, kCitySupply, 1, 10.0f);
  }
};

cMulberry& AddHarbour(TurnWorld& w, int x, int y, int months) {
  auto* harbour = new cMulberry(w.world.get());
  harbour->countryId = 1;
  harbour->x = x;
  harbour->y = y;
  harbour->remainingMonths = months;
  w.world->Units().landUnits.push_back(harbour);
  w.Hex(x, y).unit = harbour;
  return *harbour;
}

int HarbourCount(const cWorld& world) {
  int n = 0;
  for (const cJednostkaLadowa* unit : world.Units().landUnits) n += unit->IsHarbour() ? 1 : 0;
  return n;
}

TEST(EndImpulse, HarboursAgeOnceAMonthAndThoseOutOfTimeGoAfterTheWalk) {
  WarWorld w;
  cWorld& world = *w.world;
  world.GetDate() = sGameDate{1, 3, 1940, {}};  // March: four impulses
  AddHarbour(w, 1, 0, 1);
  AddHarbour(w, 1, 1, 1);  // two expire in one walk
  cMulberry& lasting = AddHarbour(w, 2, 0, 2);
  EndImpulse(world, false);
  EXPECT_EQ(HarbourCount(world), 1);
  EXPECT_EQ(w.Hex(1, 0).unit, nullptr);
  EXPECT_EQ(w.Hex(1, 1).unit, nullptr);
  EXPECT_EQ(lasting.remainingMonths, 1);
  // The loading's pass keeps the date: the month moves on by hand.
  for (int impulse = 2; impulse <= 4; ++impulse) {
    world.GetDate().Advance(world.TurnsPerMonth());
    EndImpulse(world, false);
  }
  EXPECT_EQ(lasting.remainingMonths, 1) << "the rest of March ages nothing";
  world.GetDate().Advance(world.TurnsPerMonth());
  EXPECT_EQ(world.GetDate().month, 4);
  EndImpulse(world, false);
  EXPECT_EQ(HarbourCount(world), 0);
}

TEST(EndImpulse, EntrenchmentGrowsForUnitsThatKeptStillUpToTheMaximum) {
  WarWorld w;
  cWorld& world = *w.world;
  world.constants.entrenchmentMax = 3;
  auto unitAt = [&](int x, int y, int start, int left, int lastX, int lastY, int entrenchment) -> cJednostkaLadowa& {
    cJednostkaLadowa& unit = w.AddUnit(x, y, 1);
    unit.startingActionPoints = start;
    unit.actionPoints = left;
    unit.lastX = lastX;
    unit.lastY = lastY;
    unit.entrenchment = entrenchment;
    return unit;
  };
  cJednostkaLadowa& frozen = unitAt(0, 1, 0, 0, 0, 1, 1);
  cJednostkaLadowa& frozenStepped = unitAt(1, 0, 0, 0, 1, 0, 2);
  frozenStepped.movedOrDeployed = true;
  cJednostkaLadowa& idle = unitAt(1, 1, 4, 4, 0, 0, 3);  // already at the maximum
  cJednostkaLadowa& back = unitAt(2, 0, 4, 1, 2, 0, 2);  // moved and came back
  cJednostkaLadowa& moved = unitAt(2, 1, 4, 1, 2, 0, 2);
  EndImpulse(world, false);
  EXPECT_EQ(frozen.entrenchment, 2);
  EXPECT_EQ(frozenStepped.entrenchment, 2) << "on its last position: kept";
  EXPECT_EQ(idle.entrenchment, 3);
  EXPECT_EQ(back.entrenchment, 2);
  EXPECT_EQ(moved.entrenchment, 0);
  EXPECT_EQ(std::pair(moved.lastX, moved.lastY), std::pair(2, 1));
}

TEST(EndImpulse, LoadingPassMovesTheCountersButNotTheDateAndRunsNoRealEndStep) {
  WarWorld w({kAlliesLeader, kAxisLeader, kAxis});
  cWorld& world = *w.world;
  world.GetDate() = sGameDate{1, 3, 1940, {}};
  world.impulseCounters[0] = 7;
  world.turnNumber = 1;
  cCountry& a = w.Country(1);
  a.warEconomy = 50.0f;
  a.diplomaticPointsPerMonth = 5;
  a.doneParliamentaryElections = a.doneDelayWarEntry = a.doneExertPressureAxis = a.finishedTurn = true;
  cCity& lost = *world.Cities()[1];
  lost.productionLostToBombing = 2;
  // Country 2 holds no city of its own: a real end would see it surrender.
  w.Hex(4, 1).controller = 1;

  EndImpulse(world, false);
  EXPECT_TRUE(world.reports.Reports().empty());
  EXPECT_TRUE(w.Country(2).active);
  EXPECT_EQ(a.productionPoints, 0.0);
  EXPECT_EQ(a.diplomaticPoints, 0);
  EXPECT_EQ(a.warEconomy, 50.0f);
  EXPECT_EQ(world.impulseCounters[0], 8);
  EXPECT_EQ(world.turnsLeft, 100) << "the loading plays no impulse, so none is taken from those left";
  EXPECT_EQ(world.turnNumber, 1) << "the loading plays no impulse";
  EXPECT_EQ(world.GetDate().turn, 1) << "the date is already that of the impulse to play";
  EXPECT_TRUE(a.doneParliamentaryElections);
  EXPECT_FALSE(a.doneDelayWarEntry || a.doneExertPressureAxis || a.finishedTurn);
  EXPECT_EQ(lost.productionLostToBombing, 1);
  EXPECT_FLOAT_EQ(lost.productionPoints, 11.0f);
  EXPECT_FALSE(world.gameOver);

  EndImpulse(world, true);
  EXPECT_FALSE(w.Country(2).active) << "surrendered";
  EXPECT_EQ(w.Country(3).alliance, kAxisLeader);
  EXPECT_EQ(w.Reports(kReportSurrender).size(), 3u) << "one report for each country";
  EXPECT_EQ(w.Reports(kReportProduction).size(), 2u) << "only the active countries produce";
  EXPECT_EQ(w.Reports(kReportUpkeep).size(), 2u);
  EXPECT_FALSE(w.Reports(kReportResearch).empty()) << "the first impulse of March";
  EXPECT_GT(a.productionPoints, 0.0);
  EXPECT_EQ(world.turnNumber, 2);
  EXPECT_EQ(world.GetDate().turn, 2);
}

// A bombed port regains one step an impulse up to its maximum; a port read
// with no capacity was loaded as a sea zone (blocked) and stays so.
TEST(EndImpulse, DamagedPortsRegainAStepButABlockedOneStaysShut) {
  WarWorld w;
  cWorld& world = *w.world;
  auto addNode = [&](int maxSize, int size) -> int {
    sWezelGrafuMorz node;
    node.id = world.GetSeaGraph().GetNodeCount() + 1;
    node.maxSize = maxSize;
    node.size = size;
    node.isSea = size == 0 ? 1 : 0;  // as the sea-node reader sets it
    world.GetSeaGraph().Nodes().push_back(node);
    return node.id;
  };
  const int bombed = addNode(3, 1);
  const int blocked = addNode(3, 0);
  const int zone = addNode(0, 0);
  EndImpulse(world, false);
  EndImpulse(world, true);
  EndImpulse(world, true);
  const cSeaGraph& graph = world.GetSeaGraph();
  EXPECT_EQ(graph.GetNode(bombed)->size, 3);
  EXPECT_EQ(graph.GetNode(blocked)->size, 0);
  EXPECT_TRUE(graph.GetNode(blocked)->IsSeaZone());
  EXPECT_EQ(graph.GetNode(zone)->size, 0);
}

TEST(EndImpulse, FirstImpulseOfAMonthIsFoundByTheDateNotByTheCounter) {
  WarWorld w;
  cWorld& world = *w.world;
  cCountry& a = w.Country(1);
  a.diplomaticPointsPerMonth = 5;
  a.warEconomy = 50.0f;
  w.Country(1).orientation = 0;
  world.constants.SetValue(115, 4, 10.0);
  // February has two impulses and March four: after the 2 + 2 impulses of
  // January and February the counter says the first of a month in the
  // third impulse of March ((9 - 1) mod 4 = 0), which it is not.
  world.GetDate() = sGameDate{3, 3, 1940, {}};
  world.impulseCounters[0] = 9;
  EXPECT_FALSE(IsFirstImpulseOfMonth(world));
  EndImpulse(world, true);
  EXPECT_EQ(a.diplomaticPoints, 0);
  EXPECT_EQ(a.warEconomy, 50.0f);
  EXPECT_TRUE(w.Reports(kReportResearch).empty());
  // The fourth impulse ends March; April begins with the counter at 11.
  EndImpulse(world, true);
  ASSERT_EQ(world.GetDate().month, 4);
  ASSERT_EQ(world.impulseCounters[0], 11);
  EXPECT_TRUE(IsFirstImpulseOfMonth(world));
  EndImpulse(world, true);
  EXPECT_EQ(a.diplomaticPoints, 5);
  EXPECT_EQ(a.warEconomy, 60.0f);
  EXPECT_EQ(w.Reports(kReportResearch).size(), 2u);
}

TEST(EndImpulse, TimeRunOutEndsTheGameWithTheResultAndStopsBeforeTheDate) {
  twtest::LogCapture log;
  twtest::FakePlatformFramework frame;
  WarWorld w;
  cWorld& world = *w.world;
  world.turnsLeft = 0;
  world.GetDate() = sGameDate{2, 3, 1940, {}};
  EndImpulse(world, true);
  EXPECT_TRUE(world.gameOver);
  EXPECT_EQ(world.GetDate().turn, 2) << "the date stays";
  EXPECT_EQ(world.turnsLeft, 0);
  EXPECT_FALSE(frame.shutdown) << "the game stays open for the player to look at and save";
  const std::wstring text = L"game_over:_time_has_run_out\n\nresult:_allied_victory\n\nalliance_score:\naxis:_1_vp"
                            L"\nallies:_2_vp\ncomintern:_0_vp\n\nindividual_score:\n1._A:_12\n2._B:_11\n\n"
                            L"___press_esc_to_finish";
  const auto messages = w.view->Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], std::pair(std::wstring(L"game_over"), text));
  EXPECT_FALSE(log.Contains(L"Koniec impulsu wykonany"));
}

TEST(EndImpulse, GameEndsWhenOneMajorAllianceOrNoHumanCountryIsLeft) {
  twtest::FakePlatformFramework frame;
  {
    WarWorld w;
    w.Country(2).alliance = kAxis;  // the Axis has no leader
    EXPECT_TRUE(CheckGameOver(*w.world));
  }
  {
    WarWorld w({kAlliesLeader, kAxisLeader, kAllies});
    w.Country(3).human = true;
    w.Country(1).active = w.Country(3).active = false;  // both annexed
    EXPECT_TRUE(CheckGameOver(*w.world));
  }
  {
    // A game the computer plays alone goes on.
    WarWorld w;
    w.Country(1).human = false;
    EXPECT_FALSE(CheckGameOver(*w.world));
  }
  WarWorld w;
  EXPECT_FALSE(CheckGameOver(*w.world));
  EXPECT_FALSE(w.world->gameOver);
}

}  // namespace
