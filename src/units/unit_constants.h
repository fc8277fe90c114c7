// The scenario constants the unit operations read. The scenario loader
// fills them; the defaults are neutral (no command range, no weights).
#pragma once

#include <vector>

struct sUnitConstants {
  int commandRange = 0;
  int skillWeight = 0;
  int experienceWeight = 0;
  int distanceFalloff = 0;
  int lossPreventionWeight = 0;
  int damageDoublingWeight = 0;
  int bombardmentBonusWeight = 0;
  int maxSupplyLevel = 0;
  float harbourStrength = 0.0f;
  // Indexed by type code; a code past the end costs nothing.
  std::vector<int> strategicMoveCost;     // strategic movement points
  std::vector<int> airStrategicMoveCost;  // production points

  static int CostOf(const std::vector<int>& table, int type) {
    return type >= 0 && type < static_cast<int>(table.size()) ? table[static_cast<std::size_t>(type)] : 0;
  }
};
