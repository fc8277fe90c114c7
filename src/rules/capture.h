// Changes of control over hexes during play: a unit entering a hex takes it
// and the enemy-held hexes around it that no enemy unit guards (a city hex
// is taken only by entering it); a port that changes hands sends the fleets
// in it out to sea. The victory points of a city follow the control of its
// hex.
#pragma once

class cMoveUndo;
class cWorld;

// A unit of the country has entered (x, y): the hex itself, when its
// controller is at war with the country, and each neighbour that has a
// controller at war with the country, no city, and no enemy unit on it or
// next to it, becomes the country's. Each change is appended to undo (when
// given) with the previous controller. Owners never change here.
void CaptureHexAndSurroundings(cWorld& world, int countryId, int x, int y, cMoveUndo* undo);

// A unit of a country at war with the country stands on (x, y) or on one of
// its neighbours.
bool IsEnemyUnitOnOrNextTo(const cWorld& world, int countryId, int x, int y);

// The fleets in the port on (x, y) leave it for the sea zone next to it.
// Nothing happens on a hex without a port. A port that is no sea node's
// main hex is a broken scenario: the log line, then the end (code 1).
void EvacuatePort(cWorld& world, int x, int y);
