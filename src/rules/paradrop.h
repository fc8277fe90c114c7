// An airborne division's drop behind the lines: the targets it may choose
// and the drop itself, whose losses depend on the air superiority over the
// target hex and a die.
#pragma once

#include "rules/landing_outcome.h"

class cJednostkaLadowa;
class cWorld;

// The unit stands on the map, belongs to the country whose turn it is, may
// make an airborne assault (CanAirborneAssault) and the hex is a free drop
// target within its range (IsParadropTarget).
eTransportRefusal CheckParadrop(const cWorld& world, cJednostkaLadowa& unit, int x, int y);

// The drop: the report (superiority, enemy air activity, losses, the end)
// goes into outcome's text, the title "airborne_assault_title_unit%s" into
// its title. A unit that falls below 0.1 combat strength is killed;
// otherwise it stands on the hex with one action point less and, on a hex
// held by an enemy, takes it (control when the enemy has no air power there,
// ownership after a contested drop). Then it reveals the units around it.
eTransportRefusal Paradrop(cWorld& world, cJednostkaLadowa& unit, int x, int y, sLandingOutcome& outcome);

// The superiority band of a ratio (friendly to enemy air power) and its
// modifier of the die: the text key and -2..+2.
const char* ParadropSuperiorityKey(float ratio, int& modifier);
// The words of the enemy air activity by roll 1-6 and of the losses (0
// none, below 33 light, 33-65 medium, 66 and more high).
const char* ParadropActivityKey(int roll);
const char* ParadropLossKey(int loss);
