// The computer opponent's land operations: the roles and orders of its land
// units (garrisons, fronts, support, reserve), the build-up at the staging
// cities of its targets, the moves that carry the orders out, the follow-up
// moves of idle units, and the deployment of new land and air units from
// the reserve. Every move goes through the land move orders (each takes its
// own lock and waits outside it while the main thread steps the unit).
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

// --- orders ---

// The roles of the own land units (the first planning pass): orders reset
// (7 kept as 2), the cities to hold garrisoned (1, 2), the idle units sent
// against enemy cities of held fronts (8), to weak fronts (5), toward the
// nearest front (6) or kept in reserve (3).
void AssignUnitRoles(cWorld& world, cCountry& country, sAiUnitLists& lists, const std::vector<sAiFront>& fronts);
// Idle and reserve units, and those bound for a front or an enemy city, go
// to the staging cities of the country's current targets (order 12).
void BuildUpForInvasion(cWorld& world, cCountry& country, sAiUnitLists& lists);
// The passes that carry the orders out: garrisons (1, then 2), approaches
// (4), the line of defence (5), toward the fronts (6), the build-up (12).
void ExecuteOperationalMoves(cWorld& world, cCountry& country, sAiUnitLists& lists,
                             const std::vector<sMapCoord>& line);
// Idle and reserve units that can still move get order 4 on the nearest
// enemy city within reach of the search. True when any unit got one.
bool AssignFollowUpMoves(cWorld& world, cCountry& country, sAiUnitLists& lists);
// The hex of the nearest city (not a resources city) held by a country at
// war with the unit's, searched outward from the unit's hex; false when none.
bool FindFollowUpTarget(const cWorld& world, const cJednostkaLadowa& unit, int& x, int& y);

// --- deployment ---

// Reserve land units to the weakest-held front city, else the richest city.
// Returns the number deployed.
int DeployLandUnits(cWorld& world, cCountry& country);
// Reserve air units to the richest city on no front. Returns the number
// deployed.
int DeployAirUnits(cWorld& world, cCountry& country);

// --- small queries ---

bool HasUnitWithOrder3(const sAiUnitLists& lists);
void ResetCityCounters(cWorld& world);
bool IsCityOnFront(const cCity& city);
bool IsCityOnFrontInState(const cCity& city, int state);

}  // namespace ai
