// Reconnaissance of land and sea, with and without an interceptor, and the
// air unit's answers to the unit panel's questions.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "air_rules/air_fixture.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "rules/air_orders.h"
#include "support/world_builders.h"
#include "world/cities.h"
#include "world/combat_result.h"
#include "world/country.h"
#include "world/hex_changes.h"
#include "world/unit.h"
#include "world/units_visibility.h"

namespace {

using twtest::AirWorld;
using twtest::Die;
using twtest::RandSequence;

std::wstring T(const char* key) { return g_StringBase.GetText(key); }

bool Spotted(const cCountry& country, const cUnit* unit) {
  const auto& list = country.reconSpottedUnits;
  return std::find(list.begin(), list.end(), unit) != list.end();
}

class Recon : public ::testing::Test {
 protected:
  Recon() : w({"ppppppp", "ppppppp", "~~~~~~~"}) {
    w.ThreeCountries();
    for (int x = 3; x < 7; ++x) {
      for (int y = 0; y < 2; ++y) w.Control(x, y, 2);
    }
  }
  // An enemy port at (5, 1) on its own node.
  sWezelGrafuMorz& AddPort() {
    cCity& city = twtest::AddCity(*w.world, 5, 1, kCityPort);
    sWezelGrafuMorz& port = w.AddSeaNode(false, 5, 1, 3);
    w.Hex(5, 1).city = &city;
    w.Hex(5, 1).seaNode = static_cast<std::uint16_t>(port.id);
    return port;
  }

  // Whether a report counts the ships of the type.
  bool Names(const std::wstring& report, int type, int count) const {
    return report.find(plat::Format(T("recon_report_ships_of_type_%s_%i"), cUnit::GetSubtypeText(w.world.get(), type),
                                    count)) != std::wstring::npos;
  }

  AirWorld w;
  sBombardmentResult result;
};

TEST_F(Recon, LandReconRevealsUnitsWithinTheAircraftLevelAndReportsThem) {
  cJednostkaLotnicza& plane = w.AddAir(1, 1, 1, kUnitTacticalBomber);
  cJednostkaLadowa& known = w.AddUnit(4, 0, 2);
  cJednostkaLadowa& near = w.AddUnit(5, 1, 2);
  cJednostkaLadowa& far = w.AddUnit(6, 1, 2);
  known.name = L"Known";
  near.name = L"Near";
  far.name = L"Far";
  near.visible = far.visible = false;
  ASSERT_EQ(AirRecon(*w.world, plane, 4, 1, result), eAirOrderRefusal::kNone);
  EXPECT_EQ(result.kind, kCombatRecon);
  EXPECT_TRUE(near.visible);
  EXPECT_TRUE(Spotted(w.Country(1), &near));
  EXPECT_FALSE(far.visible);
  // The report: the flight on the flyer's side, against the hex's holder;
  // the two enemies of the area, the one seen for the first time marked.
  EXPECT_EQ(result.attackerCountry, 1);
  EXPECT_EQ(result.defenderCountry, 2);
  EXPECT_NE(result.attackerText2.find(plat::Format(T("recon_report_flight_over_land_%s_%s"), plane.name,
                                                   plat::Format(T("recon_report_hex_%i_%i"), 4, 1))),
            std::wstring::npos)
      << result.attackerText2;
  const std::wstring& found = result.defenderText2;
  EXPECT_NE(found.find(plat::Format(T("recon_report_enemy_units_%i_new_%i"), 2, 1)), std::wstring::npos) << found;
  const std::wstring subtype = cUnit::GetSubtypeText(w.world.get(), known.type);
  const std::wstring axis = w.Country(2).name;
  EXPECT_NE(found.find(plat::Format(T("recon_report_unit_%s_%s_%s"), L"Known", subtype, axis)), std::wstring::npos);
  EXPECT_NE(found.find(plat::Format(T("recon_report_new_unit_%s_%s_%s"), L"Near", subtype, axis)), std::wstring::npos);
  EXPECT_EQ(found.find(L"Far"), std::wstring::npos) << "beyond the flight's reach";
  EXPECT_EQ(plane.actionPoints, 4);
  EXPECT_TRUE(plane.reconDone);
  EXPECT_EQ(CheckAirRecon(*w.world, plane, 4, 1), eAirOrderRefusal::kReconDone);
  // With its flight flown, the search finds nothing but still clears the marks.
  w.Hex(0, 0).markBits = 0;
  SetHexMark(w.Map(), w.Hex(0, 0), 4096, -1);
  EXPECT_EQ(plane.MarkReconHexes(*w.world, true), 0);
  EXPECT_EQ(w.Hex(0, 0).markBits, 0u);
}

TEST_F(Recon, AFlightThatFindsNothingSaysSo) {
  // Only an own unit in the area of the land; an empty zone at sea.
  w.AddUnit(4, 0, 1).name = L"Own";
  sWezelGrafuMorz& zone = w.AddSeaNode(true, 3, 2);
  w.AddFleet(1, zone.id, {kUnitCruiser});
  cJednostkaLotnicza& plane = w.AddAir(1, 1, 1, kUnitTacticalBomber);
  ASSERT_EQ(AirRecon(*w.world, plane, 4, 1, result), eAirOrderRefusal::kNone);
  EXPECT_EQ(result.defenderText2, T("recon_report_no_enemy_units") + L"\n");
  sBombardmentResult atSea;
  cJednostkaLotnicza& other = w.AddAir(2, 1, 1, kUnitFighter);
  ASSERT_EQ(AirRecon(*w.world, other, 2, 2, atSea), eAirOrderRefusal::kNone);
  EXPECT_EQ(atSea.kind, kCombatRecon);
  EXPECT_EQ(atSea.defenderCountry, -1) << "the open sea has no holder";
  const std::wstring place = plat::Format(T("recon_report_sea_zone_%s"), L"Zone");
  EXPECT_NE(place, L"Zone");
  EXPECT_NE(atSea.attackerText2.find(plat::Format(T("recon_report_flight_over_sea_%s_%s"), other.name, place)),
            std::wstring::npos);
  EXPECT_EQ(atSea.defenderText2, plat::Format(T("recon_report_no_enemy_ships_at_%s"), place) + L"\n");
}

TEST_F(Recon, InterceptedReconSeesNothingButSpendsItsFlight) {
  cJednostkaLotnicza& plane = w.AddAir(1, 1, 1, kUnitTacticalBomber, 20.0f);
  cJednostkaLotnicza& fighter = w.AddAir(6, 0, 2, kUnitFighter, 6.0f);
  fighter.level = 2;
  cJednostkaLadowa& hidden = w.AddUnit(5, 1, 2);
  hidden.visible = false;
  // Column 4, die 1: the mission loses 9 of 20, the fighter 1: turned back.
  RandSequence dice({Die(1)});
  ASSERT_EQ(AirRecon(*w.world, plane, 4, 1, result), eAirOrderRefusal::kNone);
  EXPECT_TRUE(result.Flag(kFlagStoppedByInterception));
  EXPECT_FALSE(hidden.visible);
  EXPECT_TRUE(plane.reconDone);
  EXPECT_EQ(plane.actionPoints, 4);
  EXPECT_FLOAT_EQ(plane.strength, 11.0f);
}

TEST_F(Recon, SeaReconSeesTheShipsOfTheZone) {
  sWezelGrafuMorz& zone = w.AddSeaNode(true, 3, 2);
  cFleet& fleet = w.AddFleet(2, zone.id, {kUnitCruiser, kUnitSubmarine});
  cJednostkaLotnicza& plane = w.AddAir(1, 1, 1, kUnitFighter);
  EXPECT_GE(plane.MarkReconHexes(*w.world, true), 2);  // enemy land and the zone
  EXPECT_TRUE(w.Hex(2, 2).markBits & 16384u);
  for (cJednostkaMorska* ship : fleet.ships) ship->visible = false;
  ASSERT_EQ(AirRecon(*w.world, plane, 2, 2, result), eAirOrderRefusal::kNone);
  for (cJednostkaMorska* ship : fleet.ships) EXPECT_TRUE(ship->visible);
  EXPECT_EQ(result.kind, kCombatRecon);
  // The zone's marker and hover box show the finds to the flyer's country.
  EXPECT_EQ(w.world->GetSeaGraph().GetViewingCountry(), 1);
  EXPECT_EQ(zone.GetSpottedEnemyShipCount(), 2);
  EXPECT_NE(zone.enemyShip, nullptr);
  // The report counts them by type, as the hover box does.
  const std::wstring& found = result.defenderText2;
  const std::wstring place = plat::Format(T("recon_report_sea_zone_%s"), L"Zone");
  EXPECT_NE(found.find(plat::Format(T("recon_report_enemy_ships_at_%s"), place)), std::wstring::npos) << found;
  for (int type : {kUnitCruiser, kUnitSubmarine}) {
    EXPECT_NE(found.find(plat::Format(T("recon_report_ships_of_type_%s_%i"),
                                      cUnit::GetSubtypeText(w.world.get(), type), 1)),
              std::wstring::npos)
        << type;
  }
}

// Under fog of war the flight rolls for each enemy ship not yet seen, with
// the node's spotting chance: it may miss one, and its report tells only
// what it saw; a later flight may find the one missed.
TEST_F(Recon, SeaReconRollsForEachShipAndReportsOnlyWhatItSaw) {
  twtest::ScopedFogOfWar fog(2);
  w.world->constants.navalSpotBase = 50;
  sWezelGrafuMorz& zone = w.AddSeaNode(true, 3, 2);
  cFleet& fleet = w.AddFleet(2, zone.id, {kUnitCruiser, kUnitSubmarine});
  for (cJednostkaMorska* ship : fleet.ships) ship->visible = false;
  cJednostkaMorska* const cruiser = fleet.ships.front();
  cJednostkaMorska* const submarine = fleet.ships.back();
  cJednostkaLotnicza& plane = w.AddAir(1, 1, 1, kUnitFighter);
  {
    // 51 misses the cruiser, 50 sees the submarine.
    RandSequence draws({twtest::RandFor(0, 100, 51), twtest::RandFor(0, 100, 50)});
    ASSERT_EQ(AirRecon(*w.world, plane, 2, 2, result), eAirOrderRefusal::kNone);
  }
  EXPECT_FALSE(cruiser->visible);
  EXPECT_TRUE(submarine->visible);
  EXPECT_EQ(zone.GetSpottedEnemyShipCount(), 1);
  EXPECT_EQ(zone.enemyShip, submarine);
  EXPECT_FALSE(Names(result.defenderText2, kUnitCruiser, 1)) << result.defenderText2;
  EXPECT_TRUE(Names(result.defenderText2, kUnitSubmarine, 1)) << result.defenderText2;

  // The next flight rolls for the cruiser alone and finds it; the submarine
  // stays seen.
  cJednostkaLotnicza& second = w.AddAir(0, 1, 1, kUnitFighter);
  sBombardmentResult again;
  {
    RandSequence draws({twtest::RandFor(0, 100, 7), 0});
    ASSERT_EQ(AirRecon(*w.world, second, 2, 2, again), eAirOrderRefusal::kNone);
  }
  EXPECT_TRUE(cruiser->visible && submarine->visible);
  EXPECT_EQ(zone.GetSpottedEnemyShipCount(), 2);
  EXPECT_TRUE(Names(again.defenderText2, kUnitCruiser, 1) && Names(again.defenderText2, kUnitSubmarine, 1))
      << again.defenderText2;
}

// Over a port each flight rolls for every enemy ship lying there: a later
// flight may find the one missed, and its miss hides nothing seen before.
TEST_F(Recon, EachFlightOverAPortRollsForEveryShipAndAMissHidesNothing) {
  twtest::ScopedFogOfWar fog(2);
  w.world->constants.navalSpotBase = 50;
  sWezelGrafuMorz& port = AddPort();
  cFleet& fleet = w.AddFleet(2, port.id, {kUnitCruiser, kUnitSubmarine});
  for (cJednostkaMorska* ship : fleet.ships) ship->visible = false;
  cJednostkaMorska* const cruiser = fleet.ships.front();
  cJednostkaMorska* const submarine = fleet.ships.back();
  cJednostkaLotnicza& plane = w.AddAir(2, 1, 1, kUnitTacticalBomber);
  {
    // 51 misses the cruiser, 50 sees the submarine.
    RandSequence draws({twtest::RandFor(0, 100, 51), twtest::RandFor(0, 100, 50)});
    ASSERT_EQ(AirRecon(*w.world, plane, 5, 1, result), eAirOrderRefusal::kNone);
  }
  EXPECT_FALSE(cruiser->visible);
  EXPECT_TRUE(submarine->visible);
  EXPECT_EQ(port.GetSpottedEnemyShipCount(), 1);
  EXPECT_FALSE(Names(result.defenderText2, kUnitCruiser, 1)) << result.defenderText2;
  EXPECT_TRUE(Names(result.defenderText2, kUnitSubmarine, 1)) << result.defenderText2;

  // The next flight finds the cruiser and misses the submarine, which stays
  // seen.
  cJednostkaLotnicza& second = w.AddAir(2, 0, 1, kUnitTacticalBomber);
  sBombardmentResult again;
  {
    RandSequence draws({twtest::RandFor(0, 100, 7), twtest::RandFor(0, 100, 51), 0});
    ASSERT_EQ(AirRecon(*w.world, second, 5, 1, again), eAirOrderRefusal::kNone);
  }
  EXPECT_TRUE(cruiser->visible && submarine->visible);
  EXPECT_EQ(port.GetSpottedEnemyShipCount(), 2);
  EXPECT_TRUE(Names(again.defenderText2, kUnitCruiser, 1)) << again.defenderText2;
  EXPECT_FALSE(Names(again.defenderText2, kUnitSubmarine, 1)) << again.defenderText2;
}

// With the fog off every flight over a port names every ship lying in it,
// though the passes of an impulse's end leave the ships' visible flags set
// (their own side's pass) and the port's counts empty (the flyer's pass,
// which hides port fleets).
TEST_F(Recon, EveryFlightOverAPortNamesEveryShipInIt) {
  twtest::ScopedFogOfWar fog(0);
  sWezelGrafuMorz& port = AddPort();
  w.AddFleet(2, port.id, {kUnitCruiser, kUnitSubmarine});
  const std::wstring named[] = {
      plat::Format(T("recon_report_ships_of_type_%s_%i"), cUnit::GetSubtypeText(w.world.get(), kUnitCruiser), 1),
      plat::Format(T("recon_report_ships_of_type_%s_%i"), cUnit::GetSubtypeText(w.world.get(), kUnitSubmarine), 1)};
  for (int flight = 0; flight < 3; ++flight) {
    RecalculateUnitsVisibility(*w.world, *w.world->GetCountry(2));
    RecalculateUnitsVisibility(*w.world, *w.world->GetCountry(1));
    cJednostkaLotnicza& plane = w.AddAir(2, 1, 1, kUnitTacticalBomber);
    sBombardmentResult report;
    ASSERT_EQ(AirRecon(*w.world, plane, 5, 1, report), eAirOrderRefusal::kNone);
    for (const std::wstring& ship : named) {
      EXPECT_NE(report.defenderText2.find(ship), std::wstring::npos) << flight << ": " << report.defenderText2;
    }
    EXPECT_EQ(port.GetSpottedEnemyShipCount(), 2);
    plane.Kill();
  }
}

// Under fog the port's counts after a flight hold what the flyer's side
// saw, not what the ships' own side's pass at the impulse's end flagged
// visible: a flight whose draws all miss leaves the port's counts as the
// impulse's end left them, and names no ship.
TEST_F(Recon, AFlightOverAPortThatSeesNothingCountsNoShipAnotherSideFlagged) {
  twtest::ScopedFogOfWar fog(2);
  w.world->constants.navalSpotBase = 50;
  sWezelGrafuMorz& port = AddPort();
  cFleet& fleet = w.AddFleet(2, port.id, {kUnitCruiser, kUnitSubmarine});
  RecalculateUnitsVisibility(*w.world, *w.world->GetCountry(2));
  RecalculateUnitsVisibility(*w.world, *w.world->GetCountry(1));
  ASSERT_TRUE(fleet.ships.front()->visible && fleet.ships.back()->visible);
  ASSERT_EQ(port.GetSpottedEnemyShipCount(), 0);
  cJednostkaLotnicza& plane = w.AddAir(2, 1, 1, kUnitTacticalBomber);
  {
    RandSequence draws({twtest::RandFor(0, 100, 51), twtest::RandFor(0, 100, 51), 0});
    ASSERT_EQ(AirRecon(*w.world, plane, 5, 1, result), eAirOrderRefusal::kNone);
  }
  EXPECT_EQ(port.GetSpottedEnemyShipCount(), 0);
  EXPECT_FALSE(Names(result.defenderText2, kUnitCruiser, 1) || Names(result.defenderText2, kUnitSubmarine, 1))
      << result.defenderText2;
}

TEST_F(Recon, ReconOfAPortSeesTheShipsLyingInIt) {
  sWezelGrafuMorz& port = AddPort();
  cFleet& fleet = w.AddFleet(2, port.id, {kUnitBattleship, kUnitCruiser, kUnitSubmarine});
  for (cJednostkaMorska* ship : fleet.ships) ship->visible = false;
  cJednostkaLotnicza& plane = w.AddAir(2, 1, 1, kUnitTacticalBomber);
  ASSERT_EQ(AirRecon(*w.world, plane, 5, 1, result), eAirOrderRefusal::kNone);
  EXPECT_EQ(result.kind, kCombatRecon);
  for (cJednostkaMorska* ship : fleet.ships) EXPECT_TRUE(ship->visible);
  EXPECT_EQ(port.GetSpottedEnemyShipCount(), 3);
  EXPECT_EQ(plane.actionPoints, 4) << "one flight, one action point";
  // One report: the land around the port, then the ships in its harbour.
  const std::wstring& found = result.defenderText2;
  const std::size_t land = found.find(T("recon_report_no_enemy_units"));
  const std::size_t harbour = found.find(plat::Format(T("recon_report_enemy_ships_at_%s"), L"Port"));
  EXPECT_NE(land, std::wstring::npos) << found;
  EXPECT_NE(harbour, std::wstring::npos) << found;
  EXPECT_LT(land, harbour);
  EXPECT_EQ(std::count(result.attackerText2.begin(), result.attackerText2.end(), L'\n'), 1) << result.attackerText2;
}

class PanelAnswers : public ::testing::Test {
 protected:
  PanelAnswers() : w({"ppppp", "ppppp", "ppppp"}) {
    w.ThreeCountries();
    w.Control(4, 1, 2);
    w.Control(3, 0, 2);
  }
  std::wstring Hint(bool (cJednostkaLotnicza::*check)(std::wstring*), cJednostkaLotnicza& unit, bool expected) {
    std::wstring hint;
    EXPECT_EQ((unit.*check)(&hint), expected) << std::string(hint.begin(), hint.end());
    // Without a buffer the answer is the same.
    EXPECT_EQ((unit.*check)(nullptr), expected);
    return hint;
  }
  AirWorld w;
};

TEST_F(PanelAnswers, EachIconOfEachAirTypeWithAndWithoutPoints) {
  cJednostkaLotnicza& fighter = w.AddAir(0, 0, 1, kUnitFighter, 10.0f);
  cJednostkaLotnicza& tactical = w.AddAir(1, 1, 1, kUnitTacticalBomber, 6.0f);
  cJednostkaLotnicza& heavy = w.AddAir(0, 2, 1, kUnitStrategicBomber, 12.0f);
  w.AddUnit(4, 1, 2);  // a visible enemy division
  using C = cJednostkaLotnicza;
  EXPECT_EQ(Hint(&C::CanAirFight, tactical, false), T("unitpanel_airfight_icon_hint_not_airfighter_unit"));
  EXPECT_EQ(Hint(&C::CanAirFight, fighter, false), T("unitpanel_airfight_icon_hint_no_target"));
  EXPECT_EQ(Hint(&C::CanBombard, fighter, false), T("unitpanel_bombardment_icon_hint_not_bomber_unit"));
  EXPECT_EQ(Hint(&C::CanBombard, tactical, true), T("unitpanel_bombardment_icon_hint"));
  EXPECT_EQ(Hint(&C::CanNuclearAttack, tactical, false), T("unitpanel_nuclear_icon_hint_not_strategic_bomber"));
  EXPECT_EQ(Hint(&C::CanNuclearAttack, heavy, false), T("unitpanel_nuclear_icon_hint_no_nuclear_bomb"));
  w.Country(1).nuclearBombs = 1;
  EXPECT_EQ(Hint(&C::CanNuclearAttack, heavy, true), T("unitpanel_nuclear_icon_hint"));
  EXPECT_EQ(Hint(&C::CanAirRecon, fighter, true), T("unitpanel_recon_icon_hint"));
  EXPECT_EQ(Hint(&C::CanAirborneAssault, fighter, false), T("unitpanel_airborne_assault_icon_hint_not_airborne"));
  EXPECT_EQ(Hint(&C::CanSeaTransport, fighter, false), T("unitpanel_sea_transport_icon_hint_not_land_unit"));
  EXPECT_EQ(Hint(&C::CanAmphibiousTransport, fighter, false), T("unitpanel_amph_transport_icon_hint_not_land_unit"));
  // Full strength, then a weakened unit in supply, then out of supply.
  EXPECT_EQ(Hint(&C::CanReplenish, fighter, false), T("unitpanel_strength_icon_hint_max_strength"));
  EXPECT_EQ(Hint(&C::CanReplenish, tactical, true), T("unitpanel_strength_icon_hint"));
  tactical.turnsWithoutSupply = 1;
  EXPECT_EQ(Hint(&C::CanReplenish, tactical, false), T("unitpanel_strength_icon_hint_no_supply"));
  EXPECT_EQ(Hint(&C::CanStrategicMove, fighter, false),
            T("unitpanel_strategic_move_icon_hint_no_supply_source_or_peace-time_supply"));
  // Without action points every mission is refused with its own reason.
  tactical.actionPoints = 0;
  EXPECT_EQ(Hint(&C::CanBombard, tactical, false), T("unitpanel_bombardment_icon_hint_not_enough_ap_or_frozen"));
  EXPECT_EQ(Hint(&C::CanAirRecon, tactical, false), T("unitpanel_recon_icon_hint_not_enough_ap"));
  EXPECT_EQ(Hint(&C::CanReplenish, tactical, false),
            T("unitpanel_strength_icon_hint_other_action_performed_or_no_ap"));
  heavy.actionPoints = 0;
  EXPECT_EQ(Hint(&C::CanNuclearAttack, heavy, false), T("unitpanel_nuclear_icon_hint_not_enough_ap_or_frozen"));
  // A level-5 unit answers the highest level before anything else.
  fighter.level = 5;
  fighter.actionPoints = 0;
  EXPECT_EQ(Hint(&C::CanLevelUp, fighter, false), T("unitpanel_levelup_hint_max_level"));
  fighter.level = 1;
  EXPECT_EQ(Hint(&C::CanLevelUp, fighter, false),
            plat::Format(T("unitpanel_levelup_hint_no_technology"), 2, T("research_aircraft")));
}

TEST_F(PanelAnswers, DeployHexesAroundSuppliedOwnCities) {
  // At war, a city must have half the full supply for the country and no
  // convoy mark.
  w.AddCity(2, 1, kCityNormal)->supplyInfo = {10, 10, 10};
  w.AddCity(0, 0, kCityResources)->supplyInfo = {10, 10, 10};
  cCity* starved = w.AddCity(4, 2, kCityNormal);
  starved->supplyInfo = {4, 10, 10};
  cJednostkaLotnicza& reserve = w.AddAir(-1, -1, 1, kUnitFighter);
  // The city hex and its six neighbours, all own and free; the resources
  // site counts nothing.
  EXPECT_EQ(reserve.MarkDeployHexes(true), 7);
  EXPECT_TRUE(w.Hex(2, 1).markBits & 64u);
  w.AddUnit(2, 1, 1);
  EXPECT_EQ(reserve.MarkDeployHexes(false), 6);
}

}  // namespace
