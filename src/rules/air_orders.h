// The orders of an air unit, as the player's clicks, the unit panel and the
// computer opponent give them: rebase, air fight, bombardment of a hex (a land
// unit, a city, a port or the ships of a sea zone), reconnaissance and the
// nuclear strike. Each action runs its check first; the check alone is what
// the status line, the panel's icons and the computer's planning ask. A
// target is a hex (an order is a small value: the unit and the hex).
//
// Each action runs its check and its change in one step under the framework
// lock, so that nothing the main thread does between them makes the action
// act on what was checked no longer; a unit killed by it leaves the
// selection, the move records and every list in that same step.
#pragma once

class cCountry;
class cJednostkaLotnicza;
class cWorld;
struct sBombardmentResult;

// Why an air order is refused. Each maps to a text key (AirOrderRefusalKey).
enum class eAirOrderRefusal {
  kNone = 0,
  kNotOnMap,              // the unit does not stand on the map
  kNotOwnUnit,            // the unit does not belong to the country whose turn it is
  kNotFighter,            // only fighters fight other air units
  kNotBomber,             // only tactical and strategic bombers bomb
  kNotStrategicBomber,    // only strategic bombers carry a nuclear bomb
  kNoActionPoints,        // no action point left
  kNotFullActionPoints,   // the unit has acted in this impulse (rebase needs all its points)
  kSupplyTooLow,          // supply below the least a rebase needs
  kReconDone,             // the unit has flown its reconnaissance in this impulse
  kNoNuclearBomb,         // the country has no nuclear bomb
  kTargetOffMap,          // the target hex is not on the map
  kOutOfRange,            // the target lies beyond the unit's range
  kTargetNotFree,         // a unit stands on the rebase target
  kTargetNotFriendly,     // the rebase target is water, or neither own nor allied
  kNoTarget,              // nothing on the hex that this mission may strike
};

// The language-base key of a refusal; null for kNone.
const char* AirOrderRefusalKey(eAirOrderRefusal refusal);

// Rebase to (x, y): an own unit on the map with all its action points and
// enough supply; the target a free land hex, own or allied, within the
// rebase range (cJednostkaLotnicza::CountRebaseHexes).
eAirOrderRefusal CheckRebase(const cWorld& world, const cJednostkaLotnicza& unit, int x, int y);
// The check and the unit's rebase (cJednostkaLotnicza::Rebase: the sound
// unless sound is false, the hex links, the position, action points 0) in
// one step under the framework lock.
eAirOrderRefusal Rebase(cWorld& world, cJednostkaLotnicza& unit, int x, int y, bool sound = true);

// What the air fight and the bombardment see of the units (sight): null for
// a player, at this screen or by e-mail, who orders what the map shows (the
// units' visible flags, worked out for the viewing country); the computer
// passes its own country and decides in its own side's sight
// (SideSeesUnit), whoever views the map.

// Air fight against the air unit on (x, y): an own fighter with an action
// point; on the hex a seen air unit of a country at war within range.
eAirOrderRefusal CheckAirFight(const cWorld& world, const cJednostkaLotnicza& attacker, int x, int y,
                               const cCountry* sight = nullptr);
// Fights it into result (cJednostkaLotnicza::AirFight); an attacker that falls
// below 0.1 strength is killed here, the defender by the fight.
eAirOrderRefusal AirFight(cWorld& world, cJednostkaLotnicza& attacker, int x, int y, sBombardmentResult& result,
                          const cCountry* sight = nullptr);
// The computer's air fight, in its own sight: against a bomber the best
// fighter of the bomber's side over the hex (FindCountryInterceptor), its
// escort, meets the attacker first; an attacker it turns back or shoots
// down does not reach the bomber and has spent its action point. Against a
// fighter, or with no escort, the fight of AirFight.
eAirOrderRefusal AiAirFight(cWorld& world, cJednostkaLotnicza& attacker, int x, int y, sBombardmentResult& result,
                            const cCountry& sight);

// Bombardment of (x, y): an own bomber with an action point; the hex one the
// bombardment search marks (a seen enemy land unit or an enemy city within
// range, or a sea zone with enemy ships within the sea-zone distance: those
// the map's viewer spotted, or in the computer's sight any of a country at
// war).
eAirOrderRefusal CheckAirBombardment(const cWorld& world, const cJednostkaLotnicza& unit, int x, int y,
                                     const cCountry* sight = nullptr);
// The strike of the hex (ResolveHexAirBombardment): interception, then the
// land unit, the city (strategic bombers), the port or the sea zone.
eAirOrderRefusal AirBombardment(cWorld& world, cJednostkaLotnicza& unit, int x, int y, sBombardmentResult& result,
                                const cCountry* sight = nullptr);

// Reconnaissance of (x, y): an own unit with an action point that has not
// flown one in this impulse; the hex an enemy land hex or water within the
// reconnaissance range.
eAirOrderRefusal CheckAirRecon(const cWorld& world, const cJednostkaLotnicza& unit, int x, int y);
// ReconHex for a land hex, ReconSeaZone for the sea zone of a water hex;
// the report of what the flight found goes into result.
eAirOrderRefusal AirRecon(cWorld& world, cJednostkaLotnicza& unit, int x, int y, sBombardmentResult& result);

// Nuclear strike on (x, y): an own strategic bomber with an action point and
// a bomb of its country; the hex a land hex of a country at war within range.
eAirOrderRefusal CheckNuclearStrike(const cWorld& world, const cJednostkaLotnicza& unit, int x, int y);
// cJednostkaLotnicza::NuclearStrike; the bomber spends one action point.
eAirOrderRefusal NuclearStrike(cWorld& world, cJednostkaLotnicza& unit, int x, int y, sBombardmentResult& result);

// The computer opponent's rebase (worker thread): the same check; when the
// unit is visible and the country's actions are shown, the sound, the view
// following the old and the new hex and the move delays around the step;
// the change itself is the player's Rebase (its check asked again), every
// delay stoppable and outside the lock.
eAirOrderRefusal AiRebase(cWorld& world, cJednostkaLotnicza& unit, int x, int y);
