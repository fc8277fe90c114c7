#include "rules/event_effects.h"

// Interim: this family's effects are not built yet.
bool RunSettingsEffect(cWorld&, const sEventEffect&, int) { return false; }
