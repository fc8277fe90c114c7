// Setting up and fighting a land attack, for the player's clicks on the map
// screen and for the computer opponent alike. Each action runs its check
// first; the attack panel's state and the computer's planning ask the same
// checks. The odds the panel shows come from the set-up itself
// (world/land_attack_plan.h: the strengths, the factors, EstimateOddsColumn).
#pragma once

class cJednostka;
class cLandAttack;
class cWorld;
struct sBombardmentResult;

// Why an attack order is refused. Each maps to a text key
// (AttackRefusalKey).
enum class eAttackRefusal {
  kNone = 0,
  kNoPlan,                // no attack is pending
  kNoDefender,            // no unit to attack, or it is not on the map
  kNotAtWar,              // the attacker's country is not at war with the defender's
  kNotAdjacent,           // the attacker does not stand next to the defender
  kNotLandUnit,           // only land units attack
  kNotOwnUnit,            // the unit does not belong to the country whose turn it is
  kNoActionPoints,        // the attacker has no action point left
  kAlreadyAttacked,       // the attacker has attacked in this impulse
  kDefenderWasAttacked,   // the defender was attacked in this impulse
  kNotAnAttacker,         // the unit is not one of the set-up's attackers
  kNoAttacker,            // the set-up has no attacker
  kOtherCountry,          // the attackers must all be of one country
  kNotOnMap,              // the attacker is not on the map
};

// The language-base key of a refusal; null for kNone.
const char* AttackRefusalKey(eAttackRefusal refusal);

// Whether the attacker may open a new attack on the defender: both on the
// map and adjacent, the attacker a land unit of the country whose turn it is
// (any country while none is current) with at least one action point, their
// countries at war.
// With strictFlags the attacker must not have attacked and the defender not
// have been attacked in this impulse (multi-side attacks test these flags
// once a second side joins, through DropInvalidAttack).
eAttackRefusal CheckNewAttack(const cWorld& world, const cJednostka& defender, const cJednostka& attacker,
                              bool strictFlags);
// Opens the set-up as the world's pending attack, attacker on its side.
eAttackRefusal NewAttack(cWorld& world, cJednostka& defender, cJednostka& attacker, bool strictFlags);

// Whether the unit may join the pending attack: an adjacent land unit of the
// attackers' country with an action point that has not attacked yet.
eAttackRefusal CheckAddAttacker(const cWorld& world, const cJednostka& unit);
// Sets it as the attacker of its side, then drops a plan that is no longer
// valid (cTurnState::DropInvalidAttack).
eAttackRefusal AddAttacker(cWorld& world, cJednostka& unit);
// Removes the unit from the pending attack; the plan is cleared when no
// attacker is left (then the result is kNone and no plan is pending).
eAttackRefusal RemoveAttacker(cWorld& world, const cJednostka& unit);

// Whether the pending attack may be fought now.
eAttackRefusal CheckExecuteAttack(const cWorld& world);
// Fights the pending attack into result and deletes the set-up.
eAttackRefusal ExecuteAttack(cWorld& world, sBombardmentResult& result);
