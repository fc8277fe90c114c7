// The records of a land move: the unit walking its path across the map
// (cLandMove) and what an undo of the last move needs (cMoveUndo). The turn
// state holds one of each. The operations that change the world (the step,
// the undo) live with the rules of play in rules/land_move.cpp.
#pragma once

#include <list>
#include <vector>

class cJednostkaLadowa;
class cWorld;

// One step of a path: the hex entered and the action points it costs.
struct sPathStep {
  int x = 0;
  int y = 0;
  int cost = 0;
  bool operator==(const sPathStep&) const = default;
};

// A hex whose controller a move changed, and the controller before.
struct sChangedHex {
  int x = 0;
  int y = 0;
  int previousController = 0;
  bool operator==(const sChangedHex&) const = default;
};

class cLandMove {
 public:
  // Takes the next step of the path: the unit enters the hex, pays its cost
  // and captures the hex and its surroundings (recorded in the turn state's
  // undo record). A step into a hex held by any other unit clears the path
  // and takes nothing: the move ends where it is. True while steps remain;
  // false when the path is used up (or was empty), after which the unit
  // stands on its final hex.
  bool Step(cWorld& world);
  // Forgets the move without taking a step (unit none, path empty).
  void Clear();

  cJednostkaLadowa* unit = nullptr;
  // The country that takes control of the hex entered by the next step.
  int newController = 0;
  std::list<sPathStep> path;
  // Where the last finished move ended (-1 before any).
  int moveTargetX = -1;
  int moveTargetY = -1;
};

class cMoveUndo {
 public:
  // Forgets the record (unit none, list emptied); the unit panel is
  // refreshed.
  void Clear();

  cJednostkaLadowa* unit = nullptr;
  int savedActionPoints = 0;
  int startX = -1;
  int startY = -1;
  // The unit's moved-or-deployed flag before the move (a one-hex move on no
  // action points sets it).
  bool savedMovedOrDeployed = false;
  std::vector<sChangedHex> changedHexes;
};
