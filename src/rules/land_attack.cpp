// Setting up a land attack: who may attack whom, adding and removing
// attackers, and fighting the pending attack.
#include "rules/land_attack.h"

#include "app/framework_lock.h"
#include "world/combat_result.h"
#include "world/country.h"
#include "world/hex.h"
#include "world/hex_ownership.h"
#include "world/jednostka_ladowa.h"
#include "world/land_attack_plan.h"
#include "world/map.h"
#include "world/turn_state.h"
#include "world/world.h"

namespace {

bool IsOnMap(const cWorld& world, const cJednostka& unit) {
  const cMap& map = world.GetMap();
  return !unit.inReserve && map.IsInside(unit.x, unit.y) && map.GetHex(unit.x, unit.y).unit == &unit;
}

// The side of the defender's hex the attacker stands on, or -1.
int SideTowards(const cWorld& world, int defenderX, int defenderY, const cJednostka& attacker) {
  return world.GetMap().GetNeighbourDirection(defenderX, defenderY, attacker.x, attacker.y) - 1;
}

// What every attacker must be: an own land unit on the map with an action
// point that has not attacked yet (flags tested only where asked).
eAttackRefusal CheckAttacker(const cWorld& world, const cJednostka& attacker, bool testAttacked) {
  if (!IsOnMap(world, attacker)) return eAttackRefusal::kNotOnMap;
  if (attacker.category != kCategoryLand) return eAttackRefusal::kNotLandUnit;
  const int current = world.turnState.CurrentCountryId();
  if (current != 0 && attacker.countryId != current) return eAttackRefusal::kNotOwnUnit;
  if (attacker.actionPoints < 1) return eAttackRefusal::kNoActionPoints;
  if (testAttacked && attacker.attacked) return eAttackRefusal::kAlreadyAttacked;
  return eAttackRefusal::kNone;
}

}  // namespace

const char* AttackRefusalKey(eAttackRefusal refusal) {
  switch (refusal) {
    case eAttackRefusal::kNone:
      return nullptr;
    case eAttackRefusal::kNoPlan:
      return "attack_impossible_no_plan";
    case eAttackRefusal::kNoDefender:
      return "attack_impossible_no_defender";
    case eAttackRefusal::kNotAtWar:
      return "attack_impossible_not_at_war";
    case eAttackRefusal::kNotAdjacent:
      return "attack_impossible_not_adjacent";
    case eAttackRefusal::kNotLandUnit:
      return "attack_impossible_not_land_unit";
    case eAttackRefusal::kNotOwnUnit:
      return "attack_impossible_not_own_unit";
    case eAttackRefusal::kNoActionPoints:
      return "attack_impossible_no_action_points";
    case eAttackRefusal::kAlreadyAttacked:
      return "attack_impossible_already_attacked";
    case eAttackRefusal::kDefenderWasAttacked:
      return "attack_impossible_defender_was_attacked";
    case eAttackRefusal::kNotAnAttacker:
      return "attack_impossible_not_an_attacker";
    case eAttackRefusal::kNoAttacker:
      return "attack_impossible_no_attacker";
    case eAttackRefusal::kOtherCountry:
      return "attack_impossible_other_country";
    case eAttackRefusal::kNotOnMap:
      return "attack_impossible_not_on_map";
  }
  return nullptr;
}

eAttackRefusal CheckNewAttack(const cWorld& world, const cJednostka& defender, const cJednostka& attacker,
                              bool strictFlags) {
  if (!IsOnMap(world, defender)) return eAttackRefusal::kNoDefender;
  const eAttackRefusal refusal = CheckAttacker(world, attacker, strictFlags);
  if (refusal != eAttackRefusal::kNone) return refusal;
  if (SideTowards(world, defender.x, defender.y, attacker) < 0) return eAttackRefusal::kNotAdjacent;
  if (!AreAtWar(world, attacker.countryId, defender.countryId)) return eAttackRefusal::kNotAtWar;
  if (strictFlags && defender.wasAttacked) return eAttackRefusal::kDefenderWasAttacked;
  return eAttackRefusal::kNone;
}

eAttackRefusal NewAttack(cWorld& world, cJednostka& defender, cJednostka& attacker, bool strictFlags) {
  // The map draws the pending attack's arrows: the set-up changes under
  // the framework lock, whichever thread sets it up.
  const cFrameworkLockGuard lock;
  const eAttackRefusal refusal = CheckNewAttack(world, defender, attacker, strictFlags);
  if (refusal != eAttackRefusal::kNone) return refusal;
  cLandAttack& attack = world.turnState.SetAttack(&defender, defender.x, defender.y);
  attack.SetAttacker(SideTowards(world, defender.x, defender.y, attacker), &attacker);
  return eAttackRefusal::kNone;
}

eAttackRefusal CheckAddAttacker(const cWorld& world, const cJednostka& unit) {
  const cLandAttack* attack = world.turnState.attack.get();
  if (!attack) return eAttackRefusal::kNoPlan;
  if (!attack->defender || !IsOnMap(world, *attack->defender)) return eAttackRefusal::kNoDefender;
  const eAttackRefusal refusal = CheckAttacker(world, unit, true);
  if (refusal != eAttackRefusal::kNone) return refusal;
  if (SideTowards(world, attack->defenderX, attack->defenderY, unit) < 0) return eAttackRefusal::kNotAdjacent;
  if (!AreAtWar(world, unit.countryId, attack->defender->countryId)) return eAttackRefusal::kNotAtWar;
  const cCountry* attackers = attack->GetAttackerCountry(world);
  if (attackers && attackers->id != unit.countryId) return eAttackRefusal::kOtherCountry;
  return eAttackRefusal::kNone;
}

eAttackRefusal AddAttacker(cWorld& world, cJednostka& unit) {
  const cFrameworkLockGuard lock;
  const eAttackRefusal refusal = CheckAddAttacker(world, unit);
  if (refusal != eAttackRefusal::kNone) return refusal;
  cLandAttack& attack = *world.turnState.attack;
  attack.SetAttacker(SideTowards(world, attack.defenderX, attack.defenderY, unit), &unit);
  world.turnState.DropInvalidAttack();
  return eAttackRefusal::kNone;
}

eAttackRefusal RemoveAttacker(cWorld& world, const cJednostka& unit) {
  const cFrameworkLockGuard lock;
  cLandAttack* attack = world.turnState.attack.get();
  if (!attack) return eAttackRefusal::kNoPlan;
  const int side = attack->SideOf(&unit);
  if (side < 0) return eAttackRefusal::kNotAnAttacker;
  attack->ClearAttacker(side);
  if (attack->CountAttackingSides() == 0) world.turnState.ClearAttack();
  world.turnState.DropInvalidAttack();
  return eAttackRefusal::kNone;
}

eAttackRefusal CheckExecuteAttack(const cWorld& world) {
  const cLandAttack* attack = world.turnState.attack.get();
  if (!attack) return eAttackRefusal::kNoPlan;
  if (!attack->defender || !IsOnMap(world, *attack->defender)) return eAttackRefusal::kNoDefender;
  if (attack->CountAttackingSides() == 0) return eAttackRefusal::kNoAttacker;
  for (const cJednostka* unit : attack->attackers) {
    if (!unit) continue;
    if (!AreAtWar(world, unit->countryId, attack->defender->countryId)) return eAttackRefusal::kNotAtWar;
    if (SideTowards(world, attack->defenderX, attack->defenderY, *unit) < 0) return eAttackRefusal::kNotAdjacent;
  }
  return eAttackRefusal::kNone;
}

eAttackRefusal ExecuteAttack(cWorld& world, sBombardmentResult& result) {
  // The whole battle is one step of the world: the main thread draws none of
  // it half done (a computer attack runs on the worker).
  const cFrameworkLockGuard lock;
  const eAttackRefusal refusal = CheckExecuteAttack(world);
  if (refusal != eAttackRefusal::kNone) return refusal;
  // The set-up leaves the turn state before the battle: the units the battle
  // kills are dropped from this copy as from everything else.
  cLandAttack attack = *world.turnState.attack;
  world.turnState.ClearAttack();
  attack.Resolve(world, result);
  return eAttackRefusal::kNone;
}
