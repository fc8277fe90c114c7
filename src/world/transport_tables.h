// The scenario constants of sea transport, landings and airborne drops, by
// role. A type or roll outside a table costs nothing or takes the table's
// nearest end, so no game state reads past a table.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>

#include "world/scenario_constants.h"
#include "world/unit.h"

namespace transport_tables {

// A per-land-type cost; a type the table has no column for costs nothing.
template <std::size_t N>
int CostOfType(const std::array<int, N>& table, int type) {
  return type >= 0 && type < static_cast<int>(N) ? table[static_cast<std::size_t>(type)] : 0;
}

template <typename T, std::size_t N>
T Nearest(const std::array<T, N>& table, int index) {
  return table[static_cast<std::size_t>(std::clamp(index, 0, static_cast<int>(N) - 1))];
}

// Line 69: the sea transport points a land unit of the type costs aboard a
// cargo ship; line 70: the amphibious invasion points aboard an amphibious
// ship.
inline int SeaTransportCost(const sScenarioConstants& k, int landType) {
  return CostOfType(k.seaTransportCost, landType);
}
inline int AmphibiousCost(const sScenarioConstants& k, int landType) {
  return CostOfType(k.amphibiousTransportCost, landType);
}
// The cost of carrying the land type on a ship of the type (44 or 45).
inline int CarryCost(const sScenarioConstants& k, int shipType, int landType) {
  return shipType == kUnitAmphibiousShip ? AmphibiousCost(k, landType) : SeaTransportCost(k, landType);
}

// Line 73: the hit points of a new ship by naval type 40-45.
inline int NewShipHitPoints(const sScenarioConstants& k, int navalType) {
  return Nearest(k.navalTypeStrength, navalType - kUnitAircraftCarrier);
}

// Line 159: the share of effectiveness an opposed landing loses.
inline float AmphibiousAssaultPenalty(const sScenarioConstants& k) { return k.invasionFactor; }
// Line 160: how many times stronger than the defender a landing force must
// be to hold the beach when both sides stand after the battle.
inline int LandingDecisionFactor(const sScenarioConstants& k) { return k.invasionValue; }
// Line 77: the strength points an unopposed landing loses by die 1-6.
inline int UnopposedLandingLoss(const sScenarioConstants& k, int die) {
  return Nearest(k.invasionTable, die - 1);
}

// Line 116: the strength points an airborne drop loses by modified roll 1-6.
inline int ParadropLoss(const sScenarioConstants& k, int roll) { return Nearest(k.paradropTable, roll - 1); }
// Line 172: the paradrop range in hexes before the aircraft multiplier.
inline int ParadropRange(const sScenarioConstants& k) { return std::max(0, k.value172); }

}  // namespace transport_tables
