// The land move and its undo, as the player's orders and the computer
// opponent give them. Each action runs its check first; the check alone is
// what the status line, the map marks and the computer's planning ask.
#pragma once

class cJednostkaLadowa;
class cWorld;

// Why a move is refused. Each maps to a text key (LandMoveRefusalKey).
enum class eLandMoveRefusal {
  kNone = 0,
  kNoUnit,            // no unit, or one not on the map
  kMoveInProgress,    // another unit is still walking its path
  kNotInRange,        // the target is not in the unit's movement range
  kTargetOccupied,    // another unit stands on the target
  kNoPath,            // the path back from the target does not reach the unit
};

// Why an undo is refused.
enum class eUndoRefusal {
  kNone = 0,
  kNothingMoved,      // no move is recorded (or a battle has cleared it)
  kNotLastMovedUnit,  // only the unit that moved last may undo its move
  kMoveInProgress,    // the recorded unit is still walking
  kStartHexTaken,     // another unit stands on the hex the move began on
};

// The language-base key of a refusal; null for kNone.
const char* LandMoveRefusalKey(eLandMoveRefusal refusal);
const char* UndoRefusalKey(eUndoRefusal refusal);

// Whether the unit may move to (tx, ty) now: it stands on the map, nothing
// else is moving, the target is in its last movement range (the caller has
// computed it) and free.
eLandMoveRefusal CheckLandMove(const cWorld& world, const cJednostkaLadowa& unit, int tx, int ty);

// The move order: the check, then the path and undo records
// (cTurnState::FindLandPath), the unit leaves its start hex, and the phase
// becomes 8 (human) or 10 (computer). Then the main thread steps the unit
// (StepLandMove) once per move delay. Refused orders change nothing.
eLandMoveRefusal OrderLandMove(cWorld& world, cJednostkaLadowa& unit, int tx, int ty, bool human);

// One step of the moving unit (cLandMove::Step); true while steps remain.
bool StepLandMove(cWorld& world);

// Whether an undo of the unit's last move is possible now.
eUndoRefusal CheckUndoLandMove(const cWorld& world, const cJednostkaLadowa* unit);
// Undoes the unit's last move: back on its start hex with its saved action
// points, every captured hex back to its previous controller (in list
// order), the start hex selected, the range computed and marked again,
// order mode 4. A refused undo logs the refusal's text and changes nothing.
eUndoRefusal UndoLandMove(cWorld& world, cJednostkaLadowa* unit);
