// The country's own units, gathered from the world's lists for one step of
// its turn (a step that kills or creates units gathers them again).
#include "ai/ai_economy.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/world.h"

namespace ai {

sOwnUnits CollectOwnUnits(cWorld& world, int countryId) {
  sOwnUnits own;
  const sUnitLists& lists = world.Units();
  for (cJednostkaLadowa* unit : lists.landUnits) {
    if (unit->countryId == countryId) own.land.push_back(unit);
  }
  for (cJednostkaLotnicza* unit : lists.airUnits) {
    if (unit->countryId == countryId) own.air.push_back(unit);
  }
  for (cJednostkaMorska* unit : lists.navalUnits) {
    if (unit->countryId == countryId) own.ships.push_back(unit);
  }
  return own;
}

}  // namespace ai
