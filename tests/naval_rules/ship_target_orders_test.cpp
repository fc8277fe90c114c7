// The fleets dialog's orders that take a target on the map: the checks that
// enable them, in the order of their reasons, and the carrier's strike and
// reconnaissance on a picked hex.
#include <gtest/gtest.h>

#include "air_rules/air_fixture.h"
#include "rules/fleet_management.h"
#include "world/combat_result.h"
#include "world/country.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "world/unit.h"

namespace {

using twtest::AirWorld;

class ShipTargetOrders : public ::testing::Test {
 protected:
  // Rows 0 and 1 water (one zone), row 2 its coast, row 3 inland.
  ShipTargetOrders() : w({"~~~~~~~", "~~~~~~~", "ppppppp", "ppppppp"}) {
    w.ThreeCountries();
    zone = w.AddSeaNode(true, 1, 1).id;
    for (int x = 0; x < 7; ++x) w.Hex(x, 2).seaZone = static_cast<std::uint16_t>(zone);
    for (int x = 0; x < 7; ++x) {
      for (int y = 0; y < 2; ++y) w.Hex(x, y).seaZone = static_cast<std::uint16_t>(zone);
    }
    sScenarioConstants& k = w.world->constants;
    k.fleetValue157 = 1;  // carrier aircraft range 1
    k.aircraftRangeFactors = {1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
    k.carrierMinStrength = 3;
  }
  AirWorld w;
  int zone = 0;
};

TEST_F(ShipTargetOrders, TheCarriersStrikeIsCheckedBeforeItFlies) {
  cFleet& fleet = w.AddFleet(1, zone, {kUnitAircraftCarrier, kUnitBattleship}, 5);
  cJednostkaMorska& carrier = *fleet.ships.front();
  cJednostkaMorska& battleship = *fleet.ships.back();
  EXPECT_EQ(CheckCarrierStrikeOrder(*w.world, {}), eShipOrderRefusal::kNoShipSelected);
  EXPECT_EQ(CheckCarrierStrikeOrder(*w.world, {&carrier, &battleship}), eShipOrderRefusal::kMultipleSelection);
  EXPECT_EQ(CheckCarrierStrikeOrder(*w.world, {&battleship}), eShipOrderRefusal::kNotCarrier);
  carrier.hitPoints = 2;
  EXPECT_EQ(CheckCarrierStrikeOrder(*w.world, {&carrier}), eShipOrderRefusal::kHitPointsTooLow);
  carrier.hitPoints = 5;
  EXPECT_EQ(CheckCarrierStrikeOrder(*w.world, {&carrier}), eShipOrderRefusal::kNoTargets);
  // An enemy on the coast: a target; a hex beyond the aircraft's range and
  // an own unit are not.
  cJednostkaLadowa& enemy = w.AddUnit(3, 2, 2);
  enemy.visible = true;
  w.AddUnit(0, 3, 1).visible = true;
  EXPECT_EQ(CheckCarrierStrikeOrder(*w.world, {&carrier}), eShipOrderRefusal::kNone);
  EXPECT_EQ(CheckCarrierStrike(*w.world, carrier, 3, 2), eShipOrderRefusal::kNone);
  EXPECT_EQ(CheckCarrierStrike(*w.world, carrier, 0, 3), eShipOrderRefusal::kTargetNotInRange);
  EXPECT_EQ(CheckCarrierStrike(*w.world, carrier, 6, 3), eShipOrderRefusal::kTargetNotInRange);
  // Another country's carrier is not this player's to fly.
  w.world->turnState.SetCurrentCountry(&w.Country(3));
  EXPECT_EQ(CheckCarrierStrike(*w.world, carrier, 3, 2), eShipOrderRefusal::kNotOwnFleet);
  w.world->turnState.SetCurrentCountry(&w.Country(1));

  sBombardmentResult result;
  EXPECT_EQ(CarrierStrike(*w.world, carrier, 3, 2, result), eShipOrderRefusal::kNone);
  EXPECT_TRUE(carrier.airstrikeDone);
  EXPECT_EQ(result.attackerCountry, 1);
  EXPECT_EQ(CheckCarrierStrikeOrder(*w.world, {&carrier}), eShipOrderRefusal::kPlanesUsed);
  EXPECT_EQ(CarrierStrike(*w.world, carrier, 3, 2, result), eShipOrderRefusal::kPlanesUsed);
}

TEST_F(ShipTargetOrders, ReconOfTheZoneAndOfAHexOnceATurn) {
  cFleet& fleet = w.AddFleet(1, zone, {kUnitAircraftCarrier, kUnitCruiser});
  cJednostkaMorska& carrier = *fleet.ships.front();
  cJednostkaMorska& cruiser = *fleet.ships.back();
  EXPECT_EQ(CheckReconOrder(*w.world, {&cruiser}), eShipOrderRefusal::kNoCarrierGiven);
  EXPECT_EQ(CheckReconOrder(*w.world, {&cruiser, &carrier}), eShipOrderRefusal::kNone);
  EXPECT_EQ(CheckShipRecon(*w.world, cruiser, 1, 1), eShipOrderRefusal::kNoCarrierGiven);
  // An enemy hidden inland, within the range of the coast.
  cJednostkaLadowa& hidden = w.AddUnit(4, 3, 2);
  hidden.visible = false;
  sBombardmentResult result;
  EXPECT_EQ(ShipRecon(*w.world, carrier, 4, 3, result), eShipOrderRefusal::kNone);
  EXPECT_TRUE(hidden.visible);
  EXPECT_TRUE(carrier.reconDone);
  EXPECT_EQ(CheckReconOrder(*w.world, {&carrier}), eShipOrderRefusal::kAllReconDone);
  EXPECT_EQ(ShipRecon(*w.world, carrier, 1, 1, result), eShipOrderRefusal::kAllReconDone);
  carrier.reconDone = false;
  // The own zone's water is a target; a hex off the map is none.
  EXPECT_EQ(ShipRecon(*w.world, carrier, 5, 0, result), eShipOrderRefusal::kNone);
  carrier.reconDone = false;
  EXPECT_EQ(CheckShipRecon(*w.world, carrier, 40, 40), eShipOrderRefusal::kTargetNotInRange);
}

// A carrier lying in a port flies over the sea the port opens on: the zone
// is marked and taken, and the report counts the enemy ships it saw there.
TEST_F(ShipTargetOrders, ACarrierInPortReconnoitresTheSeaBeforeThePortAndReportsIt) {
  const int port = w.AddSeaNode(false, 3, 2, 3).id;
  w.world->GetSeaGraph().GetNode(port)->links = {{zone, -1, -1}};
  w.Hex(3, 2).seaZone = static_cast<std::uint16_t>(port);  // the port city's hex is its harbour
  cJednostkaMorska& carrier = *w.AddFleet(1, port, {kUnitAircraftCarrier}).ships.front();
  w.AddFleet(2, zone, {kUnitBattleship, kUnitBattleship, kUnitSubmarine});
  w.world->constants.navalSpotBase = 100;
  cFleet& home = *carrier.fleet;
  EXPECT_GT(home.MarkReconHexes(*w.world, true), 0);
  EXPECT_NE(w.Hex(5, 0).markBits & 16384u, 0u) << "the zone before the port is marked";
  EXPECT_EQ(CheckShipRecon(*w.world, carrier, 5, 0), eShipOrderRefusal::kNone);

  sBombardmentResult result;
  ASSERT_EQ(ShipRecon(*w.world, carrier, 5, 0, result), eShipOrderRefusal::kNone);
  EXPECT_TRUE(carrier.reconDone);
  EXPECT_EQ(result.kind, kCombatRecon);
  EXPECT_EQ(result.attackerCountry, 1);
  const std::wstring flight =
      plat::Format(g_StringBase.GetText("recon_report_flight_over_sea_%s_%s"), carrier.name,
                   plat::Format(g_StringBase.GetText("recon_report_sea_zone_%s"), L"Zone"));
  EXPECT_NE(result.attackerText2.find(flight), std::wstring::npos) << result.attackerText2;
  const auto count = [&](int type, int n) {
    return plat::Format(g_StringBase.GetText("recon_report_ships_of_type_%s_%i"),
                        cUnit::GetSubtypeText(w.world.get(), type), n);
  };
  EXPECT_NE(result.defenderText2.find(count(kUnitBattleship, 2)), std::wstring::npos) << result.defenderText2;
  EXPECT_NE(result.defenderText2.find(count(kUnitSubmarine, 1)), std::wstring::npos) << result.defenderText2;
  // Another zone, not linked to the port, is no target.
  w.world->GetSeaGraph().GetNode(port)->links.clear();
  carrier.reconDone = false;
  EXPECT_EQ(CheckShipRecon(*w.world, carrier, 5, 0), eShipOrderRefusal::kTargetNotInRange);
}

TEST_F(ShipTargetOrders, ShoreBombardmentNeedsAFreshGunShipAndATarget) {
  cFleet& fleet = w.AddFleet(1, zone, {kUnitBattleship, kUnitCruiser, kUnitSubmarine});
  cJednostkaMorska& battleship = *fleet.ships.front();
  cJednostkaMorska& submarine = *fleet.ships.back();
  EXPECT_EQ(CheckShoreBombardmentOrder(*w.world, {&submarine}), eShipOrderRefusal::kNoBombardingShip);
  EXPECT_EQ(CheckShoreBombardmentOrder(*w.world, {&battleship}), eShipOrderRefusal::kNoTargets);
  w.AddUnit(2, 2, 2).visible = true;
  EXPECT_EQ(CheckShoreBombardmentOrder(*w.world, {&battleship, &submarine}), eShipOrderRefusal::kNone);
  battleship.shoreBombardmentDone = true;
  EXPECT_EQ(CheckShoreBombardmentOrder(*w.world, {&battleship, &submarine}), eShipOrderRefusal::kAllBombarded);
}

}  // namespace
