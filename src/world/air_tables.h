// The scenario constants of the air war, by role, and bounded reading of the
// tables indexed by game state: an index outside a table takes its nearest
// end, so no supply value, level or type reads past a table.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>

#include "world/scenario_constants.h"
#include "world/unit.h"

namespace air_tables {

// The entry of a table by index, the nearest end for an index outside it.
template <typename T, std::size_t N>
T Bounded(const std::array<T, N>& table, int index) {
  return table[static_cast<std::size_t>(std::clamp(index, 0, static_cast<int>(N) - 1))];
}

// The entry of a table of the three air types (20, 21, 22).
template <typename T>
T ByAirType(const std::array<T, 3>& table, int type) {
  return Bounded(table, type - kUnitFighter);
}

// Line 47: base fighter range, least interceptor strength, strategic attack
// range, rebase range, strategic rebase range (hexes).
inline int FighterRange(const sScenarioConstants& k) { return k.airRangeBase[0]; }
inline int MinInterceptorStrength(const sScenarioConstants& k) { return k.airRangeBase[1]; }
inline int StrategicAttackRange(const sScenarioConstants& k) { return k.airRangeBase[2]; }
inline int RebaseRange(const sScenarioConstants& k) { return k.airRangeBase[3]; }
inline int StrategicRebaseRange(const sScenarioConstants& k) { return k.airRangeBase[4]; }

// Line 151: the range multiplier of aircraft levels 1 to 5.
inline float RangeMultiplier(const sScenarioConstants& k, int aircraftLevel) {
  return Bounded(k.aircraftRangeFactors, aircraftLevel - 1);
}

// Line 124: nuclear production loss of a city (percent), unrest where the
// bomb falls and among the struck countries' allies (percentage points);
// line 175: the radius of the struck area (hexes).
inline int NuclearCityLossPercent(const sScenarioConstants& k) { return k.nuclearValues[0]; }
inline int NuclearUnrestDirect(const sScenarioConstants& k) { return k.nuclearValues[1]; }
inline int NuclearUnrestAllies(const sScenarioConstants& k) { return k.nuclearValues[2]; }
inline int NuclearRadius(const sScenarioConstants& k) { return std::max(0, k.value175); }

// Line 145: the distance (hexes, not scaled) within which a bomber reaches
// the ships of a sea zone.
inline int SeaZoneDistance(const sScenarioConstants& k) { return k.bombardmentRange; }

}  // namespace air_tables
