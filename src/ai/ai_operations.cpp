// The land operations until they are planned and carried out: no unit gets
// an order or moves, nothing is deployed.
#include "ai/ai_operations.h"

#include "ai/ai_unit_lists.h"
#include "world/ai_orders.h"
#include "world/cities.h"
#include "world/jednostka_ladowa.h"
#include "world/world.h"

namespace ai {

void AssignUnitRoles(cWorld&, cCountry&, sAiUnitLists&, const std::vector<sAiFront>&) {}
void BuildUpForInvasion(cWorld&, cCountry&, sAiUnitLists&) {}
void ExecuteOperationalMoves(cWorld&, cCountry&, sAiUnitLists&, const std::vector<sMapCoord>&) {}
bool AssignFollowUpMoves(cWorld&, cCountry&, sAiUnitLists&) { return false; }
bool FindFollowUpTarget(const cWorld&, const cJednostkaLadowa&, int&, int&) { return false; }
int DeployLandUnits(cWorld&, cCountry&) { return 0; }
int DeployAirUnits(cWorld&, cCountry&) { return 0; }

bool HasUnitWithOrder3(const sAiUnitLists& lists) {
  for (const cJednostkaLadowa* unit : lists.ownLand) {
    if (unit->aiOrder == kAiReserve) return true;
  }
  return false;
}

void ResetCityCounters(cWorld& world) {
  for (cCity* city : world.Cities()) city->aiTurnCounter = 0.0f;
}

bool IsCityOnFront(const cCity& city) { return city.aiFrontState != 3; }
bool IsCityOnFrontInState(const cCity& city, int state) { return city.aiFrontState == state; }

}  // namespace ai
