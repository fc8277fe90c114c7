// The interception of a carrier's strike, the raids on a convoy at a sea
// zone, and the sea-battle generator's meetings of the alliances and the
// warring neutrals.
#include <gtest/gtest.h>

#include "air_rules/air_fixture.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "rules/sea_battle.h"
#include "world/combat_result.h"
#include "world/country.h"
#include "world/naval_spotting.h"
#include "world/report_store.h"

namespace {

using twtest::AirWorld;
using twtest::RandFor;
using twtest::RandSequence;

class Encounters : public ::testing::Test {
 protected:
  Encounters() : w({"~~~~~", "~~~~~", "ppppp"}) {
    w.ThreeCountries();
    for (int id = 1; id <= 3; ++id) w.Country(id).techLevel[kTechNavy] = 1;
    zone = w.AddSeaNode(true, 1, 1).id;
  }
  cJednostkaMorska& First(cFleet& fleet) { return *fleet.ships.front(); }
  int SeaBattleReports() const {
    int n = 0;
    for (const sReport& report : w.world->reports.Reports()) n += report.type == 20 ? 1 : 0;
    return n;
  }
  AirWorld w;
  int zone = 0;
};

TEST_F(Encounters, FighterInterceptsACarrierStrike) {
  cFleet& fleet = w.AddFleet(1, zone, {kUnitAircraftCarrier}, 6);
  cJednostkaMorska& carrier = First(fleet);
  cJednostkaLotnicza& fighter = w.AddAir(0, 2, 2, kUnitFighter, 10.0f);
  // Column 6 - 1 - 10 + 1 = -4: the fighter loses 9, the carrier 3 (the
  // fixture's tables name their cells); the carrier lost less: it strikes on.
  sBombardmentResult result;
  {
    RandSequence dice({RandFor(1, 6, 3)});
    EXPECT_FALSE(carrier.ResolveInterception(&fighter, result));
  }
  EXPECT_FLOAT_EQ(fighter.strength, 1.0f);
  EXPECT_EQ(carrier.hitPoints, 3);
  EXPECT_TRUE(result.Flag(kFlagIntercepted));
  EXPECT_FALSE(result.Flag(kFlagStoppedByInterception));
  // Column 3 - 1 - 1 + 1 = 2 with die 1: the carrier would lose 1 + 6 = 7 but
  // keeps the floor of half its hit points; the fighter loses 9 - 6 = 3 and
  // falls, so the strike goes on.
  w.world->constants.seaBattleValue155 = 50.0f;
  sBombardmentResult second;
  {
    RandSequence dice({RandFor(1, 6, 1)});
    EXPECT_FALSE(carrier.ResolveInterception(&fighter, second));
  }
  EXPECT_EQ(carrier.hitPoints, 3);
  EXPECT_TRUE(second.Flag(kFlagDefenderDestroyed));
  EXPECT_EQ(w.world->Units().airUnits.size(), 0u);
}

TEST_F(Encounters, ConvoyRaidsCutToWhatTheConvoyCarries) {
  sScenarioConstants& k = w.world->constants;
  k.convoyRouteFactors = {50.0f, 1.0f, 2.0f, 3.0f, 0.5f};
  k.convoyDamageMin[2] = k.convoyDamageMax[2] = 30;
  w.AddFleet(2, zone, {kUnitCruiser});
  cFleet& raiders = w.AddFleet(2, zone, {kUnitSubmarine});
  raiders.formation = kFormationRaiders;
  w.AddFleet(3, zone, {kUnitCruiser});  // an ally of the owner never raids
  sConvoyVoyage voyage;
  voyage.stpCarried = 12;
  EXPECT_EQ(GetConvoyRaidChance(*w.world, voyage), 100);  // 12 STP: the factor for at most 20
  voyage.stpCarried = 9;
  EXPECT_EQ(GetConvoyRaidChance(*w.world, voyage), 50);
  voyage.stpCarried = 12;
  // Two enemy fleets: the even pick takes the first for rand() 0; its
  // damage of 30 costs all 12 STP and the raider no longer rolls.
  RandSequence dice({0, RandFor(1, 100, 100), 0});
  ResolveConvoyAttacks(*w.world, 1, zone, voyage, true);
  EXPECT_EQ(dice.Left(), 0u);
  EXPECT_EQ(voyage.stpLost, 12);
  EXPECT_EQ(voyage.routeText, L"\n>>> Zone[ATTACKED by enemy FLEET (1 ships), lost 12 STP] \n");
  // At a port the route text only grows.
  sWezelGrafuMorz& port = w.AddSeaNode(false, 0, 2, 3);
  sConvoyVoyage passing;
  passing.stpCarried = 5;
  ResolveConvoyAttacks(*w.world, 1, port.id, passing, false);
  EXPECT_EQ(passing.routeText, L"\n>>> Port");
  EXPECT_EQ(passing.stpLost, 0);
}

TEST_F(Encounters, GeneratorMeetsOnlyWithLeadersAndJoiningShips) {
  sScenarioConstants& k = w.world->constants;
  k.navalSeaBattleValue = {1000, 1000, 1000, 1000, 1000, 1000, 0, 0};  // the start check always passes
  k.seaBattleRoundWeights = {1, 0, 0, 0, 0};
  w.AddFleet(1, zone, {kUnitBattleship}, 50);
  w.AddFleet(2, zone, {kUnitCruiser}, 50);
  // No alliance has a leader: no meeting at all.
  k.seaBattleJoinChance = 100;
  GenerateSeaBattles(*w.world);
  EXPECT_EQ(SeaBattleReports(), 0);
  // With leaders, a join chance of 0 still starts nothing.
  w.Country(1).alliance = kAlliesLeader;
  w.Country(2).alliance = kAxisLeader;
  k.seaBattleJoinChance = 0;
  GenerateSeaBattles(*w.world);
  EXPECT_EQ(SeaBattleReports(), 0);
  // Everyone joins: the Allies meet the Axis, then the Axis the Allies; each
  // meeting is announced to all three countries and reported to the two
  // whose ships fought.
  k.seaBattleJoinChance = 100;
  GenerateSeaBattles(*w.world);
  const std::wstring allied = plat::Format(g_StringBase.GetText("allied_fleets_have_met_enemy_formations_in_%s"), L"Zone");
  int announced = 0;
  for (const sReport& report : w.world->reports.Reports()) announced += report.text == allied ? 1 : 0;
  EXPECT_EQ(announced, 3);
  EXPECT_EQ(SeaBattleReports(), 2 * (3 + 2));
}

}  // namespace
