// The events check's parts: the date range, the condition tree, the search
// for the next event to fire and the application of an option.
#pragma once

class cWorld;
struct sEvent;
struct sEventCondition;
struct sEventExpression;

// Whether the world's date lies in the event's range (bounds included).
bool IsInDateRange(const cWorld& world, const sEvent& event);
bool EvaluateCondition(cWorld& world, const sEventCondition& condition, int eventId);
bool EvaluateExpression(cWorld& world, const sEventExpression& expression, int eventId);
// One search over the world's events; the event found is copied into the
// manager's firedEvent. False when none fires.
bool FindEventToFire(cWorld& world);
// Empties the manager's messages and runs the option's effects in order;
// false (nothing run) when number is not an option's (1-based).
bool ApplyOption(cWorld& world, const sEvent& event, int number);
