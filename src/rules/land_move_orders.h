// The computer opponent's land move orders (worker thread). Each picks the
// hex the unit goes to, then gives the same move order the player's click
// gives (OrderLandMove, which runs CheckLandMove): a move the player would
// be refused is refused here too, logged, and changes nothing. An accepted
// order waits, outside the framework lock and stoppably, while the main
// thread steps the unit along its path.
#pragma once

class cJednostkaLadowa;
class cWorld;

// To (hexX, hexY) when it is in the unit's last range and free, else to the
// free hex of the range nearest to it (none nearer than the unit itself:
// no move). The view follows the unit's start hex when its actions are
// shown, and the after-move delay follows the move. False onto the unit's
// own hex, with nothing to move to, or when the order is refused.
bool AiMoveToHex(cWorld& world, cJednostkaLadowa& unit, int hexX, int hexY);

// Of the hexes the range reaches with a point to spare, the one nearest
// (hexX, hexY) (ties: the dearer), then AiMoveToHex to it.
void AiMoveTowardHex(cWorld& world, cJednostkaLadowa& unit, int hexX, int hexY);

// Walks the hexes from the unit toward its ultimate target over land the
// unit's country may enter, each step nearer; when a step reaches a
// neighbour of the target, moves there (AiMoveToHex) and answers true.
bool AiAdvanceToUltimateTarget(cWorld& world, cJednostkaLadowa& unit);

// Makes room: to the cheapest free hex of the unit's range, the view
// centred on its start hex when shown. False when no hex is free or the
// order is refused.
bool MoveAside(cWorld& world, cJednostkaLadowa& unit);
