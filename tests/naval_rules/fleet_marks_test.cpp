// The fleet's marks for the fleets dialog, the ports a reserve ship may be
// placed at, and naval reconnaissance around a hex; the shore bombardment
// order accepts exactly the hexes its marks show.
#include <gtest/gtest.h>

#include "air_rules/air_fixture.h"
#include "rules/fleet_orders.h"
#include "world/combat_result.h"
#include "world/country.h"

namespace {

using twtest::AirWorld;

class FleetMarks : public ::testing::Test {
 protected:
  // Row 0 and 1 water (one zone), row 2 coast.
  FleetMarks() : w({"~~~~~~~", "~~~~~~~", "ppppppp", "ppppppp"}) {
    w.ThreeCountries();
    zone = w.AddSeaNode(true, 1, 1).id;
    for (int x = 0; x < 7; ++x) w.Hex(x, 2).seaZone = static_cast<std::uint16_t>(zone);
    sScenarioConstants& k = w.world->constants;
    k.fleetValue157 = 1;  // carrier aircraft range 1 x the factor of level 1
    k.fleetReachSteps = 1;
  }
  int Marked(std::uint32_t bits) {
    int n = 0;
    for (const sHex& hex : w.Map().Hexes()) n += (hex.markBits & bits) ? 1 : 0;
    return n;
  }
  AirWorld w;
  int zone = 0;
};

TEST_F(FleetMarks, PortsForAReserveShipAndReachableNodes) {
  const int smallId = w.AddSeaNode(false, 0, 2, 1).id;
  const int bigId = w.AddSeaNode(false, 6, 2, 5).id;
  // References only once every node is in the graph's vector.
  sWezelGrafuMorz& small = *w.world->GetSeaGraph().GetNode(smallId);
  sWezelGrafuMorz& big = *w.world->GetSeaGraph().GetNode(bigId);
  small.ownShipX = 0, small.ownShipY = 1;
  big.ownShipX = 6, big.ownShipY = 1;
  w.Control(6, 2, 1);
  w.Control(0, 2, 1);
  w.world->constants.minPortSize = {5, 5, 3, 1, 1, 2};
  cFleet& fleet = w.AddFleet(1, zone, {kUnitBattleship});
  cJednostkaMorska& battleship = *fleet.ships.front();
  // A battleship needs a port of size 5: only the big one.
  EXPECT_EQ(battleship.MarkDeployHexes(true), 1);
  EXPECT_EQ(w.Hex(6, 1).markBits & 64u, 64u);
  EXPECT_EQ(w.Hex(0, 1).markBits & 64u, 0u);
  battleship.SetType(kUnitSubmarine);
  EXPECT_EQ(battleship.MarkDeployHexes(false), 2);
  w.Control(0, 2, 2);  // an enemy's city is no home port
  EXPECT_EQ(battleship.MarkDeployHexes(false), 1);
  battleship.SetType(kUnitBattleship);

  // Reachable: the own zone and the friendly port linked to it.
  w.world->GetSeaGraph().GetNode(zone)->links = {{small.id, -1, -1}, {big.id, -1, -1}};
  w.world->constants.navalReachValue = {1, 1, 1, 1, 1, 1};
  EXPECT_EQ(fleet.MarkReachableNodes(*w.world, true), 2);
  EXPECT_NE(w.Hex(1, 1).markBits & 0x8000u, 0u);  // the zone's main hex
  EXPECT_NE(w.Hex(6, 1).markBits & 0x8000u, 0u);  // the port's marker hex
  EXPECT_EQ(w.Hex(0, 1).markBits & 0x8000u, 0u);
}

TEST_F(FleetMarks, TargetsOfTheGunsAndReconAroundAHex) {
  w.Country(1).techLevel[kTechAircraft] = 2;
  w.world->constants.aircraftRangeFactors = {1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
  cFleet& fleet = w.AddFleet(1, zone, {kUnitAircraftCarrier});
  cJednostkaLadowa& coastal = w.AddUnit(3, 2, 2);
  cJednostkaLadowa& inland = w.AddUnit(3, 3, 2);   // one hex behind the coast
  cJednostkaLadowa& friendly = w.AddUnit(5, 3, 1);
  coastal.visible = inland.visible = friendly.visible = true;
  EXPECT_EQ(fleet.MarkShoreBombardmentTargets(*w.world, true), 2);
  EXPECT_EQ(Marked(512), 2);
  // The range counts from the coast hexes that are targets themselves: with
  // the coastal unit bombarded in this impulse the one behind it is out of
  // reach too.
  coastal.shoreBombardmentEffect = 0.5f;
  EXPECT_EQ(fleet.MarkShoreBombardmentTargets(*w.world, false), 0);
  coastal.shoreBombardmentEffect = 0.0f;
  inland.visible = false;
  EXPECT_EQ(fleet.MarkShoreBombardmentTargets(*w.world, false), 1);

  // Recon: the zone's seven coast hexes, the seven behind them and the zone.
  EXPECT_EQ(fleet.MarkReconHexes(*w.world, true), 15);
  cJednostkaMorska& carrier = *fleet.ships.front();
  sBombardmentResult result;
  carrier.ReconHex(*w.world, 3, 2, result);
  EXPECT_TRUE(inland.visible);
  EXPECT_TRUE(carrier.reconDone);
  ASSERT_EQ(w.Country(1).reconSpottedUnits.size(), 1u);
  EXPECT_EQ(w.Country(1).reconSpottedUnits.front(), &inland);
}

// The guns' order and the dialog's marks follow one rule: every marked hex
// is accepted and every hex accepted is marked, for targets on the coast of
// the zone, behind it within the aircraft range, beyond that range, hidden,
// friendly or already bombarded.
TEST_F(FleetMarks, ShoreBombardmentAcceptsExactlyTheMarkedHexes) {
  w.world->constants.aircraftRangeFactors = {1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
  w.world->turnState.SetCurrentCountry(&w.Country(1));
  cFleet& fleet = w.AddFleet(1, zone, {kUnitBattleship});
  w.AddUnit(1, 2, 2);                               // on the coast of the zone
  w.AddUnit(1, 3, 2);                               // behind it, within range 1
  w.AddUnit(6, 3, 2);                               // behind a coast hex without a target
  w.AddUnit(4, 2, 2).shoreBombardmentEffect = 0.5f;  // bombarded this impulse
  w.AddUnit(5, 2, 1);                               // friendly
  w.AddUnit(3, 2, 2).visible = false;               // not seen
  auto agree = [&](int expectedTargets) {
    ASSERT_EQ(fleet.MarkShoreBombardmentTargets(*w.world, true), expectedTargets);
    ASSERT_EQ(Marked(512), expectedTargets);
    for (const sHex& hex : w.Map().Hexes()) {
      SCOPED_TRACE(testing::Message() << hex.x << "," << hex.y);
      const bool marked = (hex.markBits & 512u) != 0;
      EXPECT_EQ(fleet.IsShoreBombardmentTarget(*w.world, hex.x, hex.y), marked);
      EXPECT_EQ(CheckShoreBombardment(*w.world, fleet, hex.x, hex.y),
                marked ? eFleetOrderRefusal::kNone : eFleetOrderRefusal::kNoTarget);
    }
  };
  agree(2);
  EXPECT_NE(w.Hex(1, 3).markBits & 512u, 0u) << "the unit behind the coast is in range";
  // With the coastal target gone, the one behind it is out of reach as well.
  w.Hex(1, 2).unit->shoreBombardmentEffect = 0.3f;
  agree(0);
  // The hidden unit once seen is a target on the coast; the unit behind the
  // other coast hex, two columns away, stays out of its range.
  w.Hex(3, 2).unit->visible = true;
  agree(1);
  EXPECT_EQ(CheckShoreBombardment(*w.world, fleet, -1, 0), eFleetOrderRefusal::kTargetOffMap);
}

}  // namespace
