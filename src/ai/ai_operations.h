// The computer opponent's land operations: the roles and orders of its land
// units (garrisons, fronts, support, reserve), the build-up at the staging
// cities of its targets, the moves that carry the orders out, the follow-up
// moves of idle units, and the deployment of new land and air units from
// the reserve. Every move goes through the land move orders (each takes its
// own lock and waits outside it while the main thread steps the unit);
// every other change of the world is one locked step.
#pragma once

#include <vector>

#include "world/map.h"

class cCity;
class cCountry;
class cJednostkaLadowa;
class cWorld;

namespace ai {

struct sAiFront;
struct sAiUnitLists;

// How far (hexes) an idle unit looks for an enemy city to follow up on:
// about two impulses' march of an infantry division, so a follow-up never
// sends a unit across the map.
constexpr int kFollowUpSearchDistance = 8;

// --- orders ---

// The roles of the own land units (the first planning pass): the lists are
// built again, orders reset (7 kept as 2), the cities to hold garrisoned
// (1, 2), the idle units sent against enemy cities of held fronts (8), to
// weak fronts (5), toward the nearest front (6) or kept in reserve (3).
// Needs the fronts and node strengths of this turn.
void AssignUnitRoles(cWorld& world, cCountry& country, sAiUnitLists& lists, const std::vector<sAiFront>& fronts);
// Idle and reserve units, and those bound for a front or an enemy city, go
// to the staging cities of the country's current targets (order 12).
// Returns the number of units given the order.
int BuildUpForInvasion(cWorld& world, cCountry& country, sAiUnitLists& lists);
// The passes that carry the orders out, each once over the own land units:
// garrisons (1, then 2), approaches (4), the line of defence (5), toward the
// fronts (6), the build-up (12). A unit on its target is left alone; one on
// a hex fortified above the country's hold level holds there (9). Returns
// the number of units that moved (a changed hex).
int ExecuteOperationalMoves(cWorld& world, cCountry& country, sAiUnitLists& lists,
                            const std::vector<sMapCoord>& line);
// Idle and reserve units that can still move get order 4 on the nearest
// enemy city within kFollowUpSearchDistance. True when any unit got one.
bool AssignFollowUpMoves(cWorld& world, cCountry& country, sAiUnitLists& lists);
// The hex of the nearest city (not a resources city) held by a country at
// war with the unit's, within kFollowUpSearchDistance of the unit's hex (of
// equally near ones the first in row order); false when none.
bool FindFollowUpTarget(const cWorld& world, const cJednostkaLadowa& unit, int& x, int& y);

// --- deployment ---

// The cities the country may deploy at: not resources cities, the city hex
// held by the country, the city hex or a land neighbour the country holds
// free, and at war at least half the maximum supply there for the country.
std::vector<cCity*> CollectDeployCities(const cWorld& world, const cCountry& country);
// Ready reserve land units (availableInTurns below 1), one at a time, to
// the candidate front city of the smallest own land strength (at war),
// else to the richest candidate. Ends when no ready unit or no city is
// left. Returns the number deployed.
int DeployLandUnits(cWorld& world, cCountry& country);
// Ready reserve air units to the richest candidate city on no front (the
// richest of all when every one is on a front). Returns the number deployed.
int DeployAirUnits(cWorld& world, cCountry& country);

// --- small queries ---

void ResetCityCounters(cWorld& world);
bool IsCityOnFront(const cCity& city);

}  // namespace ai
