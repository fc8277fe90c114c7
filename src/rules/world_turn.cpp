#include "rules/world_turn.h"

#include "app/framework_lock.h"
#include "world/jednostka_ladowa.h"
#include "world/world.h"

// Interim: of the settling of the world after an impulse (weather, supply,
// production, sieges, the date) only the units' values are built: each land
// unit's effectiveness follows its supply, so that a new scenario's units
// fight with their strength from the first turn on.
void EndImpulse(cWorld& world, bool) {
  // The panels read the units' values: one locked step.
  const cFrameworkLockGuard lock;
  for (cJednostkaLadowa* unit : world.Units().landUnits) unit->UpdateEffectiveness();
}

// Interim: the scenario's events are not read yet, so there is nothing to
// check.
void CheckEvents(cWorld&) {}
