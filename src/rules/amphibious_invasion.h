// A land unit aboard a ship lands on a coastal hex, for the player (main
// thread) and for the computer opponent (worker thread). The ship is used up
// by every landing. On an enemy unit the landing is a land battle fought with
// the assault penalty on the landing unit's effectiveness; when both sides
// stand after it, the landing holds only when the unit is at least the
// landing decision factor times as strong as the defender. On an empty hex
// the unit may lose strength by a die roll.
#pragma once

#include "rules/landing_outcome.h"

class cJednostkaLadowa;
class cWorld;

// The unit is carried by a ship, the hex is on the map and any unit on it
// belongs to a country at war with the unit's (otherwise kFriendlyOnBeach,
// logged as a critical error: the unit stays aboard).
eTransportRefusal CheckAmphibiousInvasion(const cWorld& world, const cJednostkaLadowa& unit, int x, int y);

// The player's landing: the battle record (opposed) or the message title
// and text (unopposed) go into outcome for the map screen to show. A
// player's unopposed landing on a hex whose controller and owner are both
// its country's or its allies' loses nothing; on any other hex the loss of
// the die is taken and kept. On success the unit stands on the hex with the
// hex's control, full supply, its action points and effectiveness anew and
// reveals the units around it. The selection is cleared in every case.
eTransportRefusal AmphibiousInvasion(cWorld& world, cJednostkaLadowa& unit, int x, int y, sLandingOutcome& outcome);

// The computer opponent's landing (worker thread): each change of the world
// one locked step, the delays of a landing the player sees outside the lock
// and stoppable, the combat report through the world's view (waited for
// until it is closed). Its unopposed landing always rolls, and a unit that
// survives the roll lands at full strength. True when the unit landed.
bool AiAmphibiousInvasion(cWorld& world, cJednostkaLadowa& unit, int x, int y);
