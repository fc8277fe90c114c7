// The computer opponent at sea: new ships into its fleets, the patrols of
// its sea zones, carrier strikes, the safety of a sea node, the sea invasion
// (target, embarkation, loading, the crossing with escorts, the bombardment
// of the landing area, the landings and the artificial harbour behind them)
// and the sea transport of land units to the fronts. Every action goes
// through the naval, transport and landing rules; no lock is held across a
// wait.
#pragma once

#include <vector>

class cCity;
class cCountry;
class cFleet;
class cWorld;

namespace ai {

struct sAiFront;
struct sAiUnitLists;

// Reserve ships join a fleet at the country's first port. Returns the number
// deployed.
int DeployNavalUnits(cWorld& world, cCountry& country);
// The country's fleets in the world's order.
std::vector<cFleet*> CollectOwnFleets(cWorld& world, int countryId);

// Idle fleets split and sent to the country's patrol zones by hit points.
void DistributePatrols(cWorld& world, cCountry& country);
// Each ready carrier strikes the best target of its first category in the
// country's priority order. Returns the number of strikes.
int CarrierStrikes(cWorld& world, cCountry& country);
// The enemy near the node is weak enough for the country's ships there.
bool IsSeaNodeSafe(cWorld& world, const cCountry& country, int seaNode);
// The ports (cities of type 2 or 3) of the country and its allies with a
// sea path to the sea node.
std::vector<cCity*> FindStagingPorts(cWorld& world, const cCountry& country, int seaNode);

// The target of a sea invasion, the units gathered at the embarkation ports
// (orders 14, 15) and, with enough amphibious points, loaded.
void PlanSeaInvasion(cWorld& world, cCountry& country, sAiUnitLists& lists, const std::vector<sAiFront>& fronts);
// Carrier strikes, transport and invasion fleets under way, escorts, the
// landings when the invasion node is safe, carrier strikes, patrols.
void PlayNavalPhase(cWorld& world, cCountry& country, sAiUnitLists& lists);
// Bombardment, landings and the artificial harbour of every invasion fleet
// at its destination, pass by pass while units land; then the attacks.
// Returns the number of units landed.
int ExecuteAmphibiousInvasions(cWorld& world, cCountry& country, sAiUnitLists& lists);
// Reserve units (order 3) by sea from friendly ports to the ports of the
// fronts (orders 10, 11, fleet order 3).
void TransportUnitsToFronts(cWorld& world, cCountry& country, sAiUnitLists& lists,
                            std::vector<sAiFront>& fronts);

}  // namespace ai
