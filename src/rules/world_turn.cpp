#include "rules/world_turn.h"

// Interim: the scenario's events are not read yet, so there is nothing to
// check.
void CheckEvents(cWorld&) {}
