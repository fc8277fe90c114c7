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
class cJednostkaMorska;
class cWorld;

namespace ai {

struct sAiFront;
struct sAiUnitLists;

// --- deployment, fleets, nodes and ports (ai_naval.cpp) ---

// Each ready ship of the country's naval reserve (no build time left) joins
// a fleet at the first port of the country large enough for its type.
// Returns the number deployed.
int DeployNavalUnits(cWorld& world, cCountry& country);
// The country's fleets in the world's order.
std::vector<cFleet*> CollectOwnFleets(cWorld& world, int countryId);
// The enemy near the node is weak enough for the country's ships there:
// with at most one enemy ship seen it is; otherwise not when the enemy is at
// least as strong, when it is more than 0.3 as strong and three or more
// transports are there, or when it is weaker than 0.3 and more than half of
// the ships there are transports.
bool IsSeaNodeSafe(cWorld& world, const cCountry& country, int seaNode);
// The ports (cities of type 2 or 3) held by the country or an ally whose
// sea node has a route over friendly ports to the sea node.
std::vector<cCity*> FindStagingPorts(cWorld& world, const cCountry& country, int seaNode);

// --- patrols (ai_patrols.cpp) ---

// Patrol orders are cleared; with patrol zones listed, the ships of the idle
// fleets are shared out zone by zone by hit points, each fleet split until
// it holds one zone's ships, and each sent toward its zone (order 5).
void DistributePatrols(cWorld& world, cCountry& country);

// --- carrier strikes (ai_carriers.cpp) ---

// The nine kinds of carrier target, in the order of the country's
// priorities (CarrierTargetsPriorities).
enum eCarrierTarget : int {
  kCarrierPortShipsAndUnit = 0,  // a linked port with spotted ships and a visible enemy unit
  kCarrierPortShips = 1,         // a linked port with spotted ships and no unit
  kCarrierPortUnit = 2,          // a linked port without spotted ships, a visible enemy unit on it
  kCarrierOwnZoneShips = 3,      // the carrier's own sea zone with spotted ships
  kCarrierLinkedShips = 4,       // any linked node with spotted ships
  kCarrierCityAir = 5,           // a coastal enemy city with an air unit
  kCarrierOpenAir = 6,           // a coastal hex without a city, a visible enemy air unit
  kCarrierCityLand = 7,          // a coastal enemy city with a land unit
  kCarrierOpenLand = 8,          // a coastal hex without a city, a visible enemy land unit
  kCarrierTargetKinds = 9,
};
struct sCarrierTarget {
  int x = -1, y = -1;  // the hex struck
  int seaNode = -1;    // the node of a target of ships, else -1
  float value = 0.0f;  // spotted ships, or the strength of the unit on the hex
};
// The carrier's targets of the kind, the best first (the most spotted
// ships, or the strongest unit; the first found among equals). The strike
// rule's check is asked of them when one is chosen.
std::vector<sCarrierTarget> FindCarrierTargets(cWorld& world, const cCountry& country, cJednostkaMorska& carrier,
                                               int kind);
// The kinds in priority order, the greater value first, equal values in
// kind order.
std::vector<int> CarrierTargetOrder(const cCountry& country);
// Each carrier that may strike strikes the best target of the first kind in
// priority order that has one. Returns the number of strikes.
int CarrierStrikes(cWorld& world, cCountry& country);

// --- the sea invasion (ai_invasion.cpp, ai_landings.cpp) ---

// The target of a sea invasion, the units gathered at the embarkation ports
// (orders 14, 15) and, with enough amphibious points, loaded.
void PlanSeaInvasion(cWorld& world, cCountry& country, sAiUnitLists& lists, const std::vector<sAiFront>& fronts);
// Bombardment, landings and the artificial harbour of every invasion fleet
// at its destination, pass by pass while units land, each landing pass
// followed by the attacks. Returns the number of units landed.
int ExecuteAmphibiousInvasions(cWorld& world, cCountry& country, sAiUnitLists& lists);

// --- the naval phase (ai_naval_phase.cpp) ---

// Carrier strikes, transport and invasion fleets under way, the transports
// at their destination unloaded, escorts, the landings when the invasion
// node is safe, carrier strikes again, patrols.
void PlayNavalPhase(cWorld& world, cCountry& country, sAiUnitLists& lists);
// Every cargo ship of the fleet that can put its unit ashore at the fleet's
// node does so through the unload rule (UnloadToCoast) and is removed; a
// ship the rule refuses stays. Returns the number unloaded (the fleet may be
// gone afterwards).
int UnloadTransportFleet(cWorld& world, cFleet& fleet);

// --- sea transport to the fronts (ai_sea_transport.cpp) ---

// Reserve units (order 3) by sea from friendly ports to the ports of the
// fronts (orders 10, 11, fleet order 3).
void TransportUnitsToFronts(cWorld& world, cCountry& country, sAiUnitLists& lists,
                            std::vector<sAiFront>& fronts);

}  // namespace ai
