// Small pieces the computer opponent's test worlds share: their four
// countries, the battle tables of their quick, predictable battles, and a
// land unit made ready to play.
#pragma once

#include "world/cities.h"
#include "world/country.h"
#include "world/jednostka_ladowa.h"
#include "world/scenario_constants.h"

namespace twtest {

// Westland (1) and its ally 3 at war with Eastmark (2), country 4 neutral;
// all active, Westland's turn with the computer's actions not shown, land
// units of the first type 10 to 20 strong by level.
template <typename World>
void MakeWestlandAtWarWithEastmark(World& w) {
  w.AddCountries({kAllies, kAxis, kAllies, kNeutral});
  w.War(1, 2);
  w.War(3, 2);
  w.Country(1).name = L"Westland";
  w.Country(2).name = L"Eastmark";
  for (int id = 1; id <= 4; ++id) w.Country(id).active = true;
  w.world->turnState.SetCurrentCountry(&w.Country(1));
  w.world->turnState.showActions = false;
  LandUnitConstants().baseStrength[0] = {10, 20, 10, 20, 10, 20, 10};
}

// Combat and terrain factors near 1, two points an attack, losses
// p = 10 x die + column and r = 0.1 x die + 0.01 x column, retreats by
// the base alone.
inline void SetSmallBattleTables(sScenarioConstants& k) {
  k.landCombatFactors = {0.5f, 0.8f, 1.0f, 1.2f, 1.4f, 1.6f, 1.8f, 2.0f, 0, 0, 0, 0.5f, 10.0f};
  k.terrainCombatFactors = {0, 1.0f, 1.5f, 1.3f, 1.2f, 1.4f, 2.0f, 0.9f, 2.0f};
  k.attackActionPointCost = {2, 2, 2, 2, 2, 2};
  for (int die = 1; die <= 6; ++die) {
    for (int column = 1; column <= 7; ++column) {
      k.combatResultInt[die - 1][column - 1] = 10 * die + column;
      k.combatResultLoss[die - 1][column - 1] = 0.1f * die + 0.01f * column;
    }
  }
  k.retreatBase = 100;
  k.retreatOddsFactors.fill(1.0f);
  k.retreatTerrainFactors.fill(1.0f);
}

// The unit named, supplied, at full effectiveness, unseen by the player,
// drawing its supply from the city when one is given.
inline cJednostkaLadowa& MakeSupplied(cJednostkaLadowa& unit, const wchar_t* name, const cCity* source) {
  unit.name = name;
  unit.supply = 10;
  unit.turnsWithoutSupply = 0;
  unit.effectiveness = 100;
  unit.visible = false;
  if (source != nullptr) {
    unit.supplySourceX = source->x;
    unit.supplySourceY = source->y;
  }
  return unit;
}

}  // namespace twtest
