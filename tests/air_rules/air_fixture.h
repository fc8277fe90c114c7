// A small world for the air war: the land-unit fixture's map and countries,
// air units, a sea node with a fleet, the air constants of a test scenario,
// country 1 the current country, and a random sequence laid out draw by draw.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/settings.h"
#include "land_rules/land_rules_fixture.h"
#include "world/fleet.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/sea_graph.h"

namespace twtest {

// The fog of war setting (its distance in hexes, 0 none) for a test's scope.
class ScopedFogOfWar {
 public:
  explicit ScopedFogOfWar(int hexes) : saved_(g_Settings.FogOfWar) { g_Settings.FogOfWar = hexes; }
  ~ScopedFogOfWar() { g_Settings.FogOfWar = saved_; }
  ScopedFogOfWar(const ScopedFogOfWar&) = delete;
  ScopedFogOfWar& operator=(const ScopedFogOfWar&) = delete;

 private:
  int saved_;
};

// The rand() value for a die of the air war showing value (1..6).
inline int Die(int value) { return RandFor(1, 6, value); }
// The rand() value for a percentage draw showing value (1..100).
inline int Percent(int value) { return RandFor(1, 100, value); }

class AirWorld : public LandWorld {
 public:
  explicit AirWorld(std::vector<std::string> rows) : LandWorld(std::move(rows)) {
    sScenarioConstants& k = world->constants;
    k.airActionPoints = {6, 5, 4};
    k.airBaseStrength = {10, 10, 12};
    k.airRangeBase = {3, 4, 5, 6, 8};  // fighter, least interceptor, strategic, rebase, strategic rebase
    k.aircraftRangeFactors = {1.0f, 1.5f, 2.0f, 2.5f, 3.0f};
    k.airRebaseValues = {50, 50, 80};
    k.maxSupply = 10;
    // Defender losses (lines 35-40) and attacker losses (41-46): the die
    // times ten plus the column (-4..4) plus five, so a loss names its cell.
    for (int die = 1; die <= 6; ++die) {
      for (int c = 0; c < 9; ++c) {
        k.airCombatTable[static_cast<std::size_t>(die - 1)][static_cast<std::size_t>(c)] = die + c;
        k.airCombatTable[static_cast<std::size_t>(die + 5)][static_cast<std::size_t>(c)] = 9 - c;
      }
    }
    k.supplyEffectC.fill(0);
    for (int s = 0; s < sScenarioConstants::kSupplyEntries; ++s) {
      k.supplyEffectC[static_cast<std::size_t>(s)] = s >= 10 ? 2 : (s >= 5 ? 1 : 0);
    }
  }

  // Countries 1 (Allies) and 2 (Axis) at war, 3 allied with 1; country 1's
  // aircraft at level 1 and the current country.
  void ThreeCountries() {
    AddCountries({kAllies, kAxis, kAllies});
    War(1, 2);
    War(3, 2);
    for (int id = 1; id <= 3; ++id) Country(id).techLevel[kTechAircraft] = 1;
    world->turnState.SetCurrentCountry(&Country(1));
  }

  // The prices of the upgrade and replacement tests: the land base
  // strengths of levels 1 to 3, the level cost factors, a replacement base
  // of 10; country 1 with 100 production points, artillery research 3 and
  // tanks 2.
  void PricedUpgrades() {
    auto& base = LandUnitConstants().baseStrength;
    base[0] = {10, 20, 10, 20, 10, 20, 10};
    base[1] = {12.5f, 20, 12, 24, 12, 24, 12};
    base[2] = {15, 30, 15, 30, 15, 30, 15};
    sScenarioConstants& k = world->constants;
    k.levelCostFactors = {2, 4, 2, 4, 2, 4, 2};
    k.replacementBase = 10;
    Country(1).productionPoints = 100.0;
    Country(1).techLevel[kTechArtillery] = 3;
    Country(1).techLevel[kTechTanks] = 2;
  }

  cJednostkaLotnicza& AddAir(int x, int y, int country, int type, float strength = 10.0f) {
    auto* unit = new cJednostkaLotnicza(world.get());
    unit->countryId = country;
    unit->SetType(type);
    unit->name = L"Air " + std::to_wstring(world->Units().airUnits.size() + 1);
    unit->x = x;
    unit->y = y;
    unit->visible = true;
    unit->strength = strength;
    unit->level = 1;
    unit->supply = 10;
    unit->ResetActionPoints();
    world->Units().airUnits.push_back(unit);
    if (world->GetMap().IsInside(x, y)) Hex(x, y).unit = unit;
    return *unit;
  }

  // A sea node (zone, or a port on the main hex) with the next id; every
  // water cell of the map whose zone is 0 joins a zone node.
  sWezelGrafuMorz& AddSeaNode(bool isSea, int x, int y, int size = 0) {
    sWezelGrafuMorz node;
    node.id = world->GetSeaGraph().GetNodeCount() + 1;
    node.isSea = isSea ? 1 : 0;
    node.maxSize = size;
    node.size = size;
    node.name = isSea ? L"Zone" : L"Port";
    node.x = x;
    node.y = y;
    world->GetSeaGraph().Nodes().push_back(node);
    if (isSea) {
      for (sHex& hex : Map().Hexes()) {
        if (hex.IsWater() && hex.seaZone == 0) hex.seaZone = static_cast<std::uint16_t>(node.id);
      }
    }
    return world->GetSeaGraph().Nodes().back();
  }

  // A fleet of the country at the node with ships of the given types.
  cFleet& AddFleet(int country, int node, std::vector<int> types, int hitPoints = 4) {
    auto* fleet = new cFleet();
    fleet->country = country;
    fleet->seaNode = node;
    fleet->name = L"Fleet";
    world->Units().fleets.push_back(fleet);
    for (int type : types) {
      auto* ship = new cJednostkaMorska(world.get());
      ship->countryId = country;
      ship->SetType(type);
      ship->name = L"Ship " + std::to_wstring(world->Units().navalUnits.size() + 1);
      ship->hitPoints = ship->maxHitPoints = hitPoints;
      ship->fleet = fleet;
      fleet->ships.push_back(ship);
      world->Units().navalUnits.push_back(ship);
    }
    return *fleet;
  }
};

}  // namespace twtest
