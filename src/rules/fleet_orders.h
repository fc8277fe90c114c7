// The orders of a fleet, as the player's clicks, the fleets dialog and the
// computer opponent give them: the move to a sea node (or toward one) and
// the shore bombardment of a hex. Each action runs its check first; the
// check alone is what the status line and the computer's planning ask. The
// world-changing step runs under the framework lock; a ship killed by it
// leaves the selection and every list in that same step.
#pragma once

class cFleet;
class cWorld;
struct sBombardmentResult;

// Why a fleet order is refused. Each maps to a text key (FleetOrderRefusalKey).
enum class eFleetOrderRefusal {
  kNone = 0,
  kNotOwnFleet,      // the fleet does not belong to the country whose turn it is
  kAlreadyMoved,     // the fleet has moved this turn
  kUnknownNode,      // the target names no sea node
  kNotReachable,     // the target lies beyond the fleet's reach this turn
  kNoFiringShips,    // no battleship or cruiser that has not fired this turn
  kTargetOffMap,     // the target hex is not on the map
  kNoTarget,         // the hex is not one of the fleet's shore-bombardment targets
};

// The language-base key of a refusal; null for kNone.
const char* FleetOrderRefusalKey(eFleetOrderRefusal refusal);

// The move to the node: an own fleet that has not moved, a node it reaches
// this turn (cFleet::CanReach).
eFleetOrderRefusal CheckFleetMove(const cWorld& world, cFleet& fleet, int nodeId);
// Moves the fleet there (cFleet::MoveTo) with its spotting at the new node.
eFleetOrderRefusal MoveFleet(cWorld& world, cFleet& fleet, int nodeId);

// The computer's move toward a node that may lie beyond this turn's reach:
// the fleet goes as far along the sea route as it reaches
// (cFleet::StepToward), and that step is checked as the player's move to it
// (CheckFleetMove); kNotReachable when the route is cut or no node of it is
// reached. Fills stepNode with the node the move ends at when given.
eFleetOrderRefusal CheckFleetMoveToward(const cWorld& world, cFleet& fleet, int nodeId, int* stepNode = nullptr);
// The move after its check, through the same cFleet::MoveTo as MoveFleet.
eFleetOrderRefusal MoveFleetToward(cWorld& world, cFleet& fleet, int nodeId);

// The shore bombardment of (x, y): an own fleet with a battleship or cruiser
// that has not fired; the hex one the fleet marks as a shore-bombardment
// target (cFleet::IsShoreBombardmentTarget: a visible enemy unit not yet
// bombarded this impulse, on a land hex of the fleet's sea zone or within
// the aircraft range of such a target).
eFleetOrderRefusal CheckShoreBombardment(const cWorld& world, const cFleet& fleet, int x, int y);
eFleetOrderRefusal ShoreBombard(cWorld& world, cFleet& fleet, int x, int y, sBombardmentResult& result);
