// The strategic move of a land or air unit to a destination of the supply
// network, as the player's click on a marked hex (main thread) and the
// computer opponent give it: the check first, then one locked step that moves
// the unit, takes its action points and charges its country.
#pragma once

class cJednostka;
class cWorld;

// Why a strategic move is refused. Each maps to a text key
// (StrategicMoveRefusalKey).
enum class eStrategicMoveRefusal {
  kNone = 0,
  kNotOnMap,              // the unit does not stand on the map
  kNotOwnUnit,            // the unit is not the current country's
  kNoPoints,              // the country cannot pay the move
  kNotFullActionPoints,   // the unit has acted in this impulse, or is frozen
  kNoSupplySource,        // the unit draws from no city
  kOutOfSupply,           // the unit is out of supply
  kTargetOffMap,          // the hex is not on the map
  kNotDestination,        // the hex is no destination of the unit (not free, not friendly, not joined)
};

const char* StrategicMoveRefusalKey(eStrategicMoveRefusal refusal);

// The unit: an own unit on the map that may move strategically now
// (GetStrategicMoveBlock); the hex: one that the unit's destination marks
// would show (a free destination city, or a free friendly land hex next to
// one).
eStrategicMoveRefusal CheckStrategicMove(const cWorld& world, const cJednostka& unit, int x, int y);
// The check, then the move (cUnit::StrategicMove): the unit on (x, y), its
// action points 0, its country charged.
eStrategicMoveRefusal OrderStrategicMove(cWorld& world, cJednostka& unit, int x, int y);
