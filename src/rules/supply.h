// Supply at the end of an impulse: which land and air units are supplied,
// from which city and how well, what artificial harbours and ships near a
// coast add, and what land falls for want of it.
//
// A unit draws supply from the cheapest city of types 0 to 3 it reaches over
// land its side holds (path cost by terrain, bounded by the supply range S
// of the constants). A city gives S when its group of connected cities holds
// a supply source of the country or of its alliance leader, else its own
// supply value; the path cost is taken off, down to 1. A land unit that
// reaches no city counts the impulses it is cut off and keeps its supply
// until the count reaches the cut-off limit; an air unit is cut off at once.
// A neutral at peace gives its units S / 2. Land nobody controls (id 0) is
// held by no side: no group, path or source crosses it.
//
// The entry points run on the worker at the end of an impulse (and once
// after a game is loaded); each change of the world is one short step under
// the framework lock.
#pragma once

#include <functional>
#include <vector>

#include "world/topography.h"

class cCity;
class cJednostka;
class cWorld;

// The nearest supply city of one unit.
struct sSupplyUnitEntry {
  cJednostka* unit = nullptr;
  cCity* city = nullptr;  // none: the unit reaches no city
  int cost = 0;           // path cost to the city; 0 on the city itself
};
using SupplyEntries = std::vector<sSupplyUnitEntry>;

// A country's convoys sail inside its supply step, after its cities' values
// are set and before its units draw: they see the city groups of its side
// and its units' nearest cities, and may change both (the convoys' rules
// provide it; without one no convoy sails here).
using ConvoyExecution =
    std::function<void(cWorld& world, int countryId, const Topography& groups, SupplyEntries& entries)>;

class cSupplyCalculator {
 public:
  // A calculator over the world's map; its grid is sized to the map.
  explicit cSupplyCalculator(cWorld& world);

  // The whole calculation: city groups of the three alliances (which also
  // become the countries' strategic-movement groups), the units' nearest
  // cities, the supply of every country's units, then the neutrals.
  void CalculateSupply();

  // The city groups of alliance 1..3 (country -1) or of one country
  // (alliance -1), in the world's city order of their first cities.
  void FindCityGroups(int alliance, int country, Topography& groups);
  // One group flooded from the start city over hexes the side holds.
  void FloodCityGroup(cCity& start, int alliance, int country, TopographyGroup& group);
  // Flood tests: a controller that is in the alliance (is the country), on
  // a hex not yet flooded.
  bool IsAllianceHexOpen(int x, int y, int alliance) const;
  bool IsCountryHexOpen(int x, int y, int country) const;
  // The nearest city of every land unit, then every air unit, of the side.
  void FindNearestCities(int alliance, int country, SupplyEntries& entries);
  sSupplyUnitEntry FindNearestCity(cJednostka& unit, int alliance, int country);
  // Gives the country's units their supply from the entries of its side.
  void SupplyCountryUnits(int countryId);
  void SetConvoyExecution(ConvoyExecution convoys) { convoys_ = std::move(convoys); }

 private:
  int& Cell(int x, int y) { return cells_[static_cast<std::size_t>(y) * width_ + x]; }
  int Cell(int x, int y) const { return cells_[static_cast<std::size_t>(y) * width_ + x]; }
  void ZeroGrid();
  bool HeldBySide(int x, int y, int alliance, int country) const;
  int PathCost(int x, int y) const;
  // Index 0 neutral, 1 Allies, 2 Axis, 3 Comintern.
  Topography& GroupsOf(int alliance) { return groups_[alliance >= 1 && alliance <= 3 ? alliance : 0]; }
  SupplyEntries& EntriesOf(int alliance) { return entries_[alliance >= 1 && alliance <= 3 ? alliance : 0]; }

  cWorld& world_;
  int width_ = 0;
  int height_ = 0;
  std::vector<int> cells_;
  Topography groups_[4];
  SupplyEntries entries_[4];
  std::vector<int> touched_;
  ConvoyExecution convoys_;
};

// The alliance (1 Allies, 2 Axis, 3 Comintern) of an alliance code, 0 for
// a neutral.
int AllianceOfCode(int code);

// End-of-impulse steps, in this order: the calculation above, then the
// harbours and the ships.
void CalculateSupply(cWorld& world, const ConvoyExecution& convoys = nullptr);
// Every artificial harbour resets its cut-off count and raises the supply of
// own and allied units on land it reaches over friendly hexes to the whole
// part of (harbour range - distance); it never lowers a supply.
void PullSupplyFromMulberries(cWorld& world);
// A land unit short of supply (below the ships' maximum, or cut off) draws
// on the own ships, less the enemy's, in the sea zones of coastal hexes it
// reaches over friendly land, minus the distance to the coast.
void PullSupplyFromShips(cWorld& world);
// Land no city of its holder's side reaches passes to the enemy next to it
// (rules/hex_control.cpp).
void AbsorbHexesWithoutSupply(cWorld& world);

// The harbour's spread from (x, y), an iterative flood bounded by the map
// over friendly land within the harbour range of (hx, hy).
void SpreadMulberrySupply(cWorld& world, const cJednostka& harbour);
// One coastal hex per sea zone (the nearest to (x, y), ties to the lowest
// row-major position), found over land friendly to the country within the
// range, in ascending sea-zone order.
struct sCoastalHex {
  int x = 0;
  int y = 0;
  int seaZone = 0;
};
std::vector<sCoastalHex> FindCoastalHexesBySeaZone(const cWorld& world, int x, int y, int range, int countryId);
