// Sea battles of hand-made fleets, draw by draw: the rounds and the turns of
// the two sides, kills and the report keyed by unit id, the preliminary
// stage's carrier strikes and the battles that never reach the rounds.
#include <gtest/gtest.h>

#include <algorithm>

#include "air_rules/air_fixture.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "rules/sea_battle.h"
#include "world/commander.h"
#include "world/country.h"
#include "world/report_store.h"

namespace {

using twtest::AirWorld;
using twtest::RandFor;
using twtest::RandSequence;

std::wstring BattleText(const char* key) { return g_StringBase.GetText(key); }

class SeaBattle : public ::testing::Test {
 protected:
  SeaBattle() : w({"~~~~~", "~~~~~", "ppppp"}) {
    w.ThreeCountries();
    for (int id = 1; id <= 3; ++id) w.Country(id).techLevel[kTechNavy] = 1;
    zone = w.AddSeaNode(true, 1, 1).id;
  }
  cJednostkaMorska& Ship(cFleet& fleet, std::size_t index) {
    auto it = fleet.ships.begin();
    std::advance(it, static_cast<long>(index));
    return **it;
  }
  // The fleet's ships, seen, each with an id of its own.
  std::vector<cJednostkaMorska*> Ships(cFleet& fleet) {
    int id = 0;
    for (cJednostkaMorska* ship : w.world->Units().navalUnits) ship->id = ++id;
    for (cJednostkaMorska* ship : fleet.ships) ship->visible = true;
    return {fleet.ships.begin(), fleet.ships.end()};
  }
  // The rand() value for a percentage draw from 0 (RandomRange(0, 100)).
  static int From0(int value) { return RandFor(0, 100, value); }
  AirWorld w;
  int zone = 0;
};

TEST_F(SeaBattle, TwoRoundsShotByShotAgainstTheTables) {
  w.world->constants.seaBattleRoundWeights = {0, 1, 0, 0, 0};  // always 2 rounds
  cFleet& a = w.AddFleet(1, zone, {kUnitBattleship}, 4);
  cFleet& b = w.AddFleet(2, zone, {kUnitCruiser}, 4);
  cJednostkaMorska& battleship = Ship(a, 0);
  cJednostkaMorska& cruiser = Ship(b, 0);
  // Navy level 1: hit chance (1 + 3) x 10 = 40, one hit point when the
  // damage draw from 0 lies below (1 + 5) x 10 = 60.
  RandSequence dice({0,                                    // rounds
                     RandFor(1, 100, 40), From0(59),        // battleship hits for 1 (both at the edge)
                     RandFor(1, 100, 41),                   // cruiser misses by one
                     RandFor(1, 100, 30), From0(60),        // round 2: the cruiser hits for nothing
                     RandFor(1, 100, 1), From0(0)});        // the battleship hits for 1
  cSeaBattle battle(*w.world, Ships(a), Ships(b));
  EXPECT_EQ(battle.roundsLeft, 2);
  battle.Fight();
  EXPECT_EQ(dice.Left(), 0u);
  EXPECT_TRUE(battle.Ended());
  EXPECT_EQ(cruiser.hitPoints, 2);
  EXPECT_EQ(battleship.hitPoints, 4);

  // The record a screen replays: who shot whom, in turn, round by round.
  using E = sSeaBattleEvent;
  ASSERT_EQ(battle.events.size(), 7u);
  const E::eKind kinds[] = {E::kShot, E::kShot, E::kTurnCompleted, E::kShot, E::kShot, E::kTurnCompleted, E::kEnd};
  for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(battle.events[i].kind, kinds[i]) << i;
  EXPECT_EQ(battle.events[0].shooterId, battleship.id);
  EXPECT_TRUE(battle.events[0].success);
  EXPECT_EQ(battle.events[0].chance, 40);
  EXPECT_EQ(battle.events[1].shooterId, cruiser.id);
  EXPECT_FALSE(battle.events[1].success);
  // After the round the side that shot last opens again.
  EXPECT_EQ(battle.events[3].shooterId, cruiser.id);
  EXPECT_TRUE(battle.events[3].success);
  EXPECT_EQ(battle.events[3].damage, 0);
  EXPECT_EQ(battle.events[4].shooterId, battleship.id);
  EXPECT_EQ(battle.events[1].line, plat::Format(BattleText("seabattle_shot_misses"), cruiser.name.c_str(),
                                                battleship.name.c_str()));
  // The report: the cruiser lost 2, the battleship nothing (not listed).
  EXPECT_NE(battle.finalReport.find(cruiser.name + L" (" + w.Country(2).name + L") lost 2 HP\n"), std::wstring::npos);
  EXPECT_EQ(battle.finalReport.find(battleship.name + L" ("), std::wstring::npos);
  // One report of the battle for each country in it.
  int seaReports = 0;
  for (const sReport& report : w.world->reports.Reports()) seaReports += report.type == 20 ? 1 : 0;
  EXPECT_EQ(seaReports, 2);
}

TEST_F(SeaBattle, SunkShipIsReportedByIdAmongShipsOfTheSameName) {
  w.world->constants.seaBattleRoundWeights = {1, 0, 0, 0, 0};  // one round
  cFleet& a = w.AddFleet(1, zone, {kUnitBattleship}, 4);
  cFleet& b = w.AddFleet(2, zone, {kUnitCruiser, kUnitCruiser}, 4);
  cJednostkaMorska& battleship = Ship(a, 0);
  cJednostkaMorska& doomed = Ship(b, 0);
  cJednostkaMorska& survivor = Ship(b, 1);
  doomed.name = survivor.name = L"Twin";
  doomed.hitPoints = 1;
  // The side with more ships opens; the even pick of one of two takes the
  // first for rand() 0 and the second for the upper half.
  RandSequence dice({0,                              // rounds
                     0,                              // the second side's shooter: the doomed twin
                     RandFor(1, 100, 90),            // misses
                     0,                              // the battleship's target: the doomed twin
                     RandFor(1, 100, 10), From0(0),  // sunk
                     RandFor(1, 100, 20), From0(0)});  // the survivor hits the battleship
  cSeaBattle battle(*w.world, Ships(a), Ships(b));
  const int survivorId = survivor.id;
  battle.Fight();
  EXPECT_EQ(dice.Left(), 0u);
  EXPECT_EQ(battleship.hitPoints, 3);
  // The sunk twin left the world and its fleet; the fleet lives on.
  EXPECT_EQ(w.world->FindNavalUnitById(survivorId), &survivor);
  EXPECT_EQ(b.ships.size(), 1u);
  EXPECT_EQ(w.world->Units().navalUnits.size(), 2u);
  const std::wstring label = L"Twin (" + w.Country(2).name + L")";
  const std::size_t destroyed = battle.finalReport.find(L"Destroyed ships:\n");
  const std::size_t damaged = battle.finalReport.find(L"Damaged ships:\n");
  ASSERT_NE(destroyed, std::wstring::npos);
  ASSERT_NE(damaged, std::wstring::npos);
  const std::wstring destroyedPart = battle.finalReport.substr(destroyed, damaged - destroyed);
  // Listed once, though two ships bear the name; the survivor is unharmed.
  EXPECT_EQ(std::count(destroyedPart.begin(), destroyedPart.end(), L'\n') - 3, 1);
  EXPECT_NE(destroyedPart.find(label), std::wstring::npos);
  EXPECT_EQ(battle.finalReport.find(L"Twin (" + w.Country(2).name + L") lost"), std::wstring::npos);
  EXPECT_NE(battle.finalReport.find(battleship.name + L" (" + w.Country(1).name + L") lost 1 HP"),
            std::wstring::npos);
}

TEST_F(SeaBattle, LastShipOfAFleetTakesTheFleetAndEndsTheBattle) {
  w.world->constants.seaBattleRoundWeights = {0, 0, 0, 0, 1};
  cFleet& a = w.AddFleet(1, zone, {kUnitBattleship}, 4);
  cFleet& b = w.AddFleet(2, zone, {kUnitSubmarine}, 1);
  cJednostkaMorska& battleship = Ship(a, 0);
  // No submarine level: the submarine never attacks in the preliminary
  // stage (no draw below 0 x 10).
  RandSequence dice({0, RandFor(0, 1000, 0),  // rounds; the submarine's attack fails
                     From0(49),                 // a side of submarines only: not below 50 - 1
                     RandFor(1, 100, 5), From0(0)});
  cSeaBattle battle(*w.world, Ships(a), Ships(b));
  battle.Fight();
  EXPECT_EQ(dice.Left(), 0u);
  EXPECT_EQ(w.world->Units().fleets.size(), 1u);
  EXPECT_EQ(w.world->Units().fleets.front(), &a);
  EXPECT_TRUE(battle.firstSide.empty() && battle.secondSide.empty());
  EXPECT_EQ(battle.events.back().kind, sSeaBattleEvent::kEnd);
  EXPECT_EQ(battleship.hitPoints, 4);
}

TEST_F(SeaBattle, CarrierStrikeTakesTheNavyLevelAndMayCancelTheRounds) {
  w.Country(1).techLevel[kTechNavy] = 2;
  w.Country(1).human = true;  // the report is shown to a side that fights
  cFleet& a = w.AddFleet(1, zone, {kUnitAircraftCarrier}, 4);
  cFleet& b = w.AddFleet(2, zone, {kUnitCruiser}, 4);
  cJednostkaMorska& cruiser = Ship(b, 0);
  std::wstring shownTitle, shownText;
  sSeaBattleHooks hooks;
  hooks.showPreliminaryReport = [&](const std::wstring& title, const std::wstring& text) {
    shownTitle = title;
    shownText = text;
  };
  hooks.playRegularPart = [](cSeaBattle&) { ADD_FAILURE() << "the rounds were cancelled"; };
  // Navy 2: two tries below 2 x 30 per mille; the first hits for 2.
  RandSequence dice({0, RandFor(0, 1000, 59), RandFor(0, 1000, 60),
                     From0(5),     // not below |2 - 1| x 5: no second strike
                     From0(40)});  // below 1 + 20 x ((2 - 1) + 1) = 41: cancelled
  cSeaBattle battle(*w.world, Ships(a), Ships(b));
  battle.Fight(hooks);
  EXPECT_EQ(dice.Left(), 0u);
  EXPECT_EQ(cruiser.hitPoints, 2);
  ASSERT_EQ(battle.strikeEntries.size(), 1u);
  EXPECT_FLOAT_EQ(battle.strikeEntries[0].hitPointsTaken, 2.0f);
  EXPECT_TRUE(battle.cancelRegularPart);
  EXPECT_EQ(shownTitle, L"Fleet detected");
  EXPECT_NE(shownText.find(plat::Format(BattleText("___%s_attacked_%s_and_inflicted_%i_hp_loss"), battle.Label(Ship(a, 0)).c_str(),
                                        battle.Label(cruiser).c_str(), 2)),
            std::wstring::npos);
  EXPECT_NE(shownText.find(BattleText("___(none)")), std::wstring::npos);  // no submarine attacked
  EXPECT_NE(shownText.find(BattleText("due_to_the_result_of_this_stage_of_the_battle,_regular_part_has_been_cancelled.")),
            std::wstring::npos);
}

TEST_F(SeaBattle, TransportsAloneNeverFightRoundsAndCarriersAtTheFloorStayOut) {
  w.world->constants.carrierMinStrength = 3;
  cFleet& a = w.AddFleet(1, zone, {kUnitCargoShip}, 2);
  cFleet& b = w.AddFleet(2, zone, {kUnitAmphibiousShip}, 2);
  RandSequence dice({0});
  cSeaBattle battle(*w.world, Ships(a), Ships(b));
  battle.Fight();
  EXPECT_TRUE(battle.cancelRegularPart);
  EXPECT_TRUE(battle.events.empty());
  EXPECT_FALSE(Ship(a, 0).takesPartInBattle);

  cFleet& c = w.AddFleet(1, zone, {kUnitAircraftCarrier, kUnitAircraftCarrier}, 3);
  Ship(c, 1).hitPoints = 4;
  Ship(c, 0).ResetSeaBattleFlags(*w.world);
  Ship(c, 1).ResetSeaBattleFlags(*w.world);
  EXPECT_FALSE(Ship(c, 0).takesPartInBattle);  // exactly at the withdrawal hit points
  EXPECT_TRUE(Ship(c, 1).takesPartInBattle);
}

TEST_F(SeaBattle, HitChanceNeverFallsBelowOneAndRetreatLeavesTheReport) {
  w.world->constants.seaBattleRoundWeights = {1, 0, 0, 0, 0};
  w.world->constants.convoyAttackValues = {100, 0, 0};
  w.world->constants.value174 = 50;
  cFleet& a = w.AddFleet(1, zone, {kUnitBattleship}, 4);
  cFleet& b = w.AddFleet(2, zone, {kUnitCruiser}, 4);
  cCommander admiral;
  admiral.skill = 5;
  Ship(b, 0).ownCommander = &admiral;
  RandSequence dice({0, RandFor(1, 100, 2),  // 40 - 500 is held at 1: a 2 misses
                     RandFor(1, 100, 49)});  // the cruiser's retreat below 50 succeeds
  cSeaBattle battle(*w.world, Ships(a), Ships(b));
  battle.Fight({nullptr, [&](cSeaBattle& fight) {
                  fight.PlayRound();
                  EXPECT_EQ(fight.events.back().chance, 1);
                  EXPECT_TRUE(fight.TryRetreat(Ship(b, 0)));
                }});
  Ship(b, 0).ownCommander = nullptr;
  EXPECT_EQ(dice.Left(), 0u);
  // The retreated cruiser is neither destroyed nor damaged.
  EXPECT_EQ(battle.finalReport.find(Ship(b, 0).name + L" (" + w.Country(2).name + L")\n"), std::wstring::npos);
  EXPECT_NE(battle.battleLog.find(L"tried to retreat with chance 50%: success"), std::wstring::npos);
}

TEST_F(SeaBattle, AFailedRetreatSpendsTheShipsShotAndTheBattleGoesOn) {
  w.world->constants.seaBattleRoundWeights = {0, 0, 1, 0, 0};
  w.world->constants.value174 = 50;
  cFleet& a = w.AddFleet(1, zone, {kUnitBattleship, kUnitCruiser}, 40);
  cFleet& b = w.AddFleet(2, zone, {kUnitCruiser}, 40);
  cSeaBattle battle(*w.world, Ships(a), Ships(b));
  {
    RandSequence dice({0, 0, 0});  // three rounds; the first of each side picked
    battle.PreliminaryStrikes();
  }
  ASSERT_TRUE(battle.firstSideActs);
  cJednostkaMorska& battleship = Ship(a, 0);
  ASSERT_TRUE(battle.SelectFirstSideShip(battleship.id));
  {
    // The retreat fails (50 is not below 50); the cruiser of the other side
    // acts next and aims at one of the two.
    RandSequence dice({RandFor(1, 100, 50), 0});
    EXPECT_FALSE(battle.TryRetreat(battleship));
  }
  EXPECT_FALSE(battle.Ended());
  EXPECT_FALSE(battleship.takesPartInBattle);
  EXPECT_FALSE(battle.firstSideActs);
  EXPECT_EQ(battle.secondSideSelected, &Ship(b, 0));
  ASSERT_NE(battle.firstSideSelected, nullptr);
  // The battleship that tried to leave does not fire again in this round:
  // after the cruiser's shot the first side's other ship acts.
  {
    RandSequence dice({RandFor(1, 100, 100), 0});  // the cruiser misses
    battle.PlayRound();
  }
  EXPECT_TRUE(battle.firstSideActs);
  EXPECT_EQ(battle.firstSideSelected, &Ship(a, 1));
  // A retreat that works takes the ship off its side, and the battle goes on
  // without it.
  {
    RandSequence dice({RandFor(1, 100, 1)});
    EXPECT_TRUE(battle.TryRetreat(Ship(a, 1)));
  }
  EXPECT_FALSE(battle.Ended());
  EXPECT_EQ(battle.firstSide.size(), 1u);
  EXPECT_NE(battle.firstSideSelected, &Ship(a, 1));
  EXPECT_NE(battle.firstSideSelected, nullptr);
  EXPECT_NE(battle.secondSideSelected, nullptr);
}

TEST_F(SeaBattle, PlayByEmailKeepsARecordOfEveryBattleForTheOtherPlayers) {
  w.world->playByEmail = true;
  w.world->constants.seaBattleRoundWeights = {1, 0, 0, 0, 0};
  cFleet& a = w.AddFleet(1, zone, {kUnitBattleship}, 40);
  cFleet& b = w.AddFleet(2, zone, {kUnitCruiser, kUnitCruiser}, 40);
  cSeaBattle battle(*w.world, Ships(a), Ships(b));
  EXPECT_TRUE(battle.autoEnd);
  battle.Fight();
  ASSERT_EQ(w.world->seaBattleRecords.size(), 1u);
  const sSeaBattleRecord& record = w.world->seaBattleRecords[0];
  EXPECT_EQ(record.seaAreaName, L"Zone");
  EXPECT_EQ(record.firstSideShips, std::vector<std::wstring>{battle.Label(Ship(a, 0))});
  EXPECT_EQ(record.secondSideShips.size(), 2u);
  EXPECT_EQ(record.finalReport, battle.finalReport);
  // A battle whose regular part is cancelled is recorded too: two cargo
  // fleets never fight.
  cFleet& c = w.AddFleet(1, zone, {kUnitCargoShip}, 40);
  cFleet& d = w.AddFleet(2, zone, {kUnitCargoShip}, 40);
  cSeaBattle cargo(*w.world, Ships(c), Ships(d));
  cargo.Fight();
  ASSERT_EQ(w.world->seaBattleRecords.size(), 2u);
  EXPECT_TRUE(w.world->seaBattleRecords[1].finalReport.empty());
  EXPECT_EQ(w.world->seaBattleRecords[1].preliminaryReport, cargo.reportText);
}

}  // namespace

namespace {

TEST(SeaBattleRounds, WeightsPickOneToFiveRounds) {
  twtest::AirWorld w({"~~"});
  w.world->constants.seaBattleRoundWeights = {10, 30, 30, 20, 10};
  // r from 1 to 100: 1-10 one round, 11-40 two, 41-70 three, 71-90 four,
  // the rest five.
  const std::pair<int, int> cases[] = {{1, 1}, {10, 1}, {11, 2}, {40, 2}, {41, 3}, {70, 3}, {71, 4}, {90, 4}, {91, 5}, {100, 5}};
  for (auto [r, rounds] : cases) {
    twtest::RandSequence dice({twtest::RandFor(1, 100, r)});
    EXPECT_EQ(PickSeaBattleRounds(*w.world), rounds) << r;
  }
}

}  // namespace

namespace {

TEST(SeaBattleGrid, CarrierAtTheGridsEdgeIsHitHalfAsOften) {
  twtest::AirWorld w({"~~~~~", "ppppp"});
  w.ThreeCountries();
  w.Country(1).techLevel[kTechNavy] = 1;
  w.Country(2).techLevel[kTechNavy] = 1;
  w.world->constants.seaBattleRoundWeights = {1, 0, 0, 0, 0};
  w.world->constants.carrierMinStrength = 0;
  const int zone = w.AddSeaNode(true, 1, 0).id;
  cFleet& a = w.AddFleet(1, zone, {kUnitBattleship}, 4);
  cFleet& b = w.AddFleet(2, zone, {kUnitAircraftCarrier, kUnitBattleship}, 4);
  int id = 0;
  for (cJednostkaMorska* ship : w.world->Units().navalUnits) {
    ship->id = ++id;
    ship->visible = true;
  }
  cJednostkaMorska* carrier = b.ships.front();
  twtest::RandSequence dice({0,                                // rounds
                             twtest::RandFor(0, 1000, 30),     // the carrier (navy 1) misses: not below 30
                             twtest::RandFor(0, 100, 100),     // no second strike (|1 - 1| x 5)
                             twtest::RandFor(0, 100, 21),      // not below 1 + 20: the rounds go on
                             0});                              // the opening shooter of two

  cSeaBattle battle(*w.world, {a.ships.begin(), a.ships.end()}, {b.ships.begin(), b.ships.end()});
  battle.PreliminaryStrikes();
  EXPECT_EQ(dice.Left(), 0u);
  // The second side opens (more carriers); the battleship shoots back at a
  // carrier in the middle column: the full 40; at column 2: 20.
  battle.firstSideActs = true;
  battle.firstSideSelected = a.ships.front();
  battle.secondSideSelected = carrier;
  EXPECT_EQ(battle.GridColumn(carrier->id), 15);
  {
    // A miss, then the second side's next shooter of two.
    twtest::RandSequence shot({twtest::RandFor(1, 100, 90), 0});
    battle.PlayRound();
  }
  EXPECT_EQ(battle.events.back().chance, 40);
  battle.SetGridColumn(carrier->id, 2);
  battle.firstSideActs = true;
  battle.firstSideSelected = a.ships.front();
  battle.secondSideSelected = carrier;
  a.ships.front()->takesPartInBattle = true;
  {
    // A miss, then the second side's next shooter of two.
    twtest::RandSequence shot({twtest::RandFor(1, 100, 90), 0});
    battle.PlayRound();
  }
  EXPECT_EQ(battle.events.back().chance, 20);
}

}  // namespace
