#include "rules/event_effects.h"

#include "app/framework_lock.h"
#include "world/event_records.h"

void ExecuteEventEffect(cWorld& world, const sEventEffect& effect, int eventId) {
  cFrameworkLockGuard lock;
  if (RunCountryEffect(world, effect, eventId)) return;
  if (RunMapEffect(world, effect, eventId)) return;
  RunSettingsEffect(world, effect, eventId);
}
