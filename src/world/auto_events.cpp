#include "world/auto_events.h"

#include <algorithm>

bool cAutoEventsRepository::Add(int eventId, int optionId) {
  const bool known =
      std::any_of(pairs_.begin(), pairs_.end(), [eventId](const Pair& p) { return p.first == eventId; });
  if (known) return false;
  pairs_.emplace_back(eventId, optionId);
  return true;
}
