// The computer at sea until its naval operations are built: no ship is
// deployed or moved, no invasion planned.
#include "ai/ai_naval.h"

#include "world/fleet.h"
#include "world/world.h"

namespace ai {

int DeployNavalUnits(cWorld&, cCountry&) { return 0; }

std::vector<cFleet*> CollectOwnFleets(cWorld&, int) { return {}; }
void DistributePatrols(cWorld&, cCountry&) {}
int CarrierStrikes(cWorld&, cCountry&) { return 0; }
bool IsSeaNodeSafe(cWorld&, const cCountry&, int) { return false; }
std::vector<cCity*> FindStagingPorts(cWorld&, const cCountry&, int) { return {}; }
void PlanSeaInvasion(cWorld&, cCountry&, sAiUnitLists&, const std::vector<sAiFront>&) {}
void PlayNavalPhase(cWorld&, cCountry&, sAiUnitLists&) {}
int ExecuteAmphibiousInvasions(cWorld&, cCountry&, sAiUnitLists&) { return 0; }
void TransportUnitsToFronts(cWorld&, cCountry&, sAiUnitLists&, std::vector<sAiFront>&) {}

}  // namespace ai
