#include "rules/world_turn.h"

#include "app/framework_lock.h"
#include "rules/sea_battle.h"
#include "world/jednostka_ladowa.h"
#include "world/world.h"

// Interim: of the settling of the world after an impulse (weather, supply,
// production, sieges, the date) only the units' values are built: each land
// unit's effectiveness follows its supply, so that a new scenario's units
// fight with their strength from the first turn on; then the sea battles.
void EndImpulse(cWorld& world, bool real) {
  {
    // The panels read the units' values: one locked step.
    const cFrameworkLockGuard lock;
    for (cJednostkaLadowa* unit : world.Units().landUnits) unit->UpdateEffectiveness();
  }
  // The sea battles of a real impulse, fought without their screen until it
  // comes (each step of a battle is locked on its own).
  if (real) RunSeaBattles(world);
}

// Interim: the scenario's events are not read yet, so there is nothing to
// check.
void CheckEvents(cWorld&) {}
