#include "world/event_manager.h"

#include <tinyxml.h>

#include "app/console_log.h"
#include "app/random.h"

cEventManager::cEventManager() = default;
cEventManager::~cEventManager() = default;

void cEventManager::ClearCheckedFlags() { checked.assign(checked.size(), false); }

bool cEventManager::IsChecked(int eventId) const {
  return eventId >= 0 && static_cast<std::size_t>(eventId) < checked.size() && checked[eventId];
}

void cEventManager::SetChecked(int eventId) {
  if (eventId >= 0 && static_cast<std::size_t>(eventId) < checked.size()) checked[eventId] = true;
}

void cEventManager::ResetChecked(int highestId) { checked.assign(highestId < 0 ? 0 : highestId + 1, false); }

bool cEventManager::ForceFireEvent(int eventId) {
  LogLine(L"USER FORCED FIRING OF EVENT ID=%i. Searching for this event...", eventId);
  for (const sEvent& event : events) {
    if (event.eventId != eventId) continue;
    LogLine(L"Event found! Returning...");
    firedEvent = event;
    forcedEvents.push_back(event);
    return true;
  }
  LogLine(L"Event was not found!");
  return false;
}

int sEvent::PickOptionForComputer() const {
  long long total = 0;
  for (const sEventOption& option : options) total += option.chanceAI > 0 ? option.chanceAI : 0;
  return PickOptionForComputer(RandomRange(0, static_cast<int>(total)));
}

int sEvent::PickOptionForComputer(int draw) const {
  // Negative weights count as 0, so the running sums never fall. A draw of
  // 0 lies in no option's share: the computer takes none this time, and the
  // event, still holding, is tested again (at once, or at the next check
  // when it is tested once a check).
  long long sum = 0;
  int number = 0;
  for (const sEventOption& option : options) {
    ++number;
    const long long weight = option.chanceAI > 0 ? option.chanceAI : 0;
    if (sum < draw && draw <= sum + weight) return number;
    sum += weight;
  }
  return -1;
}

void sEvent::GetOptionTexts(int number, std::wstring& description, std::wstring& tooltip) const {
  if (number < 1) return;
  int n = 0;
  for (const sEventOption& option : options) {
    if (++n != number) continue;
    description = option.description;
    tooltip = option.tooltip;
    return;
  }
}
