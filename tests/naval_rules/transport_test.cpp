// Sea transport and landings on a small coast: loading (paid only when it
// happens), the unload hexes of a ship in port and at sea, unloading in a
// port, the amphibious landing opposed and unopposed for the player and the
// computer opponent, and the airborne drop.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "app/framework_lock.h"
#include "naval_rules/transport_fixture.h"
#include "rules/amphibious_invasion.h"
#include "rules/paradrop.h"
#include "rules/sea_transport.h"
#include "support/test_support.h"
#include "world/fleet.h"
#include "world/hex.h"
#include "world/landings.h"

namespace {

using twtest::Die;
using twtest::RandSequence;
using twtest::TransportWorld;

TEST(SeaTransport, LoadingIsPaidOnlyOnceThePortTheNodeAndTheShipAreFound) {
  TransportWorld w;
  cCountry& westland = w.Country(1);
  westland.seaTransportPoints = 10;
  westland.amphibiousInvasionPoints = 4;
  cJednostkaLadowa& byPort = w.Unit(1, 3, 1);
  cJednostkaLadowa& inland = w.Unit(3, 4, 1);
  twtest::LogCapture log;

  // A port city without a sea node, and a unit far from any port: refused,
  // nothing paid, the unit stays.
  EXPECT_EQ(LoadOntoShip(*w.world, byPort, kUnitCargoShip), eTransportRefusal::kNoSeaNode);
  EXPECT_TRUE(log.Contains(L"ERROR! While loading unit to transporter or amphibious, there is no port at coordinates 1 2"));
  EXPECT_EQ(LoadOntoShip(*w.world, inland, kUnitCargoShip), eTransportRefusal::kNoPort);
  EXPECT_TRUE(log.Contains(L"ERROR! Unit tries to load into transport but isn't in or near friendle port"));
  EXPECT_EQ(westland.seaTransportPoints, 10);
  EXPECT_TRUE(w.world->Units().navalUnits.empty());
  EXPECT_EQ(w.Hex(1, 3).unit, &byPort);

  // With the node: a new cargo ship with the type's hit points in a new
  // fleet at the port, the unit off the map in the list of cargo.
  w.AddPortNode();
  ASSERT_EQ(LoadOntoShip(*w.world, byPort, kUnitCargoShip), eTransportRefusal::kNone);
  EXPECT_EQ(westland.seaTransportPoints, 8);
  ASSERT_EQ(w.world->Units().navalUnits.size(), 1u);
  cJednostkaMorska& ship = *w.world->Units().navalUnits.front();
  EXPECT_EQ(ship.type, kUnitCargoShip);
  EXPECT_EQ(ship.hitPoints, 3);
  EXPECT_EQ(ship.maxHitPoints, 3);
  EXPECT_EQ(ship.carriedUnit, &byPort);
  ASSERT_NE(ship.fleet, nullptr);
  EXPECT_EQ(ship.fleet->seaNode, TransportWorld::kPort);
  EXPECT_EQ(byPort.transport, &ship);
  EXPECT_EQ(std::pair(byPort.x, byPort.y), std::pair(-1, -1));
  EXPECT_EQ(w.Hex(1, 3).unit, nullptr);
  EXPECT_FALSE(w.InMapList(&byPort));
  EXPECT_EQ(w.world->Units().carriedUnitsA.front(), &byPort);

  // A second unit at the same port joins that fleet on an amphibious ship,
  // paid in amphibious points; one without the points costs nothing.
  cJednostkaLadowa& second = w.Unit(1, 3, 1);
  ASSERT_EQ(LoadOntoShip(*w.world, second, kUnitAmphibiousShip), eTransportRefusal::kNone);
  EXPECT_EQ(westland.amphibiousInvasionPoints, 1);
  EXPECT_EQ(w.world->Units().fleets.size(), 1u);
  EXPECT_EQ(w.world->Units().fleets.front()->ships.size(), 2u);
  EXPECT_EQ(w.world->Units().carriedUnitsB.front(), &second);
  cJednostkaLadowa& third = w.Unit(1, 3, 1);
  EXPECT_EQ(LoadOntoShip(*w.world, third, kUnitAmphibiousShip), eTransportRefusal::kUnitCannot);
  EXPECT_EQ(westland.amphibiousInvasionPoints, 1);
  EXPECT_EQ(w.world->Units().navalUnits.size(), 2u);
}

TEST(SeaTransport, UnloadingInPortGivesThePointsBackAndUsesUpTheShip) {
  TransportWorld w;
  w.AddPortNode();
  ASSERT_NE(w.Map().GetNeighbourDirection(1, 2, 0, 2), 0);
  ASSERT_NE(w.Map().GetNeighbourDirection(1, 2, 2, 2), 0);
  w.Control(0, 2, 2);       // enemy-held neighbour
  w.Unit(2, 2, 1);          // taken neighbour
  cJednostkaLadowa& cargo = w.Carried(1, kUnitCargoShip, TransportWorld::kPort, 1);
  cJednostkaMorska& ship = *cargo.transport;

  EXPECT_EQ(ship.MarkUnloadHexes(true), 2);
  EXPECT_EQ(w.Hex(1, 2).markBits & 64u, 64u);
  EXPECT_EQ(w.Hex(1, 3).markBits & 64u, 64u);
  EXPECT_EQ(w.Hex(0, 2).markBits & 64u, 0u);
  EXPECT_EQ(w.Hex(2, 2).markBits & 64u, 0u);

  sLandingOutcome outcome;
  EXPECT_EQ(UnloadShip(*w.world, ship, 0, 2, outcome), eTransportRefusal::kNotUnloadHex);
  EXPECT_EQ(cargo.transport, &ship);

  ASSERT_EQ(UnloadShip(*w.world, ship, 1, 3, outcome), eTransportRefusal::kNone);
  EXPECT_TRUE(outcome.landed);
  EXPECT_EQ(w.Hex(1, 3).unit, &cargo);
  EXPECT_TRUE(w.InMapList(&cargo));
  EXPECT_TRUE(w.world->Units().carriedUnitsA.empty());
  EXPECT_EQ(cargo.transport, nullptr);
  EXPECT_EQ(cargo.actionPoints, 0);
  EXPECT_EQ(cargo.supply, 7);
  EXPECT_EQ(std::pair(cargo.supplySourceX, cargo.supplySourceY), std::pair(1, 2));
  EXPECT_TRUE(cargo.visible);
  EXPECT_EQ(w.Country(1).seaTransportPoints, 3);  // the corps' sea transport cost
  EXPECT_TRUE(w.world->Units().navalUnits.empty());
  EXPECT_TRUE(w.world->Units().fleets.empty());

  // An amphibious ship's cargo gives back amphibious points, not sea
  // transport points.
  cJednostkaLadowa& marines = w.Carried(1, kUnitAmphibiousShip, TransportWorld::kPort, 0);
  ASSERT_EQ(UnloadShip(*w.world, *marines.transport, 1, 2, outcome), eTransportRefusal::kNone);
  EXPECT_EQ(w.Country(1).amphibiousInvasionPoints, 3);
  EXPECT_EQ(w.Country(1).seaTransportPoints, 3);
}

TEST(SeaTransport, FromTheOpenSeaOnlyAnAmphibiousShipMarksTheEnemyCoast) {
  TransportWorld w;
  w.Unit(5, 2, 3);  // an ally at peace with nobody's enemy blocks its beach
  w.Unit(6, 2, 2);  // an enemy on the beach: an opposed landing
  cJednostkaLadowa& marines = w.Carried(1, kUnitAmphibiousShip, TransportWorld::kZone);
  cJednostkaLadowa& cargo = w.Carried(1, kUnitCargoShip, TransportWorld::kZone);
  EXPECT_EQ(marines.transport->MarkUnloadHexes(true), 2);
  EXPECT_EQ(w.Hex(4, 2).markBits & 64u, 64u);
  EXPECT_EQ(w.Hex(6, 2).markBits & 64u, 64u);
  EXPECT_EQ(w.Hex(5, 2).markBits & 64u, 0u);
  EXPECT_EQ(w.Hex(4, 3).markBits & 64u, 0u);  // not on the coast
  EXPECT_EQ(cargo.transport->MarkUnloadHexes(false), 0);
  sLandingOutcome outcome;
  EXPECT_EQ(UnloadShip(*w.world, *cargo.transport, 4, 2, outcome), eTransportRefusal::kNotUnloadHex);

  // The map's unload order on the empty enemy beach is a landing.
  ASSERT_EQ(UnloadShip(*w.world, *marines.transport, 4, 2, outcome), eTransportRefusal::kNone);
  EXPECT_FALSE(outcome.opposed);
  EXPECT_TRUE(outcome.landed);
  EXPECT_EQ(w.Hex(4, 2).unit, &marines);
  EXPECT_LT(marines.strength, 100);
  EXPECT_EQ(w.world->Units().navalUnits.size(), 1u);

  // A ship at sea finds no friendly port hex to put its cargo on; one
  // without cargo says so.
  int x = -1, y = -1;
  EXPECT_FALSE(cargo.transport->FindCoastUnloadHex(*w.world, x, y));
  EXPECT_EQ(CheckUnloadToCoast(*w.world, *cargo.transport), eTransportRefusal::kNotUnloadHex);
  twtest::LogCapture log;
  cJednostkaMorska empty(w.world.get());
  EXPECT_FALSE(empty.FindCoastUnloadHex(*w.world, x, y));
  EXPECT_TRUE(log.Contains(L"ERROR! Trying to unload non-existing unit from transport!"));
  EXPECT_EQ(CheckUnloadToCoast(*w.world, empty), eTransportRefusal::kNoCargo);
}

#if defined(TW_SANITIZED)
// In the test builds a fleet's move and the landing of a ship's cargo made
// without the framework lock, while the lock is in use, end the process.
TEST(SeaTransport, AFleetMoveOrAnUnloadingWithoutTheFrameworkLockEndsTheTestBuild) {
  TransportWorld w;
  w.AddPortNode();
  cJednostkaLadowa& cargo = w.Carried(1, kUnitCargoShip, TransportWorld::kPort);
  const auto unlocked = [](const std::function<void()>& change) {
    g_bRunning = true;
    CreateFrameworkLock();
    change();
  };
  EXPECT_DEATH(unlocked([&] { cargo.transport->fleet->MoveTo(*w.world, TransportWorld::kZone); }),
               "without the framework lock");
  EXPECT_DEATH(unlocked([&] { cargo.transport->UnloadUnitAt(0, 2, TransportWorld::kPortX, TransportWorld::kPortY); }),
               "without the framework lock");
}
#endif

TEST(SeaTransport, UnloadToCoastLandsOnThePortOrItsFirstFreeNeighbour) {
  TransportWorld w;
  w.AddPortNode();
  w.Unit(TransportWorld::kPortX, TransportWorld::kPortY, 1);
  cJednostkaLadowa& cargo = w.Carried(1, kUnitCargoShip, TransportWorld::kPort);
  cJednostkaMorska* ship = cargo.transport;
  int x = -1, y = -1;
  ASSERT_TRUE(ship->FindCoastUnloadHex(*w.world, x, y));
  EXPECT_EQ(cargo.transport, ship);
  sLandingOutcome outcome;
  ASSERT_EQ(UnloadToCoast(*w.world, *ship, outcome), eTransportRefusal::kNone);
  EXPECT_TRUE(outcome.landed);
  // The unload order removes the emptied ship.
  EXPECT_EQ(cargo.transport, nullptr);
  EXPECT_TRUE(w.world->Units().navalUnits.empty());
  EXPECT_EQ(std::pair(cargo.x, cargo.y), std::pair(x, y));
  EXPECT_NE(w.Map().GetNeighbourDirection(TransportWorld::kPortX, TransportWorld::kPortY, cargo.x, cargo.y), 0);
  EXPECT_EQ(w.Hex(cargo.x, cargo.y).unit, &cargo);
}

// The defender (effective strength 10) holds when both stand and the
// landing force (after the assault penalty of one half) is below the
// decision factor 2 times that: 19 dies, 20 takes the beach.
TEST(AmphibiousInvasion, WhenBothStandTheDecisionFactorDecides) {
  for (const float base : {38.0f, 40.0f}) {
    TransportWorld w;
    sScenarioConstants& k = w.world->constants;
    for (auto& row : k.combatResultInt) row.fill(0);  // neither side loses strength
    cJednostkaLadowa& defender = w.Unit(4, 2, 2);
    LandUnitConstants().baseStrength[0][2] = base;
    cJednostkaLadowa& marines = w.Carried(1, kUnitAmphibiousShip, TransportWorld::kZone, 2);
    sLandingOutcome outcome;
    ASSERT_EQ(AmphibiousInvasion(*w.world, marines, 4, 2, outcome), eTransportRefusal::kNone);
    EXPECT_TRUE(outcome.opposed);
    EXPECT_TRUE(w.world->Units().navalUnits.empty()) << "the ship is used up either way";
    EXPECT_TRUE(w.world->Units().fleets.empty());
    if (base == 38.0f) {
      EXPECT_FALSE(outcome.landed);
      EXPECT_EQ(w.Hex(4, 2).unit, &defender);
      EXPECT_FALSE(w.InMapList(&marines));
    } else {
      EXPECT_TRUE(outcome.landed);
      EXPECT_EQ(w.Hex(4, 2).unit, &marines);
      EXPECT_FALSE(w.InMapList(&defender));
      EXPECT_EQ(w.Hex(4, 2).controller, 1);
      EXPECT_EQ(marines.supply, w.world->constants.maxSupply);
    }
  }
}

TEST(AmphibiousInvasion, AUnitAtPeaceOnTheBeachRefusesTheLandingAndKeepsTheUnitAboard) {
  TransportWorld w;
  w.Unit(5, 2, 3);
  cJednostkaLadowa& marines = w.Carried(1, kUnitAmphibiousShip, TransportWorld::kZone);
  twtest::LogCapture log;
  sLandingOutcome outcome;
  EXPECT_EQ(AmphibiousInvasion(*w.world, marines, 5, 2, outcome), eTransportRefusal::kFriendlyOnBeach);
  EXPECT_TRUE(log.Contains(L"Critical Error: Cannot assault with a friendly unit during the amphibious invasion!"));
  EXPECT_NE(marines.transport, nullptr);
  EXPECT_FALSE(AiAmphibiousInvasion(*w.world, marines, 5, 2));
  EXPECT_NE(marines.transport, nullptr);
}

TEST(AmphibiousInvasion, ThePlayersUnopposedLandingLosesOnlyOffAFullyFriendlyHex) {
  TransportWorld w;
  // Own coast: no die, no loss.
  cJednostkaLadowa& home = w.Carried(1, kUnitAmphibiousShip, TransportWorld::kZone);
  sLandingOutcome outcome;
  {
    RandSequence none({});
    ASSERT_EQ(AmphibiousInvasion(*w.world, home, 2, 2, outcome), eTransportRefusal::kNone);
  }
  EXPECT_TRUE(outcome.landed);
  EXPECT_FALSE(outcome.opposed);
  EXPECT_EQ(home.strength, 100);
  EXPECT_EQ(w.Hex(2, 2).unit, &home);
  EXPECT_NE(outcome.text.find(L"invasion_no_enemy_success_unit_losses_strength"), std::wstring::npos);

  // The enemy's coast: the die's loss is taken and kept, the hex taken.
  cJednostkaLadowa& raid = w.Carried(1, kUnitAmphibiousShip, TransportWorld::kZone);
  {
    RandSequence die({Die(3)});
    ASSERT_EQ(AmphibiousInvasion(*w.world, raid, 4, 2, outcome), eTransportRefusal::kNone);
  }
  EXPECT_TRUE(outcome.landed);
  EXPECT_EQ(raid.strength, 70);
  EXPECT_EQ(w.Hex(4, 2).unit, &raid);
  EXPECT_EQ(w.Hex(4, 2).controller, 1);

  // Too weak for the loss: the unit is gone and the hex stays the enemy's.
  cJednostkaLadowa& weak = w.Carried(1, kUnitAmphibiousShip, TransportWorld::kZone);
  weak.strength = 50;
  {
    RandSequence die({Die(6)});
    ASSERT_EQ(AmphibiousInvasion(*w.world, weak, 5, 2, outcome), eTransportRefusal::kNone);
  }
  EXPECT_FALSE(outcome.landed);
  EXPECT_FALSE(w.InMapList(&weak));
  EXPECT_EQ(w.Hex(5, 2).unit, nullptr);
  EXPECT_EQ(w.Hex(5, 2).controller, 2);
  EXPECT_NE(outcome.text.find(L"invasion_no_enemy_fail_unit_losses_strength"), std::wstring::npos);
  EXPECT_TRUE(w.world->Units().carriedUnitsB.empty());
}

TEST(AmphibiousInvasion, TheComputersLandingThatSurvivesTheRollEndsAtFullStrength) {
  TransportWorld w;
  cJednostkaLadowa& marines = w.Carried(1, kUnitAmphibiousShip, TransportWorld::kZone);
  {
    // The die is rolled even on its own coast.
    RandSequence die({Die(5)});
    EXPECT_TRUE(AiAmphibiousInvasion(*w.world, marines, 2, 2));
    EXPECT_EQ(die.Left(), 0u);
  }
  EXPECT_EQ(marines.strength, 100);
  EXPECT_EQ(w.Hex(2, 2).unit, &marines);
  EXPECT_EQ(marines.transport, nullptr);
  EXPECT_TRUE(w.world->Units().navalUnits.empty());

  cJednostkaLadowa& weak = w.Carried(1, kUnitAmphibiousShip, TransportWorld::kZone);
  weak.strength = 30;
  {
    RandSequence die({Die(4)});
    EXPECT_FALSE(AiAmphibiousInvasion(*w.world, weak, 4, 2));
  }
  EXPECT_FALSE(w.InMapList(&weak));
  EXPECT_EQ(w.Hex(4, 2).unit, nullptr);
}

TEST(SeaTransport, TheComputersLoadingBuildsAShipAndAFleetOfItsOwn) {
  TransportWorld w;
  w.AddPortNode();
  w.Country(1).seaTransportPoints = 5;
  cFleet& existing = w.AddFleet(1, TransportWorld::kPort, {kUnitCruiser});
  cJednostkaLadowa& unit = w.Unit(1, 3, 1, 1);
  cFleet* fleet = nullptr;
  ASSERT_EQ(AiLoadOntoTransport(*w.world, unit, kUnitCargoShip, 3, &fleet), eTransportRefusal::kNone);
  ASSERT_NE(fleet, nullptr);
  EXPECT_NE(fleet, &existing);
  EXPECT_EQ(fleet->aiOrder, 3);
  EXPECT_EQ(fleet->seaNode, TransportWorld::kPort);
  ASSERT_EQ(fleet->ships.size(), 1u);
  EXPECT_EQ(fleet->ships.front()->carriedUnit, &unit);
  EXPECT_EQ(w.Country(1).seaTransportPoints, 2);
  EXPECT_FALSE(unit.visible);
  EXPECT_EQ(w.Hex(1, 3).unit, nullptr);
  // What the player's check refuses the computer is refused the same way:
  // nothing built, nothing paid.
  cJednostkaLadowa& other = w.Unit(1, 3, 1);
  cJednostkaLadowa& inland = w.Unit(3, 4, 1);
  other.actionPoints = 0;
  const std::size_t ships = w.world->Units().navalUnits.size();
  for (cJednostkaLadowa* refused : {&other, &inland}) {
    const eTransportRefusal players = CheckLoadOntoShip(*w.world, *refused, kUnitCargoShip);
    ASSERT_NE(players, eTransportRefusal::kNone);
    EXPECT_EQ(AiLoadOntoTransport(*w.world, *refused, kUnitCargoShip, 3, &fleet), players);
    EXPECT_EQ(fleet, nullptr);
    EXPECT_EQ(w.Hex(refused->x, refused->y).unit, refused);
  }
  EXPECT_EQ(w.world->Units().navalUnits.size(), ships);
  EXPECT_EQ(w.Country(1).seaTransportPoints, 2);
}

TEST(SeaTransport, TheAmphibiousPointsTotalCountsThoseBoundInLoadedAmphibiousShips) {
  TransportWorld w;
  w.Carried(1, kUnitAmphibiousShip, TransportWorld::kZone, 2);  // 5 points
  w.Carried(1, kUnitCargoShip, TransportWorld::kZone, 2);       // sea transport: not counted
  w.Carried(2, kUnitAmphibiousShip, TransportWorld::kZone, 0);  // another country's
  w.AddFleet(1, TransportWorld::kZone, {kUnitAmphibiousShip});  // empty
  w.Country(1).amphibiousInvasionPointsTotal = 4;
  w.Country(1).AddAmphibiousTransportAip(*w.world);
  EXPECT_EQ(w.Country(1).amphibiousInvasionPointsTotal, 9);
}

TEST(Paradrop, SuperiorityBandsAndTheWordsOfActivityAndLosses) {
  int modifier = 9;
  EXPECT_STREQ(ParadropSuperiorityKey(0.2f, modifier), "enemy_has_total_air_superiority_over_target_hex");
  EXPECT_EQ(modifier, 2);
  EXPECT_STREQ(ParadropSuperiorityKey(0.4f, modifier), "enemy_has_an_air_superiority_over_target_hex");
  EXPECT_EQ(modifier, 1);
  EXPECT_STREQ(ParadropSuperiorityKey(1.0f, modifier), "neither_side_has_an_air_superiority_over_target_hex");
  EXPECT_EQ(modifier, 0);
  EXPECT_STREQ(ParadropSuperiorityKey(2.0f, modifier), "you_have_an_air_superiority_over_target_hex");
  EXPECT_EQ(modifier, -1);
  EXPECT_STREQ(ParadropSuperiorityKey(3.0f, modifier), "you_have_total_air_superiority_over_target_hex");
  EXPECT_EQ(modifier, -2);
  EXPECT_STREQ(ParadropActivityKey(1), "none");
  EXPECT_STREQ(ParadropActivityKey(4), "medium");
  EXPECT_STREQ(ParadropActivityKey(6), "very_high");
  EXPECT_STREQ(ParadropLossKey(0), "none");
  EXPECT_STREQ(ParadropLossKey(32), "light");
  EXPECT_STREQ(ParadropLossKey(33), "medium");
  EXPECT_STREQ(ParadropLossKey(65), "medium");
  EXPECT_STREQ(ParadropLossKey(66), "high");
}

TEST(Paradrop, TheTargetsLieWithinTheRangeOnFreeLandThatIsNoMountain) {
  TransportWorld w;
  w.Hex(2, 4).terrain = kTerrainMountain;
  w.Unit(3, 4, 2);
  cJednostkaLadowa& para = w.Unit(2, 3, 1, kUnitAirborneDivision);
  EXPECT_EQ(GetParadropRange(*w.world, para), 2);
  const int count = MarkParadropHexes(*w.world, para);
  int marked = 0;
  for (const sHex& hex : w.Map().Hexes()) {
    if ((hex.markBits & 4u) == 0) continue;
    ++marked;
    EXPECT_LE(HexDistance(2, 3, hex.x, hex.y), 2);
    EXPECT_TRUE(hex.IsLand());
    EXPECT_EQ(hex.unit, nullptr);
    EXPECT_NE(hex.terrain, kTerrainMountain);
  }
  EXPECT_EQ(marked, count);
  EXPECT_GT(count, 5);
  EXPECT_EQ(w.Hex(3, 4).markBits & 4u, 0u);
  EXPECT_EQ(w.Hex(2, 4).markBits & 4u, 0u);
  EXPECT_EQ(w.Hex(5, 3).markBits & 4u, 0u);  // three hexes away
  // With its last action point the marks are 16.
  w.Map().ClearHexMarks(0xFFFFFFFEu, true);
  para.actionPoints = 1;
  EXPECT_EQ(MarkParadropHexes(*w.world, para), count);
  EXPECT_EQ(w.Hex(2, 2).markBits & (4u | 16u), 16u);
}

TEST(Paradrop, TheDropTakesTheEnemysHexAndLosesByAirSuperiorityAndDie) {
  TransportWorld w;
  // No enemy air power: the drop lands without a roll and takes control.
  cJednostkaLadowa& first = w.Unit(3, 3, 1, kUnitAirborneDivision);
  sLandingOutcome outcome;
  {
    RandSequence none({});
    ASSERT_EQ(Paradrop(*w.world, first, 4, 3, outcome), eTransportRefusal::kNone);
  }
  EXPECT_TRUE(outcome.landed);
  EXPECT_EQ(w.Hex(4, 3).unit, &first);
  EXPECT_EQ(w.Hex(3, 3).unit, nullptr);
  EXPECT_EQ(first.actionPoints, 2);
  EXPECT_EQ(w.Hex(4, 3).controller, 1);
  EXPECT_EQ(w.Hex(4, 3).owner, 2);
  EXPECT_NE(outcome.text.find(L"enemy_has_no_air_forces_over_this_hexlanding_was_successful"), std::wstring::npos);
  EXPECT_NE(outcome.title.find(L"airborne_assault_title_unit"), std::wstring::npos);

  // Enemy fighters alone over the target: +2, a die of 5 reads 6, the loss
  // of 66 is high and kept; the contested hex is taken as well.
  w.AddAir(5, 2, 2, kUnitFighter, 10.0f);
  cJednostkaLadowa& second = w.Unit(3, 4, 1, kUnitAirborneDivision);
  {
    RandSequence die({Die(5)});
    ASSERT_EQ(Paradrop(*w.world, second, 5, 4, outcome), eTransportRefusal::kNone);
  }
  EXPECT_TRUE(outcome.landed);
  EXPECT_EQ(second.strength, 34);
  EXPECT_EQ(w.Hex(5, 4).unit, &second);
  EXPECT_EQ(w.Hex(5, 4).controller, 1);
  EXPECT_EQ(second.actionPoints, 2);
  const std::wstring& text = outcome.text;
  EXPECT_NE(text.find(L"enemy_has_total_air_superiority_over_target_hex"), std::wstring::npos);
  EXPECT_NE(text.find(L"enemy_air_activity:_ very_high"), std::wstring::npos);
  EXPECT_NE(text.find(L"paratroops_losses:_ high"), std::wstring::npos);
  EXPECT_NE(text.find(L"troops_have_landed"), std::wstring::npos);

  // Own fighters three times stronger: -2, a die of 1 stays 1.
  cJednostkaLotnicza& ours = w.AddAir(3, 2, 1, kUnitFighter, 30.0f);
  cJednostkaLadowa& third = w.Unit(2, 3, 1, kUnitAirborneDivision);
  {
    RandSequence die({Die(1)});
    ASSERT_EQ(Paradrop(*w.world, third, 3, 3, outcome), eTransportRefusal::kNone);
  }
  EXPECT_EQ(third.strength, 95);
  EXPECT_NE(outcome.text.find(L"enemy_air_activity:_ none"), std::wstring::npos);
  EXPECT_NE(outcome.text.find(L"paratroops_losses:_ light"), std::wstring::npos);

  // A loss the unit cannot bear: it is gone, the hex untouched.
  w.world->constants.paradropTable[5] = 100;
  cJednostkaLadowa& fourth = w.Unit(2, 4, 1, kUnitAirborneDivision);
  ours.strength = 0.0f;
  {
    RandSequence die({Die(6)});
    ASSERT_EQ(Paradrop(*w.world, fourth, 4, 4, outcome), eTransportRefusal::kNone);
  }
  EXPECT_FALSE(outcome.landed);
  EXPECT_FALSE(w.InMapList(&fourth));
  EXPECT_EQ(w.Hex(2, 4).unit, nullptr);
  EXPECT_EQ(w.Hex(4, 4).unit, nullptr);
  EXPECT_EQ(w.Hex(4, 4).controller, 2);
  EXPECT_NE(outcome.text.find(L"airborne_unit_eliminated"), std::wstring::npos);

  // A taken hex or one out of range is refused before anything happens.
  w.Unit(1, 3, 1);
  cJednostkaLadowa& fifth = w.Unit(0, 3, 1, kUnitAirborneDivision);
  EXPECT_EQ(CheckParadrop(*w.world, fifth, 1, 3), eTransportRefusal::kNotParadropTarget);
  EXPECT_EQ(CheckParadrop(*w.world, fifth, 6, 3), eTransportRefusal::kNotParadropTarget);
  EXPECT_EQ(CheckParadrop(*w.world, fifth, 0, 4), eTransportRefusal::kNone);
}

}  // namespace
