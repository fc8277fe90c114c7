#include "rules/world_turn.h"

#include "world/world.h"

// Interim: the settling of the world after an impulse (weather, supply,
// production, sieges, the date) is not built yet, so an impulse ends with
// the world unchanged.
void EndImpulse(cWorld&, bool) {}

// Interim: the scenario's events are not read yet, so there is nothing to
// check.
void CheckEvents(cWorld&) {}
