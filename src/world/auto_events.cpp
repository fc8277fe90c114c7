#include "world/auto_events.h"

#include <algorithm>

bool cAutoEventsRepository::Add(int eventId, int optionId) {
  if (Find(eventId) != pairs_.end()) return false;
  pairs_.emplace_back(eventId, optionId);
  return true;
}

std::list<cAutoEventsRepository::Pair>::const_iterator cAutoEventsRepository::Find(int eventId) const {
  return std::find_if(pairs_.begin(), pairs_.end(), [eventId](const Pair& p) { return p.first == eventId; });
}
