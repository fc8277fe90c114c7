// The computer opponent's picture of the war on a small world: the unit
// lists, the strengths counted around each city, the fronts found across
// land links between cities at war and their states, and the strategic moves
// that send units to critical and unbalanced fronts (and end when no unit
// can go).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "air_rules/air_fixture.h"
#include "ai/ai_fronts.h"
#include "ai/ai_test_units.h"
#include "ai/ai_unit_lists.h"
#include "world/cities.h"
#include "world/city_graph.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/strategic_movement.h"
#include "world/topography.h"
#include "platform/clock.h"
#include "support/recording_view.h"
#include "support/test_support.h"
#include "app/settings.h"

namespace {

using namespace ai;

// A map of 12 x 3 plains with a manual clock and the log in the test's folder.
class FrontsWorld : public twtest::AirWorld {
 public:
  FrontsWorld() : AirWorld({"pppppppppppp", "pppppppppppp", "pppppppppppp"}) { plat::SetClock(&clock); }
  ~FrontsWorld() { plat::SetClock(nullptr); }

  // A land unit that has not acted in this impulse.
  cJednostkaLadowa& Fresh(int x, int y, int country, int type, int level, int strength) {
    cJednostkaLadowa& unit = AddUnit(x, y, country, type);
    unit.level = level;
    unit.strength = strength;
    unit.actionPoints = unit.startingActionPoints = 4;
    return unit;
  }

  plat::ManualClock clock;
  twtest::LogCapture log;
};

// Westland (1) holds A, B and B2, Eastmark (2) C and D, at war; country 3 is
// Westland's ally, country 4 neutral. Land links A-B, A-B2, B-C, B2-C, C-D;
// a second-type link A-D. Westland's cities form one group for the rail.
class AiFronts : public ::testing::Test {
 protected:
  AiFronts() {
    MakeWestlandAtWarWithEastmark(w);
    w.world->constants.strategicMoveCost.fill(2);
    w.Country(1).strategicMovementPoints = 20;
    for (sHex& hex : w.Map().Hexes()) {
      if (hex.x >= 7) hex.owner = hex.controller = hex.originalOwner = 2;
    }
    a = &City(1, 1, L"A");
    b = &City(4, 0, L"B");
    b2 = &City(4, 2, L"B2");
    c = &City(8, 1, L"C");
    d = &City(11, 1, L"D");
    cCityGraph& graph = w.world->GetCityGraph();
    graph.BuildNodes(w.world->Cities());
    for (auto [from, to] : {std::pair{a, b}, {a, b2}, {b, c}, {b2, c}, {c, d}}) Link(*from, *to, kCityLinkLand);
    Link(*a, *d, kCityLinkSecond);
    for (cCity* city : w.world->Cities()) city->ComputeHopCounts(*w.world);
    w.world->GetTopography().ComputeWorldTopography(w.Map(), w.world->Cities());
    w.world->GetTopography().BuildNearestCityGrid(w.Map(), w.world->Cities());
    cStrategicMovement strategic(*w.world);
    strategic.Init();
    strategic.SetCountryTopography(1, Topography{{a, b, b2}});
    for (int slot : {kDelayAIMoveBefore, kDelayAIMoveBetween, kDelayAIMoveAfter}) {
      saved_[slot - kDelayAIMoveBefore] = g_Delays[slot].load();
      g_Delays[slot] = 0.0f;
    }
  }
  ~AiFronts() override {
    for (int slot : {kDelayAIMoveBefore, kDelayAIMoveBetween, kDelayAIMoveAfter}) {
      g_Delays[slot] = saved_[slot - kDelayAIMoveBefore];
    }
  }

  cCity& City(int x, int y, const wchar_t* name) {
    cCity& city = twtest::AddCity(*w.world, x, y, kCitySupply, name);
    w.Hex(x, y).city = &city;
    return city;
  }
  void Link(const cCity& from, const cCity& to, int type) {
    std::vector<sCityGraphNode>& nodes = w.world->GetCityGraph().Nodes();
    nodes[static_cast<std::size_t>(from.graphNode)].links.push_back({to.graphNode, type});
    nodes[static_cast<std::size_t>(to.graphNode)].links.push_back({from.graphNode, type});
  }
  sCityGraphNode& Node(const cCity& city) {
    return w.world->GetCityGraph().Nodes()[static_cast<std::size_t>(city.graphNode)];
  }
  // A supplied land unit with all its action points, drawing from the city.
  cJednostkaLadowa& Land(int x, int y, int country, int strength, const wchar_t* name, const cCity* source = nullptr) {
    cJednostkaLadowa& unit = w.Fresh(x, y, country, kUnitInfantryDivision, 1, strength);
    return twtest::MakeSupplied(unit, name, source);
  }
  int CountLines(const std::wstring& prefix) const {
    int n = 0;
    for (const std::wstring& line : w.log.Lines()) n += line.rfind(prefix, 0) == 0 ? 1 : 0;
    return n;
  }

  FrontsWorld w;
  cCity* a = nullptr;
  cCity* b = nullptr;
  cCity* b2 = nullptr;
  cCity* c = nullptr;
  cCity* d = nullptr;
  sAiUnitLists lists;
  std::vector<sAiFront> fronts;

 private:
  float saved_[3] = {};
};

TEST_F(AiFronts, UnitListsSplitBySideSkipTheLoadedSortTheOwnAndDropTheDead) {
  cJednostkaLadowa& weak = Land(0, 0, 1, 3, L"Weak");
  cJednostkaLadowa& strong = Land(1, 0, 1, 9, L"Strong");
  cJednostkaLadowa& loaded = Land(2, 0, 1, 12, L"Loaded");
  cJednostkaMorska ship(w.world.get());
  loaded.transport = &ship;
  cJednostkaLadowa& allied = Land(3, 0, 3, 5, L"Allied");
  cJednostkaLadowa& enemy = Land(9, 0, 2, 5, L"Enemy");
  cJednostkaLadowa& neutral = Land(0, 2, 4, 5, L"Neutral");
  cJednostkaLotnicza& ownAir = w.AddAir(1, 2, 1, kUnitFighter);
  cJednostkaLotnicza& enemyAir = w.AddAir(9, 2, 2, kUnitFighter);
  w.AddFleet(1, 1, {1});
  w.AddFleet(2, 1, {1});

  BuildUnitLists(*w.world, w.Country(1), lists);
  EXPECT_TRUE(w.log.Contains(L"[AI Westland] Wyznaczam listy jednostek"));
  ASSERT_GT(strong.GetEffectiveCombatStrength(), weak.GetEffectiveCombatStrength());
  EXPECT_EQ(lists.ownLand, (std::vector<cJednostkaLadowa*>{&strong, &weak}));
  EXPECT_EQ(lists.alliedLand, std::vector<cJednostkaLadowa*>{&allied});
  EXPECT_EQ(lists.enemyLand, std::vector<cJednostkaLadowa*>{&enemy});
  EXPECT_EQ(lists.otherLand, std::vector<cJednostkaLadowa*>{&neutral});
  EXPECT_EQ(lists.ownAir, std::vector<cJednostkaLotnicza*>{&ownAir});
  EXPECT_EQ(lists.enemyAir, std::vector<cJednostkaLotnicza*>{&enemyAir});
  ASSERT_EQ(lists.ownNaval.size(), 1u);
  EXPECT_EQ(lists.ownNaval[0]->countryId, 1);

  // Killed units leave the lists; the living stay in their order.
  KillUnitInWorld(*w.world, &enemy);
  KillUnitInWorld(*w.world, &enemyAir);
  EXPECT_EQ(DropDeadUnits(*w.world, lists), 2);
  EXPECT_TRUE(lists.enemyLand.empty());
  EXPECT_TRUE(lists.enemyAir.empty());
  EXPECT_EQ(lists.ownLand.size(), 2u);
  EXPECT_EQ(DropDeadUnits(*w.world, lists), 0);
  loaded.transport = nullptr;
}

TEST_F(AiFronts, NodesCountEachSideAndFrontsJoinOnlyCitiesAtWarOverLand) {
  cJednostkaLadowa& own = Land(4, 0, 1, 6, L"Own");
  cJednostkaLadowa& allied = Land(5, 0, 3, 4, L"Allied");
  cJednostkaLadowa& enemy = Land(8, 1, 2, 8, L"Enemy");
  enemy.secondHexes.push_back({});
  w.AddAir(4, 0, 1, kUnitFighter, 7.0f);
  w.AddAir(4, 0, 1, kUnitStrategicBomber, 9.0f);
  w.AddAir(8, 1, 2, kUnitFighter, 5.0f);
  ASSERT_EQ(w.world->GetTopography().NearestCity(5, 0), b);

  BuildUnitLists(*w.world, w.Country(1), lists);
  RefreshFronts(*w.world, w.Country(1), lists, fronts);

  const sCityGraphNode& nodeB = Node(*b);
  EXPECT_FLOAT_EQ(NodeLand(nodeB, kNodeOwnLand), own.GetEffectiveCombatStrength());
  EXPECT_FLOAT_EQ(NodeLand(nodeB, kNodeOurLand), own.GetEffectiveCombatStrength() + allied.GetEffectiveCombatStrength());
  EXPECT_FLOAT_EQ(NodeLand(Node(*c), kNodeEnemyLand), enemy.GetEffectiveCombatStrength());
  EXPECT_TRUE(enemy.secondHexes.empty());
  // The strategic bomber counts nowhere.
  EXPECT_EQ(NodeCount(nodeB, kNodeOwnAirUnits), 1);
  EXPECT_EQ(NodeCount(nodeB, kNodeOwnAirStrength), 7);
  EXPECT_EQ(NodeCount(nodeB, kNodeOwnUnits), 2);
  EXPECT_EQ(NodeCount(Node(*c), kNodeEnemyAirUnits), 1);
  EXPECT_EQ(NodeCount(Node(*c), kNodeEnemyAirStrength), 5);

  // One front: B, the enemy C facing it, and B2 facing C; A (behind) and D
  // (only Eastmark's own neighbour, and A's second-type link) stay out.
  ASSERT_EQ(fronts.size(), 1u);
  const sAiFront& front = fronts[0];
  EXPECT_EQ(front.name, L"Front miasta B");
  EXPECT_EQ(front.cities, (std::vector<sCityGraphNode*>{&Node(*b), &Node(*c), &Node(*b2)}));
  EXPECT_TRUE(w.log.Contains(L"Kraj ID = 1 (Westland) zaktualizowal liste frontow do liczby 1"));
  const float ours = own.GetEffectiveCombatStrength() + allied.GetEffectiveCombatStrength();
  EXPECT_FLOAT_EQ(front.advantage, ours / enemy.GetEffectiveCombatStrength());
  EXPECT_EQ(front.state, FrontStateOf(front.advantage));
  EXPECT_EQ(b->aiFrontState, front.state);
  EXPECT_EQ(c->aiFrontState, front.state);
  EXPECT_EQ(a->aiFrontState, kNoFront);
  EXPECT_EQ(d->aiFrontState, kNoFront);

  front.Dump();
  EXPECT_TRUE(w.log.Contains(L"FRONT: Front miasta B"));
  EXPECT_TRUE(w.log.Contains(L"Sila lotn: Nasza=7 Wlasna=7 Wroga=5"));
  front.DumpSummary();
  EXPECT_EQ(CountLines(L"Front (B), miasta: 3, Przewaga="), 1);
}

TEST_F(AiFronts, TheThresholdsGiveTheStates) {
  EXPECT_FLOAT_EQ(FrontAdvantage(0.0f, 0.0f), 1.0f);
  EXPECT_FLOAT_EQ(FrontAdvantage(3.0f, 0.0f), kUncontestedAdvantage);
  EXPECT_FLOAT_EQ(FrontAdvantage(1.0f, 4.0f), 0.25f);
  EXPECT_EQ(FrontStateOf(1.0f), kFrontHeld);
  EXPECT_EQ(FrontStateOf(kUncontestedAdvantage), kFrontHeld);
  EXPECT_EQ(FrontStateOf(0.8f), kFrontHeld);
  EXPECT_EQ(FrontStateOf(0.79f), kFrontWeak);
  EXPECT_EQ(FrontStateOf(0.33f), kFrontWeak);
  EXPECT_EQ(FrontStateOf(0.32f), kFrontCritical);

  // A front nobody stands on is held; one facing an enemy alone is critical.
  BuildUnitLists(*w.world, w.Country(1), lists);
  RefreshFronts(*w.world, w.Country(1), lists, fronts);
  ASSERT_EQ(fronts.size(), 1u);
  EXPECT_EQ(fronts[0].state, kFrontHeld);
  Land(8, 1, 2, 8, L"Enemy");
  BuildUnitLists(*w.world, w.Country(1), lists);
  RefreshFronts(*w.world, w.Country(1), lists, fronts);
  EXPECT_EQ(fronts[0].state, kFrontCritical);
  EXPECT_EQ(b2->aiFrontState, kFrontCritical);

  // Peace ends the front.
  w.world->GetRelations().SetAtWar(1, 2, false);
  w.world->GetRelations().SetAtWar(2, 1, false);
  RefreshFronts(*w.world, w.Country(1), lists, fronts);
  EXPECT_TRUE(fronts.empty());
  EXPECT_EQ(b->aiFrontState, kNoFront);
}

TEST_F(AiFronts, QueriesOnTheFront) {
  Land(4, 0, 1, 6, L"AtB");
  Land(8, 1, 2, 8, L"Enemy");
  BuildUnitLists(*w.world, w.Country(1), lists);
  RefreshFronts(*w.world, w.Country(1), lists, fronts);
  ASSERT_EQ(fronts.size(), 1u);
  EXPECT_EQ(GetStrongestNode(fronts[0]), &Node(*b));
  EXPECT_EQ(GetWeakestNode(fronts[0]), &Node(*c));  // first of the nodes without our strength
  EXPECT_EQ(CollectFrontCitiesOf(*w.world, fronts[0], 3), (std::vector<cCity*>{b, b2}));
  EXPECT_EQ(CollectFrontCitiesOf(*w.world, fronts[0], 2), std::vector<cCity*>{c});
  EXPECT_FALSE(IsFrontSingleEnclosedCity(*w.world, fronts[0], 1));
  EXPECT_FALSE(IsFrontSingleEnclosedCity(*w.world, fronts[0], 2));  // C has free land around it

  // The unit at A reaches B and B2 by rail, one hop each.
  cJednostkaLadowa& behind = Land(1, 1, 1, 6, L"Behind", a);
  const cCity* found = FindFrontCityForUnit(*w.world, fronts, behind);
  ASSERT_NE(found, nullptr);
  EXPECT_TRUE(found == b || found == b2);
  // With B outside its group, B's land neighbour A (no hop away) stands in.
  cStrategicMovement(*w.world).SetCountryTopography(1, Topography{{a, b2}});
  EXPECT_EQ(FindFrontCityForUnit(*w.world, fronts, behind), a);
  behind.supplySourceX = behind.supplySourceY = -1;
  EXPECT_EQ(FindFrontCityForUnit(*w.world, fronts, behind), nullptr);
}

// The groups of the strategic move still count the unit's supply city as
// its side's, but the city has gone to a country at peace with it since: no
// route leads from there through the side's cities, so no front city is
// found (an order toward one would be refused for want of a route) until
// the unit draws supply from a city of its side again.
TEST_F(AiFronts, AUnitWhoseSupplyCityIsNoLongerItsSidesFindsNoFrontCity) {
  Land(8, 1, 2, 8, L"Enemy");
  BuildUnitLists(*w.world, w.Country(1), lists);
  RefreshFronts(*w.world, w.Country(1), lists, fronts);
  ASSERT_EQ(fronts.size(), 1u);
  cJednostkaLadowa& behind = Land(1, 1, 1, 6, L"Behind", a);
  w.Control(1, 1, 4);  // A is the neutral's now
  EXPECT_EQ(FindFrontCityForUnit(*w.world, fronts, behind), nullptr);
  w.Control(1, 1, 1);
  const cCity* found = FindFrontCityForUnit(*w.world, fronts, behind);
  EXPECT_TRUE(found == b || found == b2);
}

TEST_F(AiFronts, ACriticalFrontGetsAUnitByRailAndTheLoopEndsWhenNoneCanGo) {
  Land(8, 1, 2, 15, L"Enemy 1");
  Land(9, 1, 2, 15, L"Enemy 2");
  // The strongest unit is out of supply: the rule refuses it, once.
  cJednostkaLadowa& cutOff = Land(1, 1, 1, 12, L"Cut off", a);
  cutOff.turnsWithoutSupply = 1;
  cJednostkaLadowa& reserve = Land(0, 1, 1, 5, L"Reserve", a);
  ASSERT_EQ(w.world->GetTopography().NearestCity(0, 1), a);
  BuildUnitLists(*w.world, w.Country(1), lists);

  EXPECT_EQ(SavePoorlyDefendedFronts(*w.world, w.Country(1), lists, fronts), 1);
  EXPECT_EQ(reserve.x, b->x);
  EXPECT_EQ(reserve.y, b->y);
  EXPECT_EQ(w.Hex(b->x, b->y).unit, &reserve);
  EXPECT_EQ(reserve.actionPoints, 0);
  EXPECT_EQ(w.Country(1).strategicMovementPoints, 18);
  EXPECT_EQ(cutOff.x, 1);
  EXPECT_TRUE(w.log.Contains(L"[AI] Westland: Reserve - strategic move to B (20 SMP left)"));
  EXPECT_EQ(CountLines(L"[AI] Westland: Cut off - strategic move to B refused"), 1);
  EXPECT_EQ(CountLines(L"[AI] Westland: Saving poorly defended fronts"), 2);
  EXPECT_EQ(CountLines(L"Cannot find other units. Ending saving poorly defended front procedure."), 1);

  // Nothing left to move: one pass, nothing moved.
  EXPECT_EQ(SavePoorlyDefendedFronts(*w.world, w.Country(1), lists, fronts), 0);
  EXPECT_EQ(CountLines(L"Cannot find other units. Ending saving poorly defended front procedure."), 2);
}

TEST_F(AiFronts, UnitsAtACriticalFrontOrHeldInPlaceStay) {
  Land(8, 1, 2, 15, L"Enemy 1");
  cJednostkaLadowa& atFront = Land(4, 2, 1, 1, L"At B2", b2);
  cJednostkaLadowa& garrison = Land(1, 1, 1, 6, L"Garrison", a);
  garrison.aiOrder = 2;
  BuildUnitLists(*w.world, w.Country(1), lists);
  EXPECT_EQ(SavePoorlyDefendedFronts(*w.world, w.Country(1), lists, fronts), 0);
  EXPECT_EQ(atFront.x, 4);
  EXPECT_EQ(atFront.y, 2);
  EXPECT_EQ(garrison.x, 1);
  EXPECT_EQ(w.Country(1).strategicMovementPoints, 20);
}

TEST_F(AiFronts, AnUnbalancedFrontIsPatchedUntilTheRatioIsReached) {
  Land(8, 1, 2, 10, L"Enemy");
  cJednostkaLadowa& first = Land(4, 0, 1, 6, L"B 1", b);
  cJednostkaLadowa& second = Land(5, 0, 1, 6, L"B 2", b);
  cJednostkaLadowa& third = Land(3, 0, 1, 6, L"B 3", b);
  for (const cJednostkaLadowa* unit : {&first, &second, &third}) {
    ASSERT_EQ(w.world->GetTopography().NearestCity(unit->x, unit->y), b);
  }
  w.Country(1).aiData.minRatioToPatchFront = 2.5f;
  BuildUnitLists(*w.world, w.Country(1), lists);
  RefreshFronts(*w.world, w.Country(1), lists, fronts);

  // 18 against 0 at B2: one unit goes; 12 against 6 is within the ratio.
  EXPECT_EQ(PatchWeakFronts(*w.world, w.Country(1), lists, fronts), 1);
  EXPECT_NE(w.Hex(b2->x, b2->y).unit, nullptr);
  EXPECT_FLOAT_EQ(NodeLand(Node(*b), kNodeOwnLand), 2.0f * first.GetEffectiveCombatStrength());
  EXPECT_FLOAT_EQ(NodeLand(Node(*b2), kNodeOwnLand), first.GetEffectiveCombatStrength());
  EXPECT_EQ(w.Country(1).strategicMovementPoints, 18);

  // A tighter ratio wants more, but the others cannot pay: it ends.
  w.Country(1).aiData.minRatioToPatchFront = 1.0f;
  w.Country(1).strategicMovementPoints = 1;
  EXPECT_EQ(PatchWeakFronts(*w.world, w.Country(1), lists, fronts), 0);
  EXPECT_EQ(CountLines(L"[AI] Westland: no unit can patch Front miasta B (ratio 2.00), ending"), 1);
}

TEST_F(AiFronts, AStrategicMoveToACityNeedsItsHopsAndAFreeUnit) {
  cJednostkaLadowa& unit = Land(1, 1, 1, 6, L"Mover", a);
  EXPECT_FALSE(TryStrategicMoveToCity(*w.world, w.Country(1), unit, -1, 2, 1));
  EXPECT_FALSE(TryStrategicMoveToCity(*w.world, w.Country(1), unit, b2->x, b2->y, 2));
  unit.freezeTime = 1;
  EXPECT_FALSE(TryStrategicMoveToCity(*w.world, w.Country(1), unit, b2->x, b2->y, 1));
  unit.freezeTime = 0;
  // C is the enemy's: no destination there.
  EXPECT_FALSE(TryStrategicMoveToCity(*w.world, w.Country(1), unit, c->x, c->y, 1));
  EXPECT_EQ(unit.x, 1);
  EXPECT_TRUE(TryStrategicMoveToCity(*w.world, w.Country(1), unit, b2->x, b2->y, 1));
  EXPECT_EQ(unit.x, b2->x);
  EXPECT_EQ(unit.y, b2->y);
  EXPECT_EQ(w.Country(1).strategicMovementPoints, 18);
}

TEST_F(AiFronts, AShownMoveFollowsTheUnitAndAnUnseenOneOnlyWaitsAfter) {
  auto* view = new twtest::RecordingView(*w.world);
  w.world->SetView(std::unique_ptr<cWorldView>(view));
  w.world->turnState.showActions = true;
  g_Delays[kDelayAIMoveBefore] = 300.0f;
  g_Delays[kDelayAIMoveBetween] = 200.0f;
  g_Delays[kDelayAIMoveAfter] = 100.0f;
  cJednostkaLadowa& seen = Land(1, 1, 1, 6, L"Seen", a);
  seen.visible = true;
  cJednostkaLadowa& unseen = Land(0, 1, 1, 6, L"Unseen", a);

  EXPECT_TRUE(PrzeniesStrategicznieJednostke(*w.world, w.Country(1), seen, *b, b->x, b->y));
  EXPECT_EQ(view->Followed(), (std::vector<std::pair<int, int>>{{1, 1}, {b->x, b->y}}));
  EXPECT_EQ(w.clock.TotalSlept(), 800u);
  EXPECT_TRUE(w.log.Contains(L"[AI] PrzeniesStrategicznieJednostke"));

  EXPECT_TRUE(PrzeniesStrategicznieJednostke(*w.world, w.Country(1), unseen, *b2, b2->x, b2->y));
  EXPECT_EQ(view->Followed().size(), 2u);
  EXPECT_EQ(w.clock.TotalSlept(), 900u);
  EXPECT_EQ(w.Hex(b2->x, b2->y).unit, &unseen);

  // A refused move shows nothing and waits for nothing.
  EXPECT_FALSE(PrzeniesStrategicznieJednostke(*w.world, w.Country(1), seen, *b2, b2->x, b2->y));
  EXPECT_EQ(w.clock.TotalSlept(), 900u);
  EXPECT_EQ(seen.x, b->x);
  w.world->SetView(nullptr);
}

}  // namespace
