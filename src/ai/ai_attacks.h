// The computer opponent's attacks on enemy land units: the hexes its units
// can reach, the approaches they give to each enemy, the obvious moves onto
// empty enemy cities, the attack plans of one defender each, their order and
// safety, and carrying out the best one through the land attack rules.
#pragma once

#include <array>
#include <vector>

#include "world/map.h"
#include "world/unit.h"

class cCountry;
class cJednostkaLadowa;
class cJednostkaLotnicza;
class cWorld;

namespace ai {

struct sAiUnitLists;

// A strike gets through the interceptor when strength + level of the
// bomber exceed the interceptor's by more than this ratio.
constexpr float kInterceptionRatio = 1.0f;

// Cost of an empty move entry after sAttackPlan::Reset.
constexpr int kNoMoveCost = 9999;

// One planned move: the unit, the hex it goes to, the target's side that hex
// lies on, and the movement cost.
struct sAiMove {
  cJednostkaLadowa* unit = nullptr;
  int x = -1;
  int y = -1;
  int direction = -1;
  int cost = -1;
};

// One planned attack on one defender.
struct sAttackPlan {
  cJednostka* defender = nullptr;
  std::array<sAiMove, 6> withdrawals{};  // own units next to the target that make room, by side
  std::array<sAiMove, 6> approaches{};   // the attacker of each side and the hex it attacks from
  int column = 0;                        // estimated odds column 1..7
  bool planned = false;                  // at least one attacker chosen
  int cost = 0;                          // sum of the approach moves' costs
  int goodStrikes = 0;
  std::vector<cJednostkaLotnicza*> strikeUnits;
  std::vector<cJednostkaLotnicza*> interceptors;
  int countryId = 0;

  // Empty plan on the defender: column 0, every entry without unit at
  // (0, 0), side 0, cost kNoMoveCost.
  void Reset(cJednostka* target);
  // The smallest approach cost (666 when it is no lower).
  int MinApproachCost() const;
  // Own tactical bombers with action points and strength above 2 that the
  // bombardment rule lets strike the target, strongest first; the enemy
  // fighter the interception rule would send; and the strikes likely to get
  // through it.
  void CollectStrikeUnits(const cWorld& world, const sAiUnitLists& lists);
  void CollectInterceptors(const cWorld& world);
  void CountGoodStrikes();
  void Dump(const cWorld& world) const;
  void DumpShort(const cWorld& world) const;
};

// The odds column of the plan's approach units against its defender.
int EstimatePlanColumn(const cWorld& world, const sAttackPlan& plan);

// Every city attackable, then the country's cities not to attack not.
void MarkAttackableCities(cWorld& world, const cCountry& country);

// The hexes each own land unit (not on a city hex; with skipAttacked not
// one that attacked in this impulse) can reach, with its own hex at cost 0
// when it has action points, for the units only that may end a move on or
// next to one of the goal hexes: a unit more than its action points (at
// least 1) plus reach steps away from every goal is left out, as every step
// costs at least a point. Reach 0 for moves onto the goals, 1 for moves next
// to them.
std::vector<sReachableHex> CollectReachableHexesNear(cWorld& world, const sAiUnitLists& lists, bool skipAttacked,
                                                     const std::vector<sMapCoord>& goals, int reach);
// The goals of the two searches of an attack phase: the hexes of the units
// of the countries at war with the country (approaches end next to them),
// and the free enemy cities of types 0 to 3 (the obvious moves end on them).
std::vector<sMapCoord> EnemyUnitHexes(const cWorld& world, const cCountry& country);
std::vector<sMapCoord> FreeEnemyCityHexes(const cWorld& world, const cCountry& country);
// Empties the approach lists of the enemy land and air units.
void ClearApproachLists(sAiUnitLists& lists);
// Every reachable hex entered below the unit's action points is an approach
// of each enemy unit standing next to it.
void RegisterApproaches(cWorld& world, const cCountry& country, const std::vector<sReachableHex>& reachable);

// Moves the unit with the cheapest way onto an empty enemy city (types 0 to
// 3); false when there is none, or when the move left everything as it was.
bool FindObviousMove(cWorld& world, const cCountry& country, const std::vector<sReachableHex>& reachable);

// The plan of the own units already next to the defender; planned false
// when there is none.
sAttackPlan BuildPlanFromPlace(cWorld& world, const cCountry& country, const sAiUnitLists& lists,
                               cJednostka& defender);
// The plans of every enemy land unit not yet attacked: from the units in
// place and gathered greedily from the approaches, or of the single
// strongest attacker.
std::vector<sAttackPlan> BuildMultipleDirectionPlans(cWorld& world, const cCountry& country,
                                                     const sAiUnitLists& lists);
std::vector<sAttackPlan> BuildOneSidePlans(cWorld& world, const cCountry& country, const sAiUnitLists& lists);

// The plan order: lower column first; at equal columns a target outside a
// city first; then the higher cost first. The best plan sorts last.
bool CompareAttackPlans(const cWorld& world, const sAttackPlan& a, const sAttackPlan& b);

// No friendly unit within the country's covering distance of the target, and
// the cheapest approach costs at least its safe move cost.
bool IsPlanUnsafe(const cWorld& world, const cCountry& country, const sAttackPlan& plan);

// Makes room, moves the attackers in and fights the battle through the land
// attack rules. True when the battle was fought.
bool ExecuteAttackPlan(cWorld& world, const cCountry& country, sAiUnitLists& lists, sAttackPlan& plan);

// The two attack phases: search, sort, carry out the best acceptable plan,
// search again; each ends when no plan is acceptable or a pass changed
// nothing. Return the number of battles fought.
int MultipleDirectionAttacks(cWorld& world, const cCountry& country, sAiUnitLists& lists);
int OneSideAttacks(cWorld& world, const cCountry& country, sAiUnitLists& lists);

}  // namespace ai
