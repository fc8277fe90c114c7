#include "rules/event_firing.h"

#include "world/event_records.h"
#include "world/world.h"

// Interim: conditions, the search and the options are not built yet.
bool IsInDateRange(const cWorld&, const sEvent&) { return true; }
bool EvaluateCondition(cWorld&, const sEventCondition&, int) { return true; }
bool EvaluateExpression(cWorld&, const sEventExpression&, int) { return false; }
bool FindEventToFire(cWorld&) { return false; }
bool ApplyOption(cWorld&, const sEvent&, int) { return false; }
