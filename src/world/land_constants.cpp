#include <algorithm>

#include "world/scenario_constants.h"
#include "world/jednostka_ladowa.h"

void ApplyScenarioConstants(const sScenarioConstants& c) {
  sLandUnitConstants& k = LandUnitConstants();
  k.actionPoints = c.landActionPoints;
  k.baseStrength = c.landBaseStrength;
  k.supplyActionPointPenalty.assign(c.supplyEffectB.begin(), c.supplyEffectB.end());
  k.supplyEffectiveness.assign(c.supplyEffectA.begin(), c.supplyEffectA.end());
  k.supplyCutOffLimit = c.noSupplyTurnsLimit;
  k.doctrineEffectivenessBonus = c.effectivenessBase;
  k.paradropPreparationTurns = c.dropTurnsAtStart;

  // The first terrain row is the one land movement pays: terrains 1-7, then
  // water for every other terrain; the row's addition is the extra cost of
  // stepping from one enemy zone of control into another.
  const std::array<int, 9>& row = c.terrainCostRows[0];
  std::copy_n(row.begin(), k.move.terrainCost.size(), k.move.terrainCost.begin());
  k.move.zoneOfControlCost = row[8];
  k.move.winterFactor = c.winterMoveFactor;
  k.move.mudFactor = c.mudMoveFactor;
  // A hex from which the unit could no longer attack is shown as one with
  // few points left.
  k.move.fewPointsThreshold = c.attackActionPointCost;
}
