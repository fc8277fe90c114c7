#include "rules/event_firing.h"

#include <iterator>

#include "app/console_log.h"
#include "app/fatal_exit.h"
#include "files/event_loader.h"
#include "rules/event_effects.h"
#include "rules/event_queries.h"
#include "world/country.h"
#include "world/event_manager.h"
#include "world/event_records.h"
#include "world/world.h"
#include "world/worker_steps.h"

bool IsInDateRange(const cWorld& world, const sEvent& event) {
  const sGameDate& date = world.GetDate();
  const sTurnsPerMonth& turns = world.TurnsPerMonth();
  const bool hasBegin = event.beginDay != kEventUnsetInt;
  const bool hasEnd = event.endDay != kEventUnsetInt;
  const bool onBegin = hasBegin && date.IsSameDay(event.beginDay, event.beginMonth, event.beginYear, turns);
  const bool onEnd = hasEnd && date.IsSameDay(event.endDay, event.endMonth, event.endYear, turns);
  const bool afterBegin = hasBegin && date.IsAfter(event.beginDay, event.beginMonth, event.beginYear, turns);
  const bool beforeEnd = hasEnd && date.IsBefore(event.endDay, event.endMonth, event.endYear, turns);
  if (!hasBegin && !hasEnd) return true;
  if (!hasEnd) return afterBegin || onBegin;
  if (!hasBegin) return beforeEnd || onEnd;
  return (afterBegin && beforeEnd) || onBegin || onEnd;
}

bool EvaluateCondition(cWorld& world, const sEventCondition& condition, int eventId) {
  if (condition.expressions.empty() && condition.children.empty()) return true;
  // An "and" node stops at the first false part, an "or" node at the first
  // true one: the part that decides is the one unlike the node's default.
  const bool isOr = condition.kind == 1;
  for (const sEventExpression& expression : condition.expressions) {
    if (EvaluateExpression(world, expression, eventId) == isOr) return isOr;
  }
  for (const sEventCondition& child : condition.children) {
    if (EvaluateCondition(world, child, eventId) == isOr) return isOr;
  }
  return !isOr;
}

bool EvaluateExpression(cWorld& world, const sEventExpression& expression, int eventId) {
  if (!ValidateExpression(expression)) {
    LogLine(L"CRITICAL: Expression was incorrect. Terminating program. See errors above.");
    FatalExit(1);
  }
  LogLine(L"Expression OK, starting resolving it...");
  const double left = EvaluateOperand(world, expression.left, eventId);
  const double right = EvaluateOperand(world, expression.right, eventId);
  const std::wstring& op = expression.operatorValue;
  if (op == L"equals") return left == right;
  if (op == L"notEquals") return left != right;
  if (op == L"greater") return left > right;
  if (op == L"less") return left < right;
  if (op == L"greaterOrEqual") return left >= right;
  if (op == L"lessOrEqual") return left <= right;
  return false;
}

bool FindEventToFire(cWorld& world, const std::unordered_set<int>& spent) {
  cEventManager& manager = world.eventManager;
  LogLine(L"NEW ITERATION FOR EVENTS...");
  for (const sEvent& event : manager.events) {
    const cCountry* country = world.GetCountry(event.countryId);
    // An event of a country that does not exist is as one of an inactive
    // country: never tested.
    if (country == nullptr || !country->active) continue;
    if (world.playByEmail && event.enableInPbem == 0 && country->pbemPlayerId > 0) continue;
    if (event.oneTimeChecking != 0 && manager.IsChecked(event.eventId)) continue;
    if (spent.count(event.eventId) > 0) continue;
    LogLine(L"Checking event %d", event.eventId);
    manager.SetChecked(event.eventId);
    if (!IsInDateRange(world, event)) {
      LogLine(L"Event %i: Current date is outside date range for event", event.eventId);
      LogLine(L"Event checked with no luck");
      continue;
    }
    if (EvaluateCondition(world, event.condition, event.eventId)) {
      LogLine(L"Condition for event with ID=%i is true. Firing...", event.eventId);
      manager.firedEvent = event;
      return true;
    }
    LogLine(L"Condition for event with ID=%i is false.", event.eventId);
    LogLine(L"Event checked with no luck");
  }
  LogLine(L"New event search iteration ended with no results");
  return false;
}

bool ApplyOption(cWorld& world, const sEvent& event, int number) {
  if (number < 1 || number > static_cast<int>(event.options.size())) return false;
  LockedStep([&world] { world.eventManager.messages.clear(); });
  auto option = event.options.begin();
  std::advance(option, number - 1);
  // Each effect takes the framework lock for itself; none stops the others.
  for (const sEventEffect& effect : option->effects) ExecuteEventEffect(world, effect, event.eventId);
  return true;
}
