// The computer opponent's air war and its line of defence: fighters hunting
// enemy aircraft, tactical bombers striking land units and ships, strategic
// bombers bombing cities, air units rebasing toward the front or away from
// danger, and a continuous line of hexes laid across a threatened front with
// the units that hold it. Every action goes through the air and land move
// rules (each takes its own lock); no lock is held across a wait.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

#include "world/map.h"

class cCountry;
class cJednostkaLotnicza;
class cWorld;

namespace ai {

struct sAiFront;
struct sAiUnitLists;

// Air unit types.
constexpr int kAirFighter = 20;
constexpr int kAirTacticalBomber = 21;
constexpr int kAirStrategicBomber = 22;

// --- enemy land units as the lists see them ---

// Enemy land units of the lists within distance of (x, y) whose hex has a
// fortification below 5.
int CountEnemyLandUnitsWithin(const cWorld& world, const sAiUnitLists& lists, int x, int y, int distance);
// Hex distance from (x, y) to the nearest listed enemy land unit;
// 2147483647 when the list is empty.
int GetDistanceToNearestEnemyLandUnit(const sAiUnitLists& lists, int x, int y);

// --- rebasing ---

struct sRebaseHex {
  int x = -1, y = -1;
  int enemiesNear = 0;    // enemy land units within the unit's range of the hex
  int enemyDistance = 0;  // distance to the nearest enemy land unit
};
// The enemy figures of hexes already worked out, by hex and range: valid
// while the enemy land units stand where they stood (one pass of the
// rebasing).
struct sRebaseHexCache {
  std::unordered_map<std::uint64_t, std::pair<int, int>> figures;  // enemies near, enemy distance
};
// The free own or allied land hexes next to and two steps from the
// friendly cities (not of type 4) nearer than the rebase range - 2, each
// once, in the order first met. With a cache the enemy figures of a hex are
// worked out once for every unit of the same range.
std::vector<sRebaseHex> CollectRebaseHexes(const cWorld& world, const cJednostkaLotnicza& unit,
                                           const sAiUnitLists& lists, sRebaseHexCache* cache = nullptr);
// Every own air unit that has not acted and has enough supply rebases away
// from an enemy nearer than the scenario's safe distance, or toward the
// hexes with the most enemies in reach. Returns the number rebased.
int RebaseAirUnits(cWorld& world, cCountry& country, sAiUnitLists& lists);

// --- air actions (each rebuilds the lists after a change) ---

// Fighters attack the weakest enemy fighters, then strategic, then tactical
// bombers in range. True when any fight took place.
bool FightAirBattles(cWorld& world, cCountry& country, sAiUnitLists& lists);
// Tactical bombers strike the strongest enemy land unit in range. Returns
// the number of strikes.
int StrikeWithAir(cWorld& world, cCountry& country, sAiUnitLists& lists);
// Tactical bombers strike enemy ships at a sea zone near them, each bomber
// at most once. Returns the number of strikes.
int AttackShipsWithAir(cWorld& world, cCountry& country, sAiUnitLists& lists);
// Strategic bombers bomb the most productive enemy city in range where the
// air superiority allows. Returns the number of raids.
int BombardWithAir(cWorld& world, cCountry& country, sAiUnitLists& lists);

// --- the line of defence ---

// True when a front is weak or critical.
bool ShouldBuildLineOfDefence(const std::vector<sAiFront>& fronts);
// Lays the line between facing front nodes (marks 1 node, 2 facing node,
// 3 line hex on the map's front marks). An inconsistent node grid abandons
// the line (logged, empty). Returns the line.
std::vector<sMapCoord> BuildLineOfDefence(cWorld& world, const cCountry& country);
// The best path of hexes from (x1, y1) to (x2, y2) for a line with the
// given side flags (bit d: the enemy lies in direction d); empty when none.
std::vector<sMapCoord> FindBestDefencePath(const cWorld& world, int countryId, int x1, int y1, int x2, int y2,
                                           unsigned sideFlags);
// Moves own land units with order 5 onto free line hexes nearest their
// targets; each becomes order 9. Returns the number of units handled.
int HoldLineOfDefence(cWorld& world, cCountry& country, sAiUnitLists& lists, const std::vector<sMapCoord>& line);

}  // namespace ai
