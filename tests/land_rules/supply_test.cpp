// Supply at the end of an impulse on the fixture scenario: units drawing
// from their side's cities, pockets cut off impulse by impulse, ships and
// harbours on the coast, land nobody holds, and cut-off land absorbed.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "land_rules/fixture_game.h"
#include "rules/hex_control.h"
#include "rules/supply.h"
#include "support/fixture_ids.h"
#include "world/fleet.h"
#include "world/strategic_movement.h"

namespace {

using Supply = twtest::FixtureGame;


int Given(const cCity& city, int countryId) { return city.supplyInfo.at(static_cast<std::size_t>(countryId - 1)); }

TEST_F(Supply, UnitsDrawFromTheCheapestCityOfTheirSide) {
  const int range = World().constants.maxSupply;
  ASSERT_EQ(range, 50);
  CalculateSupply(World());
  // Next to its capital, one plain hex away: the full value less one.
  cJednostkaLadowa& infantry = Land(L"1st Infantry");
  EXPECT_EQ(infantry.supplySourceX, 2);
  EXPECT_EQ(infantry.supplySourceY, 4);
  EXPECT_EQ(infantry.supply, range - 1);
  // Westland's cities form one group with a source: each gives the full value.
  EXPECT_EQ(Given(City(L"Westhaven"), kWestland), range);
  EXPECT_EQ(Given(City(L"Millbrook"), kWestland), range);
  // A unit on a city draws its whole value at no cost.
  Place(Land(L"2nd Armoured"), 6, 8);
  CalculateSupply(World());
  EXPECT_EQ(Land(L"2nd Armoured").supply, range);
  EXPECT_EQ(Land(L"2nd Armoured").supplySourceX, 6);
  // The Axis member draws from its own source city, two plain hexes away;
  // a resource site is never a supply city, even under the unit.
  cJednostkaLadowa& rifles = Land(L"Southia Rifles");
  EXPECT_EQ(rifles.supplySourceX, 14);
  EXPECT_EQ(rifles.supplySourceY, 12);
  EXPECT_EQ(rifles.supply, range - 2);
  Place(rifles, 17, 13);
  CalculateSupply(World());
  EXPECT_NE(rifles.supplySourceX, 17);
  EXPECT_GE(rifles.supply, 1);
  EXPECT_TRUE(City(L"Ironvale").supplyInfo.empty() || Given(City(L"Ironvale"), kSouthia) == 0);
}

TEST_F(Supply, AMemberDrawsThroughItsLeadersSourceAndAGroupWithoutOneGivesItsOwnValues) {
  const int range = World().constants.maxSupply;
  cCity& suddorf = City(L"Suddorf");
  suddorf.type = kCityNormal;  // Southia's only source city is a source no more
  cJednostkaLadowa& rifles = Land(L"Southia Rifles");
  CalculateSupply(World());
  // Joined by land to Eastmark, the alliance leader: its sources count.
  EXPECT_EQ(Given(suddorf, kSouthia), range);
  EXPECT_EQ(rifles.supply, range - 2);
  // Land nobody holds between the two: Southia's group stands alone.
  for (int x = 10; x < 20; ++x) Hex(x, 9).controller = 0;
  CalculateSupply(World());
  EXPECT_EQ(Given(suddorf, kSouthia), suddorf.supply);
  EXPECT_EQ(rifles.supply, suddorf.supply - 2);
  // A cost above the city's value still leaves 1.
  suddorf.supply = 1;
  CalculateSupply(World());
  EXPECT_EQ(rifles.supply, 1);
  EXPECT_EQ(rifles.supplySourceX, 14);
}

// Two cities at the same cost, one south of the unit and one north-east of
// it: the search visits north, south, then north-east ... and the city met
// last wins the tie. Without a source in the group each gives its own value,
// so the winner shows in the unit's supply.
TEST_F(Supply, OfTwoCitiesAtEqualCostTheOneMetLastInTheSearchOrderWins) {
  City(L"Westhaven").type = kCityNormal;
  City(L"Westport").type = kCityPort;
  City(L"Westport").supply = 3;
  cCity& millbrook = City(L"Millbrook");
  Hex(millbrook.x, millbrook.y).city = nullptr;
  millbrook.x = 3;
  millbrook.y = 4;
  millbrook.supply = 7;
  Hex(3, 4).city = &millbrook;
  Hex(3, 4).terrain = kTerrainPlain;
  ASSERT_EQ(Hex(4, 2).terrain, kTerrainPlain);
  // (3, 3) is an odd column: Westport (4, 2) lies north-east, Millbrook south.
  cJednostkaLadowa& infantry = Land(L"1st Infantry");
  Place(infantry, 3, 3);
  CalculateSupply(World());
  EXPECT_EQ(Given(millbrook, kWestland), 7);
  EXPECT_EQ(Given(City(L"Westport"), kWestland), 3);
  EXPECT_EQ(infantry.supplySourceX, 4);
  EXPECT_EQ(infantry.supplySourceY, 2);
  EXPECT_EQ(infantry.supply, 3 - 1);
}

TEST_F(Supply, APocketKeepsItsSupplyUntilTheCutOffLimitThenLosesIt) {
  const int limit = World().constants.noSupplyTurnsLimit;
  ASSERT_EQ(limit, 5);
  cJednostkaLadowa& tanks = Land(L"2nd Armoured");
  CalculateSupply(World());
  const int supplied = tanks.supply;
  const int sourceX = tanks.supplySourceX, sourceY = tanks.supplySourceY;
  ASSERT_GT(supplied, 0);
  ASSERT_EQ(tanks.turnsWithoutSupply, 0);

  Surround(6, 4, kEastmark);
  for (int run = 1; run < limit; ++run) {
    CalculateSupply(World());
    EXPECT_EQ(tanks.turnsWithoutSupply, run);
    EXPECT_EQ(tanks.supply, supplied) << "run " << run;
    EXPECT_EQ(tanks.supplySourceX, sourceX);
    EXPECT_EQ(tanks.supplySourceY, sourceY);
  }
  CalculateSupply(World());
  EXPECT_EQ(tanks.supply, 0);
  EXPECT_EQ(tanks.supplySourceX, -1);
  EXPECT_EQ(tanks.supplySourceY, -1);
  EXPECT_EQ(tanks.turnsWithoutSupply, limit - 1);

  // Relieved, the unit draws again and its count falls one per impulse.
  Surround(6, 4, kWestland);
  CalculateSupply(World());
  EXPECT_EQ(tanks.supply, supplied);
  EXPECT_EQ(tanks.turnsWithoutSupply, limit - 2);

  // An air unit without a city is cut off at once.
  cJednostkaLotnicza& fighters = Air(L"Westland Fighters");
  ASSERT_GT(fighters.supply, 0);
  Surround(fighters.x, fighters.y, kEastmark);
  CalculateSupply(World());
  EXPECT_EQ(fighters.supply, 0);
  EXPECT_EQ(fighters.supplySourceX, -1);
}

TEST_F(Supply, ANeutralAtPeaceGetsPeaceTimeSupplyAndAtWarItsOwnCities) {
  cJednostkaLadowa& militia = Land(L"Neutral Militia");
  militia.supplySourceX = militia.supplySourceY = -1;
  militia.turnsWithoutSupply = 2;
  CalculateSupply(World());
  EXPECT_EQ(militia.supply, World().constants.maxSupply / 2);
  EXPECT_EQ(militia.supplySourceX, -1);
  EXPECT_EQ(militia.turnsWithoutSupply, 2);

  World().GetRelations().SetAtWar(kNeutralia, kEastmark, true);
  World().GetRelations().SetAtWar(kEastmark, kNeutralia, true);
  CalculateSupply(World());
  // It stands on its own source city.
  EXPECT_EQ(militia.supply, World().constants.maxSupply);
  EXPECT_EQ(militia.supplySourceX, 4);
  EXPECT_EQ(militia.supplySourceY, 12);
  EXPECT_EQ(militia.turnsWithoutSupply, 1);
}

TEST_F(Supply, LandWithoutAControllerIsNobodys) {
  cCity& capital = City(L"Westhaven");
  Hex(capital.x, capital.y).controller = 0;
  CalculateSupply(World());
  // No group holds the city and it gives nobody anything.
  for (int id = 1; id <= World().GetCountryCount(); ++id) EXPECT_EQ(Given(capital, id), 0) << id;
  for (const Topography& groups : World().topographies) {
    for (const TopographyGroup& group : groups) {
      EXPECT_EQ(std::count(group.begin(), group.end(), &capital), 0);
    }
  }
  // The unit next to it draws from another city of its own.
  cJednostkaLadowa& infantry = Land(L"1st Infantry");
  EXPECT_FALSE(infantry.supplySourceX == capital.x && infantry.supplySourceY == capital.y);
  ASSERT_NE(Hex(infantry.supplySourceX, infantry.supplySourceY).city, nullptr);
  EXPECT_EQ(Hex(infantry.supplySourceX, infantry.supplySourceY).controller, kWestland);
  EXPECT_LT(infantry.supply, World().constants.maxSupply - 1);
  // Nor is it a destination of a strategic move.
  EXPECT_FALSE(IsStrategicDestinationCity(World(), infantry, capital));
  // A pocket bordered by land nobody holds passes to the enemy next to it;
  // the land nobody holds stays nobody's.
  Hex(13, 6).controller = kWestland;
  Hex(13, 5).controller = 0;
  AbsorbHexesWithoutSupply(World());
  EXPECT_EQ(Hex(13, 6).controller, kEastmark);
  EXPECT_EQ(Hex(13, 6).owner, kEastmark);
  EXPECT_EQ(Hex(13, 5).controller, 0);
}

TEST_F(Supply, OwnShipsOffTheCoastSupplyACutOffUnitLessTheEnemysShips) {
  sScenarioConstants& k = World().constants;
  k.ownShipSupply = {0, 6, 4, 0, 3, 0};    // battleship, cruiser, cargo ship
  k.enemyShipSupply = {0, 0, 0, 5, 0, 2};  // submarine, amphibious ship
  k.coastSearchRange = 2;
  ASSERT_EQ(k.shipSupplyLimit, 30);
  // A pocket on the North Sea coast; the Home Fleet lies off it.
  cJednostkaLadowa& tanks = Land(L"2nd Armoured");
  Place(tanks, 6, 2);
  Surround(6, 2, kEastmark);
  CalculateSupply(World());
  ASSERT_EQ(tanks.turnsWithoutSupply, 1);
  const int infantrySupply = Land(L"1st Infantry").supply;
  PullSupplyFromShips(World());
  EXPECT_EQ(tanks.supply, 6 + 4 + 3);
  EXPECT_EQ(tanks.turnsWithoutSupply, 0);
  // A unit supplied well enough is left alone.
  EXPECT_EQ(Land(L"1st Infantry").supply, infantrySupply);

  // Enemy ships in the same zone take theirs off.
  for (cFleet* fleet : World().Units().fleets) {
    if (fleet->country == kEastmark) fleet->seaNode = 1;
  }
  CalculateSupply(World());
  PullSupplyFromShips(World());
  EXPECT_EQ(tanks.supply, 13 - 5 - 2);

  // Inland, two hexes from the coast over own land: the distance is taken off.
  Surround(6, 2, kWestland);
  tanks.supply = 3;
  tanks.turnsWithoutSupply = 1;
  Place(tanks, 6, 4);
  PullSupplyFromShips(World());
  EXPECT_EQ(tanks.supply, 6 - 2);
}

TEST_F(Supply, AHarbourSuppliesOwnUnitsItReachesOverFriendlyLandAndNeverLowersSupply) {
  sScenarioConstants& k = World().constants;
  k.mulberryValues[1] = 5.0f;
  // The harbour and a unit beside it in a two-hex pocket.
  auto* harbour = new cMulberry(&World());
  harbour->countryId = kWestland;
  World().Units().landUnits.push_back(harbour);
  Place(*harbour, 6, 3);
  cJednostkaLadowa& tanks = Land(L"2nd Armoured");
  Surround(6, 3, kEastmark);
  Surround(6, 4, kEastmark);
  Surround(7, 3, kEastmark);
  Hex(6, 3).controller = Hex(6, 4).controller = Hex(7, 3).controller = kWestland;
  tanks.supply = 0;
  tanks.turnsWithoutSupply = 3;
  // Beyond the pocket: near, but not reached over friendly land.
  cJednostkaLadowa& infantry = Land(L"1st Infantry");
  Place(infantry, 4, 4);
  infantry.supply = 2;
  // An enemy unit in the pocket, next to the harbour, gets nothing.
  cJednostkaLadowa& guard = Land(L"Eastmark Guard");
  Place(guard, 7, 3);
  guard.supply = 1;

  PullSupplyFromMulberries(World());
  EXPECT_EQ(tanks.supply, 5 - 1);
  EXPECT_EQ(tanks.turnsWithoutSupply, 0);
  EXPECT_EQ(infantry.supply, 2);
  EXPECT_EQ(guard.supply, 1);
  EXPECT_EQ(harbour->supplySourceX, -1);

  tanks.supply = 30;
  PullSupplyFromMulberries(World());
  EXPECT_EQ(tanks.supply, 30);
}

TEST_F(Supply, ConvoysSailInEachCountrysStepBeforeItsUnitsDraw) {
  cJednostkaLadowa& tanks = Land(L"2nd Armoured");
  Surround(6, 4, kEastmark);
  cCity& port = City(L"Westport");
  std::vector<int> countries;
  CalculateSupply(World(), [&](cWorld&, int countryId, const Topography& groups, SupplyEntries& entries) {
    countries.push_back(countryId);
    if (countryId != kWestland) return;
    EXPECT_FALSE(groups.empty());
    // A convoy reaches the pocket: its unit draws from the port.
    for (sSupplyUnitEntry& entry : entries) {
      if (entry.unit == &tanks) {
        EXPECT_EQ(entry.city, nullptr);
        entry.city = &port;
        entry.cost = 5;
      }
    }
  });
  EXPECT_EQ(countries, (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(tanks.supplySourceX, port.x);
  EXPECT_EQ(tanks.supply, World().constants.maxSupply - 5);
  EXPECT_EQ(tanks.turnsWithoutSupply, 0);
}

TEST(SupplyAlliances, AllianceCodesReadAsTheirAlliance) {
  EXPECT_EQ(AllianceOfCode(kNeutral), 0);
  EXPECT_EQ(AllianceOfCode(kAllies), 1);
  EXPECT_EQ(AllianceOfCode(kAlliesLeader), 1);
  EXPECT_EQ(AllianceOfCode(kCominternLeader), 3);
  EXPECT_EQ(AllianceOfCode(7), 0);
}

}  // namespace
